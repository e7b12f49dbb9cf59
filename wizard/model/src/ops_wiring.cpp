// The wizard model's operation launcher and package header source.
#include "model/ops_wiring.h"

#include <filesystem>

#include "devuza/package.h"
#include "model/wizard_model.h"

namespace wizard {

namespace {

// The model's view as the runner sees it.
class ModelRunView : public RunView {
 public:
  explicit ModelRunView(WizardModel& model) : model_(model) {}
  void SetProgress(double value) override { model_.View().SetProgress(value); }
  void SetActionText(std::string_view text) override { model_.View().SetActionText(text); }
  void RefreshWindow() override { model_.View().RefreshWindow(); }
  void ShowError(std::string_view text) override { model_.ShowError(text); }

 private:
  WizardModel& model_;
};

}  // namespace

void OpsOperationLauncher::Launch(WizardModel& model) {
  ModelRunView view(model);
  last_ = wizard::PerformOperation(model.State(), model.Variants(), view, model.UiTextLanguage(),
                                   services_);
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
