// The seam between the wizard and the work it collects input for: when the
// progress page has just been shown, the wizard (WizardModel::RunOperation)
// hands its state to the launcher, which carries out the chosen operation in
// one call and gives back the outcome; the model then takes the custom-car
// list after the run and enables Finish. The launcher over the ops layer is
// OpsOperationLauncher (ops_wiring.h).
#pragma once

#include "base/string_table.h"
#include "ops/car_variants.h"
#include "ops/operations.h"
#include "ops/run_view.h"
#include "ops/wizard_state.h"

namespace wizard {

class OperationLauncher {
 public:
  virtual ~OperationLauncher() = default;

  // Carries out operation state.Task with the choices of `state` and
  // `variants`, showing progress, action text and errors on `view` in
  // `language`. Called once per run, on page 4.
  virtual RunOutcome Launch(const WizardState& state, const CarVariants& variants, RunView& view,
                            Language language) = 0;
};

}  // namespace wizard
