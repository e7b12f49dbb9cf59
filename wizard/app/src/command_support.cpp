#include "command_support.h"

#include <iostream>

#include "base/custom_cars.h"
#include "base/file_routines.h"
#include "base/game_folder.h"
#include "base/game_folder_source.h"
#include "base/string_table.h"
#include "base/text_routines.h"
#include "commands.h"
#include "console_view.h"
#include "ops/operations.h"

namespace carwright {

void PrintError(std::string_view text) {
  std::cerr << "carwright: " << text << '\n';
}

std::optional<std::string> CheckedGameFolder(const std::optional<std::string>& option) {
  const wizard::GameFolderLookup lookup =
      wizard::FindGameFolder(wizard::GameFolderSourcesFromEnvironment(option));
  if (lookup.folder.empty()) {
    PrintError(std::string(wizard::Text(wizard::kStrGameNotInstalled)) +
               " (give --game-folder DIR or set GRAVELMOOR_DIR)");
    return std::nullopt;
  }
  if (!wizard::CheckGameFolder(lookup.folder)) {
    PrintError(lookup.folder + ": " + std::string(wizard::Text(wizard::kStrNotGameFolder)));
    return std::nullopt;
  }
  return lookup.folder;
}

bool ReadCustomCarList(const std::string& game_folder, std::vector<std::string>& cars) {
  std::string problem;
  if (wizard::LoadCustomCars(game_folder, cars, problem)) return true;
  PrintError(problem);
  return false;
}

int FindCar(const std::vector<std::string>& cars, std::string_view id) {
  for (std::size_t i = 0; i < cars.size(); ++i) {
    if (wizard::EqualsNoCase(cars[i], id)) return static_cast<int>(i);
  }
  return -1;
}

int RunAndReport(wizard::WizardState& state, const wizard::CarVariants& variants) {
  wizard::RunOutcome outcome;
  {
    ConsoleView view;
    outcome = wizard::PerformOperation(state, variants, view, wizard::UiLanguage());
  }
  if (!outcome.completed || outcome.failures > 0) {
    PrintError(std::string(wizard::Text(wizard::kStrRunError)) + " (" +
               std::to_string(outcome.failures) + (outcome.failures == 1 ? " error)" : " errors)"));
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace carwright
