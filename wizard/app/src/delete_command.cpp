// carwright delete: removes a custom car from the game and from the registry.
#include <memory>
#include <optional>
#include <string>

#include "base/custom_cars.h"
#include "base/folder_routines.h"
#include "command_support.h"
#include "commands.h"

namespace carwright {

namespace {

struct DeleteOptions {
  std::optional<std::string> game_folder;
  std::string id;
};

int RunDelete(const DeleteOptions& options) {
  const std::optional<std::string> game_folder = CheckedGameFolder(options.game_folder);
  if (!game_folder) return kExitFailed;
  wizard::WizardState state;
  state.Task = wizard::kTaskDeleteCar;
  state.GameFolder = *game_folder;
  if (!ReadCustomCarList(state.GameFolder, state.CustomCars)) return kExitFailed;
  state.SelectedCar = FindCar(state.CustomCars, options.id);
  if (state.SelectedCar < 0) {
    PrintError(options.id + ": not a custom car of this game (carwright list shows them)");
    return kExitFailed;
  }
  const std::string car_folder = state.GameFolder + std::string(wizard::kCarsFolder) +
                                 state.CustomCars[static_cast<std::size_t>(state.SelectedCar)];
  const int code = RunAndReport(state, wizard::CarVariants{});
  // The wizard does not examine the removal; here a folder left behind is
  // reported.
  if (code == kExitOk && wizard::FolderExists(car_folder)) {
    PrintError(car_folder + ": the car's folder could not be removed completely");
    return kExitFailed;
  }
  return code;
}

}  // namespace

Subcommand AddDeleteCommand(CLI::App& program) {
  CLI::App* app = program.add_subcommand(
      "delete",
      "Delete a custom car: its lines in the game's master scripts, its folder and its entry "
      "in Carwright.ini. Exit code 1 when the car is not registered, is one of the game's own "
      "cars, or not all of it could be "
      "removed.");
  auto options = std::make_shared<DeleteOptions>();
  app->add_option("--game-folder", options->game_folder, "The game's installation folder");
  app->add_option("--id", options->id, "The custom car's ID")->required();
  return {app, [options]() { return RunDelete(*options); }};
}

}  // namespace carwright
