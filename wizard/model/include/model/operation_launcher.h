// The seam between the wizard and the work it collects input for: when the
// progress page has just been shown, the wizard (WizardModel::RunOperation)
// hands itself to the launcher, which carries out the chosen operation in one
// call. The launcher over the ops layer is OpsOperationLauncher (ops_wiring.h).
#pragma once

namespace wizard {

class WizardModel;

class OperationLauncher {
 public:
  virtual ~OperationLauncher() = default;

  // Carries out the operation of `model` (its Task and the state collected on
  // the pages), showing progress, action text and errors through the model's
  // view, and finally enables Finish (WizardModel::SetNavButton). Called once
  // per run, on page 4.
  virtual void Launch(WizardModel& model) = 0;
};

}  // namespace wizard
