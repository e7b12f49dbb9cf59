// What the sub-commands over the operations share: the game folder found and
// checked, its registry of custom cars loaded and the car named on the
// command line found in it, and running an operation with its messages on
// standard error.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/string_table.h"
#include "ops/operations.h"

namespace carwright {

// Prints "carwright: " + `text` on standard error.
void PrintError(std::string_view text);

// A checked game folder and its custom cars, as the wizard has them when
// page 0 is left.
struct GameSetting {
  std::string folder;  // ends in a separator
  std::vector<std::string> custom_cars;
};

// The game folder from --game-folder, GRAVELMOOR_DIR or the Wine registry,
// checked with CheckGameFolder, and its registry of custom cars. Prints why
// and returns nothing when there is no folder, it is not a game installation,
// or the registry file exists but cannot be read whole.
std::optional<GameSetting> OpenGame(const std::optional<std::string>& option,
                                    wizard::Language language);

// The index of the custom car `id` in `game` (compared after upper-casing);
// prints that it is none and returns nothing when it is not registered.
std::optional<int> FindRegisteredCar(const GameSetting& game, std::string_view id);

// The run setting of `game` in `language`.
wizard::RunSetting SettingOf(const GameSetting& game, wizard::Language language);

// Runs `operation` with the console as its view, errors and progress on
// standard error; returns kExitOk when it ended successfully without any
// failure, else kExitFailed.
int RunAndReport(const std::function<wizard::RunOutcome(wizard::RunView&)>& operation,
                 wizard::Language language);

}  // namespace carwright
