// The create operation: the car's folders, assets and scripts, in the order
// of CreateCarPlan, then the registration (shared with install).
#include <array>
#include <string>

#include "base/car_id.h"
#include "base/folder_routines.h"
#include "ops/master_scripts.h"
#include "run_context.h"

namespace wizard::detail {

namespace {

constexpr std::string_view kAssetsMissing =
    "The embedded car assets (meshes, textures, materials and skins) are not part of this "
    "build; no file was written.";

bool WriteScript(const CarFileStep& step, const CarScriptSetup& car, const std::string& folder,
                 const ProgressStep& progress) {
  switch (step.kind) {
    case CarFileKind::kCarsScript:
      return WriteGRCarsScript(car, folder, step.file_name, progress);
    case CarFileKind::kPartsScript:
      return WriteGRPartsScript(car, folder, step.file_name, progress);
    case CarFileKind::kModelScript:
      return WriteGRModelScript(car, folder, step.file_name, progress);
    case CarFileKind::kTextsScript:
      return WriteGRTextsScript(car, folder, step.file_name, progress);
    case CarFileKind::kIconsScript:
      return WriteGRIconsScript(car, folder, step.file_name, progress);
    default:
      return false;
  }
}

bool IsAsset(CarFileKind kind) {
  return kind == CarFileKind::kMesh || kind == CarFileKind::kTexture ||
         kind == CarFileKind::kMaterial || kind == CarFileKind::kSkin;
}

}  // namespace

void RegisterCar(RunContext& run, std::string_view car_id, double between) {
  using Update =
      bool (*)(std::string_view, std::string_view, const ProgressStep&, std::string* failed_file);
  static constexpr std::array<Update, 4> kRegistrations = {
      UpdateGRCarsScript, UpdateGRPartsScript, UpdateGRTextsScript, UpdateGRIconsScript};
  const ProgressStep progress = run.StepFunction();
  for (std::size_t i = 0; i < kRegistrations.size(); ++i) {
    if (i > 0) run.AddProgress(between);
    std::string failed_file;
    if (!kRegistrations[i](run.game_folder, car_id, progress, &failed_file)) {
      run.ErrorWithPath(kStrErrorCreatingFile, ShownPath(failed_file));
    }
  }
}

}  // namespace wizard::detail

namespace wizard {

RunOutcome CreateCar(const CreateCarRequest& request, RunView& view, const RunServices& services) {
  detail::RunContext run(request.setting, view, services);
  const CarScriptSetup& car = request.car;
  run.SetProgress(0);
  if (CheckCarID(car.CarID, {}) == kCarIDInvalid) {
    run.Error(CarIDMessage(kCarIDInvalid, run.language));
    return run.ErrorEnd();
  }
  if (!run.services.write_asset) {
    run.Error(detail::kAssetsMissing);
    return run.ErrorEnd();
  }

  const ProgressStep progress = run.StepFunction();
  for (const CarFileStep& step : CreateCarPlan(car)) {
    const std::string folder = run.game_folder + step.folder;
    if (step.kind == CarFileKind::kFolder) {
      if (!CreateFolder(folder)) {
        run.ErrorWithPath(kStrErrorCreatingFolder, detail::ShownPath(folder));
      }
      continue;
    }
    const bool written = detail::IsAsset(step.kind)
                             ? run.services.write_asset(car, folder, step, progress)
                             : detail::WriteScript(step, car, folder, progress);
    if (!written) {
      run.ErrorWithPath(kStrErrorCreatingFile, detail::ShownPath(folder + step.file_name));
    }
  }

  detail::RegisterCar(run, car.CarID, 0);
  run.custom_cars.push_back(car.CarID);
  return run.SuccessEnd();
}

}  // namespace wizard
