// carwright pack: a registered custom car as one DEVUZA package file.
#include <memory>
#include <optional>
#include <string>

#include "command_support.h"
#include "commands.h"

namespace carwright {

namespace {

struct PackOptions {
  std::optional<std::string> game_folder;
  std::string id;
  std::string output;
  bool sfx = false;
};

int RunPack(const PackOptions& options, wizard::Language language) {
  const std::optional<GameSetting> game = OpenGame(options.game_folder, language);
  if (!game) return kExitFailed;
  const std::optional<int> index = FindRegisteredCar(*game, options.id);
  if (!index) return kExitFailed;
  const wizard::PackCarRequest request{SettingOf(*game, language),
                                       game->custom_cars[static_cast<std::size_t>(*index)],
                                       options.output, options.sfx};
  return RunAndReport([&request](wizard::RunView& view) { return wizard::PackCar(request, view); },
                      language);
}

}  // namespace

Subcommand AddPackCommand(CLI::App& program) {
  CLI::App* app = program.add_subcommand(
      "pack",
      "Pack a registered custom car (every file below Data/Cars/ID) into a DEVUZA package. "
      "With --sfx the file named by --output becomes a self-extracting program instead (the "
      "extractor Quorvex followed by the package; run it to install the car): the plain package "
      "is written beside it under a new temporary name and removed, and nothing is left on "
      "failure. Exit code 1 when the car is not registered or is one of the game's own cars, or "
      "the package could not be written.");
  auto options = std::make_shared<PackOptions>();
  app->add_option("--game-folder", options->game_folder, "The game's installation folder");
  app->add_option("--id", options->id, "The custom car's ID")->required();
  app->add_option("--output", options->output, "The package file to write (replaced)")->required();
  app->add_flag("--sfx", options->sfx,
                "Write a self-extracting program under the --output name (executable; the name "
                "is kept as given, e.g. AB1.exe)");
  return {app, [options](wizard::Language language) { return RunPack(*options, language); }};
}

}  // namespace carwright
