#include "command_support.h"

#include <iostream>

#include "base/custom_cars.h"
#include "base/game_folder.h"
#include "base/game_folder_source.h"
#include "base/text_routines.h"
#include "commands.h"
#include "console_view.h"

namespace carwright {

void PrintError(std::string_view text) {
  std::cerr << "carwright: " << text << '\n';
}

std::optional<GameSetting> OpenGame(const std::optional<std::string>& option,
                                    wizard::Language language) {
  const wizard::GameFolderLookup lookup =
      wizard::FindGameFolder(wizard::GameFolderSourcesFromEnvironment(option));
  if (lookup.folder.empty()) {
    PrintError(std::string(wizard::StringText(wizard::kStrGameNotInstalled, language)) +
               " (give --game-folder DIR or set GRAVELMOOR_DIR)");
    return std::nullopt;
  }
  if (!wizard::CheckGameFolder(lookup.folder)) {
    PrintError(lookup.folder + ": " +
               std::string(wizard::StringText(wizard::kStrNotGameFolder, language)));
    return std::nullopt;
  }
  GameSetting game{lookup.folder, {}};
  // A registry that cannot be read whole is an error, not an empty list: a
  // run would write it over with the cars it failed to read.
  std::string problem;
  if (!wizard::LoadCustomCars(game.folder, game.custom_cars, problem)) {
    PrintError(problem);
    return std::nullopt;
  }
  return game;
}

std::optional<int> FindRegisteredCar(const GameSetting& game, std::string_view id) {
  for (std::size_t i = 0; i < game.custom_cars.size(); ++i) {
    if (wizard::EqualsNoCase(game.custom_cars[i], id)) return static_cast<int>(i);
  }
  PrintError(std::string(id) + ": not a custom car of this game (carwright list shows them)");
  return std::nullopt;
}

wizard::RunSetting SettingOf(const GameSetting& game, wizard::Language language) {
  return {game.folder, game.custom_cars, language};
}

int RunAndReport(const std::function<wizard::RunOutcome(wizard::RunView&)>& operation,
                 wizard::Language language) {
  wizard::RunOutcome outcome;
  {
    // The view finishes its progress line before the summary is printed.
    ConsoleView view;
    outcome = operation(view);
  }
  if (!outcome.completed || outcome.failures > 0) {
    PrintError(std::string(wizard::StringText(wizard::kStrRunError, language)) + " (" +
               std::to_string(outcome.failures) + (outcome.failures == 1 ? " error)" : " errors)"));
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace carwright
