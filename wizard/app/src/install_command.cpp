// carwright install: a car from a DEVUZA package, extracted into the game
// folder and registered.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "base/car_id.h"
#include "base/file_routines.h"
#include "command_support.h"
#include "commands.h"
#include "ops/package_check.h"

namespace carwright {

namespace {

struct InstallOptions {
  std::optional<std::string> game_folder;
  std::string package;
  bool replace = false;
};

int RunInstall(const InstallOptions& options, wizard::Language language) {
  const std::optional<GameSetting> game = OpenGame(options.game_folder, language);
  if (!game) return kExitFailed;

  // The header read refuses a missing file, a FIFO or a device, naming it.
  const wizard::PackageCheck check = wizard::CheckPackageForInstall(
      std::filesystem::path(options.package), devuza::PackageMode::kReadFile, game->custom_cars);
  switch (check.result) {
    case wizard::PackageForInstall::kUnreadable:
      PrintError("File:" + options.package + "\n" + check.error);
      return kExitFailed;
    case wizard::PackageForInstall::kBadFolder:
      PrintError("File:" + options.package + "\nThe package's car ID \"" + check.car_id +
                 "\" cannot name a car folder");
      return kExitFailed;
    case wizard::PackageForInstall::kReplace:
      // Taken, reserved or outside the valid set: the wizard's question 117.
      if (!options.replace) {
        PrintError(check.car_id + ": " +
                   std::string(wizard::StringText(wizard::kStrReplaceCar, language)) +
                   " (give --replace to replace it)");
        return kExitFailed;
      }
      break;
    case wizard::PackageForInstall::kFree:
      break;
  }
  const wizard::InstallPackageRequest request{SettingOf(*game, language), options.package,
                                              check.car_id};
  return RunAndReport(
      [&request](wizard::RunView& view) { return wizard::InstallPackage(request, view); },
      language);
}

}  // namespace

Subcommand AddInstallCommand(CLI::App& program) {
  CLI::App* app = program.add_subcommand(
      "install",
      "Install a car from a DEVUZA package: extract it into Data/Cars/ID and register it. A "
      "package whose car ID is taken, reserved or not a valid ID is refused unless --replace is "
      "given; its files are then extracted and nothing is registered. Exit code 1 when the "
      "package is refused or cannot be installed.");
  auto options = std::make_shared<InstallOptions>();
  app->add_option("--game-folder", options->game_folder, "The game's installation folder");
  app->add_option("--package", options->package, "The .devuza package file")->required();
  app->add_flag("--replace", options->replace,
                "Extract a car whose ID is taken, reserved or invalid, without registering it");
  return {app, [options](wizard::Language language) { return RunInstall(*options, language); }};
}

}  // namespace carwright
