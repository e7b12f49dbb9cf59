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
#include "devuza/package.h"

namespace carwright {

namespace {

constexpr std::uint16_t kStrReplaceCar = 117;

struct InstallOptions {
  std::optional<std::string> game_folder;
  std::string package;
  bool replace = false;
};

int RunInstall(const InstallOptions& options) {
  const std::optional<std::string> game_folder = CheckedGameFolder(options.game_folder);
  if (!game_folder) return kExitFailed;
  wizard::WizardState state;
  state.Task = wizard::kTaskExtractPackage;
  state.GameFolder = *game_folder;
  state.DEVUZA_FileName = options.package;
  if (!ReadCustomCarList(state.GameFolder, state.CustomCars)) return kExitFailed;

  // The header read refuses a missing file, a FIFO or a device, naming it.
  devuza::Package header;
  if (!devuza::ReadPackageHeader(header, std::filesystem::path(options.package),
                                 devuza::PackageMode::kReadFile)) {
    PrintError("File:" + options.package + "\n" + devuza::LastPackageError(header));
    return kExitFailed;
  }
  state.CarID = devuza::PackageCarID(header);
  if (!wizard::IsCarFolderID(state.CarID)) {
    PrintError("File:" + options.package + "\nThe package's car ID \"" + state.CarID +
               "\" cannot name a car folder");
    return kExitFailed;
  }
  // Taken, reserved or outside the valid set: the wizard's question 117.
  if (wizard::CheckCarID(state.CarID, state.CustomCars) != wizard::kCarIDValid &&
      !options.replace) {
    PrintError(state.CarID + ": " + std::string(wizard::Text(kStrReplaceCar)) +
               " (give --replace to replace it)");
    return kExitFailed;
  }
  return RunAndReport(state, wizard::CarVariants{});
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
  return {app, [options]() { return RunInstall(*options); }};
}

}  // namespace carwright
