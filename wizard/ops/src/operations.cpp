// The operation runner: the dispatch by operation, the ends of a run, the
// delete operation.
#include "ops/operations.h"

#include <algorithm>

#include "base/car_id.h"
#include "base/custom_cars.h"
#include "base/game_paths.h"
#include "base/resource_store.h"
#include "run_context.h"

namespace wizard {

namespace detail {

namespace {

constexpr std::string_view kRegistrationLineKept =
    "The car's line could not be removed from this master script, so the car was not deleted. "
    "Make the file readable and writable, then delete the car again:";

}  // namespace

void RunContext::SetProgress(double value) {
  progress_ = std::clamp(value, 0.0, kProgressMax);
  view.SetProgress(progress_);
}

void RunContext::Step(std::string_view file_name) {
  SetProgress(progress_ + 1);
  view.SetActionText(CreatingFileStatus(file_name, language));
}

void RunContext::Error(std::string_view text) {
  ++failures_;
  view.ShowErrorBox(Text(kStrError), text);
}

void RunContext::ErrorWithPath(std::uint16_t id, std::string_view path) {
  std::string text(Text(id));
  text += '\n';
  text += path;
  Error(text);
}

void RunContext::PackageError(std::string_view path, std::string_view detail) {
  std::string text = "File:";
  text += path;
  text += '\n';
  text += detail;
  Error(text);
}

RunOutcome RunContext::SuccessEnd() {
  view.SetActionText(Text(kStrSuccess));
  SetProgress(kProgressMax);
  // The registry is replaced atomically: a failure leaves the old file.
  if (!WriteINI(game_folder, custom_cars)) {
    ErrorWithPath(kStrErrorCreatingFile, ShownPath(game_folder + std::string(kCustomCarsFileName)));
  }
  return {true, failures_, custom_cars};
}

RunOutcome RunContext::ErrorEnd() {
  view.SetActionText(Text(kStrRunError));
  return {false, failures_, custom_cars};
}

std::string ReservedIDText(const RunContext& run, std::string_view id) {
  return std::string(id) + ": " + std::string(run.Text(kCarIDReserved));
}

std::string ShownPath(std::string_view game_path) {
  return ResolveGamePath(game_path).string();
}

}  // namespace detail

std::optional<std::span<const unsigned char>> EmbeddedExtractor() {
  return FindEmbeddedResource("DEVUZA", "EXTRACT");
}

RunServices DefaultRunServices() {
  RunServices services;
  services.write_asset = EmbeddedAssetWriter();
  services.extractor = EmbeddedExtractor;
  return services;
}

CarScriptSetup CarSetupFromState(const WizardState& state, const CarVariants& variants) {
  CarScriptSetup car;
  car.CarID = state.CarID;
  car.CarPaintingsCount = state.CarPaintingsCount;
  car.CarParts = static_cast<std::uint16_t>(state.CarParts);
  car.CarAnimParts = static_cast<std::uint16_t>(state.CarAnimParts);
  car.CarWheels = static_cast<std::uint16_t>(state.CarWheels);
  car.CarDefaultWheels = static_cast<std::uint16_t>(state.CarDefaultWheels);
  car.Variants = variants;
  return car;
}

RunOutcome DeleteCar(const DeleteCarRequest& request, RunView& view) {
  const RunServices services;
  detail::RunContext run(request.setting, view, services);
  run.view.RefreshWindow();
  run.view.SetActionText(run.Text(kStrRemovingCar));
  std::vector<std::string>& cars = run.custom_cars;
  if (request.index < 0 || static_cast<std::size_t>(request.index) >= cars.size()) {
    return run.ErrorEnd();
  }
  const auto index = static_cast<std::size_t>(request.index);
  const std::string car = cars[index];
  // A registry naming one of the game's own cars was not written by the
  // wizard: nothing of that car is touched.
  if (IsReservedCarID(car)) {
    run.Error(detail::ReservedIDText(run, car));
    return run.ErrorEnd();
  }
  // GRDeleteCar refuses an entry that names no car folder; the entry then
  // leaves the registry. A line that could not be removed keeps the whole
  // car, entry included, so that the delete can be done again.
  const CarRemoval removal = GRDeleteCar(run.game_folder, car);
  if (!removal.lines_kept_in.empty()) {
    for (const std::string& script : removal.lines_kept_in) {
      run.Error(std::string(detail::kRegistrationLineKept) + "\n" + detail::ShownPath(script));
    }
    return run.ErrorEnd();
  }
  cars.erase(cars.begin() + static_cast<std::ptrdiff_t>(index));
  return run.SuccessEnd();
}

RunOutcome PerformOperation(WizardState& state, const CarVariants& variants, RunView& view,
                            Language language, const RunServices& services) {
  const RunSetting setting{state.GameFolder, state.CustomCars, language};
  RunOutcome outcome;
  switch (state.Task) {
    case kTaskCreateCar:
      outcome = CreateCar({setting, CarSetupFromState(state, variants)}, view, services);
      break;
    case kTaskDeleteCar:
      outcome = DeleteCar({setting, state.SelectedCar}, view);
      break;
    case kTaskCreatePackage:
      outcome = PackCar({setting, state.DEVUZA_CarID, state.DEVUZA_FileName, state.MakeSFX}, view,
                        services);
      break;
    case kTaskExtractPackage:
      outcome = InstallPackage({setting, state.DEVUZA_FileName, state.CarID}, view);
      break;
    default: {
      detail::RunContext run(setting, view, services);
      return run.ErrorEnd();
    }
  }
  state.CustomCars = outcome.custom_cars;
  return outcome;
}

}  // namespace wizard
