// The wizard model's operation launcher and package header source.
#include "model/ops_wiring.h"

#include <filesystem>

#include "devuza/package.h"
#include "model/wizard_model.h"

namespace wizard {

void OpsOperationLauncher::Launch(WizardModel& model) {
  last_ = wizard::PerformOperation(model.State(), model.Variants(), model.View(),
                                   model.UiTextLanguage(), services_);
  model.SetNavButton(NavButton::kFinish, true);
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
