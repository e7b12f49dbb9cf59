// carwright list: the custom cars of the registry, one ID a line.
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/custom_cars.h"
#include "base/file_routines.h"
#include "base/game_folder.h"
#include "base/game_folder_source.h"
#include "base/string_table.h"
#include "commands.h"

namespace carwright {

Subcommand AddListCommand(CLI::App& program) {
  CLI::App* app = program.add_subcommand(
      "list", "Print the IDs of the custom cars registered in the game folder, one a line.");
  auto game_folder = std::make_shared<std::optional<std::string>>();
  app->add_option("--game-folder", *game_folder, "The game's installation folder");

  return {
      app, [game_folder]() {
        const wizard::GameFolderLookup lookup =
            wizard::FindGameFolder(wizard::GameFolderSourcesFromEnvironment(*game_folder));
        if (lookup.folder.empty()) {
          std::cerr << "carwright: " << wizard::Text(wizard::kStrGameNotInstalled)
                    << " (give --game-folder DIR or set GRAVELMOOR_DIR)\n";
          return kExitFailed;
        }
        if (!wizard::CheckGameFolder(lookup.folder)) {
          std::cerr << "carwright: " << lookup.folder << ": "
                    << wizard::Text(wizard::kStrNotGameFolder) << "\n";
          return kExitFailed;
        }
        // A registry that exists but cannot be read is an error, not an empty list.
        const std::string registry = lookup.folder + std::string(wizard::kCustomCarsFileName);
        const wizard::ReadStatus status = wizard::ReadFileChecked(registry).status;
        if (status == wizard::ReadStatus::kUnreadable || status == wizard::ReadStatus::kTooLarge) {
          std::cerr << "carwright: " << registry << ": cannot read the registry of custom cars\n";
          return kExitFailed;
        }
        std::vector<std::string> custom_cars;
        wizard::LoadINI(lookup.folder, custom_cars);
        for (const std::string& id : custom_cars) std::cout << id << '\n';
        std::cout.flush();
        return std::cout ? kExitOk : kExitFailed;
      }};
}

}  // namespace carwright
