// What the sub-commands over the operation runner share: finding and checking
// the game folder, loading the registry of custom cars, and running an
// operation with its messages on standard error.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/wizard_model.h"
#include "ops/car_variants.h"

namespace carwright {

// Prints "carwright: " + `text` on standard error.
void PrintError(std::string_view text);

// Returns the game folder from --game-folder, GRAVELMOOR_DIR or the Wine
// registry, checked with CheckGameFolder; prints why and returns nothing
// when there is none or it is not a game installation.
std::optional<std::string> CheckedGameFolder(const std::optional<std::string>& option);

// Loads the registry of custom cars of `game_folder` into `cars`, as the
// wizard does when page 0 is left; prints and returns false when the registry
// file exists but cannot be read or gives a count beyond what it can hold.
bool ReadCustomCarList(const std::string& game_folder, std::vector<std::string>& cars);

// The index of `id` in `cars` (compared after upper-casing), or -1.
int FindCar(const std::vector<std::string>& cars, std::string_view id);

// Runs the operation of `state` with the program's writers, errors and
// progress on standard error; returns kExitOk when it ended successfully
// without any failure, else kExitFailed.
int RunAndReport(wizard::WizardState& state, const wizard::CarVariants& variants);

}  // namespace carwright
