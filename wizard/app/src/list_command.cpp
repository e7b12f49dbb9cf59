// carwright list: the custom cars of the registry, one ID a line.
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "command_support.h"
#include "commands.h"

namespace carwright {

Subcommand AddListCommand(CLI::App& program) {
  CLI::App* app = program.add_subcommand(
      "list", "Print the IDs of the custom cars registered in the game folder, one a line.");
  auto game_folder = std::make_shared<std::optional<std::string>>();
  app->add_option("--game-folder", *game_folder, "The game's installation folder");

  return {app, [game_folder](wizard::Language language) {
            const std::optional<GameSetting> game = OpenGame(*game_folder, language);
            if (!game) return kExitFailed;
            for (const std::string& id : game->custom_cars) std::cout << id << '\n';
            std::cout.flush();
            return std::cout ? kExitOk : kExitFailed;
          }};
}

}  // namespace carwright
