// The seam between the wizard and the work it collects input for: when the
// progress page has just been shown, the wizard hands itself to the runner,
// which carries out the chosen operation in one call.
#pragma once

namespace wizard {

class WizardModel;

class OperationRunner {
 public:
  virtual ~OperationRunner() = default;

  // Carries out the operation of `model` (its Task and the state collected on
  // the pages), showing progress, action text and errors through the model's
  // view, and finally enables Finish (WizardModel::SetNavButton). Called once
  // per run, on page 4.
  virtual void RunOperation(WizardModel& model) = 0;
};

}  // namespace wizard
