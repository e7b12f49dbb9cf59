// Where the game folder comes from.
//
// On Windows: the registry value "DestinationDir" of the game's key. Elsewhere,
// the first of: the --game-folder option, the environment variable
// GRAVELMOOR_DIR, the same registry value in a Wine prefix's "system.reg"
// (its drive letter mapped through the prefix's "dosdevices"). A folder the
// user typed (option or variable) gets its trailing separator appended, as a
// picked folder does; a registry value is used as stored, so a stored folder
// without its trailing separator fails CheckGameFolder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace wizard {

inline constexpr const char* kGameFolderVariable = "GRAVELMOOR_DIR";

enum class GameFolderOrigin { kNone, kOption, kEnvironment, kRegistry };

// What the sources hold; tests fill it directly.
struct GameFolderSources {
  std::optional<std::string> option;       // --game-folder, when given
  std::optional<std::string> environment;  // GRAVELMOOR_DIR, when set and not empty
  std::filesystem::path wine_prefix;       // empty: no Wine prefix is searched
  bool system_registry = false;            // Windows: the registry API is asked
};

struct GameFolderLookup {
  std::string folder;  // empty when no source gave a folder
  GameFolderOrigin origin = GameFolderOrigin::kNone;
};

// Returns the sources of this process: `option` as given, GRAVELMOOR_DIR, and
// on Windows the system's registry, elsewhere DefaultWinePrefix().
GameFolderSources GameFolderSourcesFromEnvironment(std::optional<std::string> option);

// Returns the game folder from the first source that has one (see above). It
// is not checked: call CheckGameFolder. Never throws; a malformed hive gives
// no folder.
GameFolderLookup FindGameFolder(const GameFolderSources& sources);

}  // namespace wizard
