// The wizard model's operation launcher and package header source.
#include "model/ops_wiring.h"

#include <filesystem>

#include "devuza/package.h"
#include "model/wizard_model.h"

namespace wizard {

RunOutcome OpsOperationLauncher::Launch(const WizardState& state, const CarVariants& variants,
                                        RunView& view, Language language) {
  // The run works on a copy: the model takes what it needs from the outcome.
  WizardState run_state = state;
  last_ = PerformOperation(run_state, variants, view, language, services_);
  return last_;
}

PackageHeaderInfo DevuzaHeaderSource::ReadPackageHeader(std::string_view path) {
  devuza::Package package;
  PackageHeaderInfo info;
  info.valid = devuza::ReadPackageHeader(package, std::filesystem::path(std::string(path)),
                                         devuza::PackageMode::kReadFile);
  if (info.valid) info.car_id = devuza::PackageCarID(package);
  return info;
}

}  // namespace wizard
