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

int RunDelete(const DeleteOptions& options, wizard::Language language) {
  const std::optional<GameSetting> game = OpenGame(options.game_folder, language);
  if (!game) return kExitFailed;
  const std::optional<int> index = FindRegisteredCar(*game, options.id);
  if (!index) return kExitFailed;
  const wizard::DeleteCarRequest request{SettingOf(*game, language), *index};
  const std::string car_folder = game->folder + std::string(wizard::kCarsFolder) +
                                 game->custom_cars[static_cast<std::size_t>(*index)];
  const int code = RunAndReport(
      [&request](wizard::RunView& view) { return wizard::DeleteCar(request, view); }, language);
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
  return {app, [options](wizard::Language language) { return RunDelete(*options, language); }};
}

}  // namespace carwright
