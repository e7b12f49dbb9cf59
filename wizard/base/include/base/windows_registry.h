// Reading a value of the Windows registry, where the game's installer stores
// the game folder.
//
// On Windows this is the registry API. Elsewhere the registry is the hive
// files of a Wine prefix (wine_hive.h): HKEY_LOCAL_MACHINE is the prefix's
// "system.reg", HKEY_CURRENT_USER its "user.reg".
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace wizard {

enum class RegistryRoot { kLocalMachine, kCurrentUser };

// The game's installer writes the game folder here.
inline constexpr std::string_view kGameRegistryKey = "SOFTWARE\\Ferrovane\\Gravelmoor";
inline constexpr std::string_view kGameRegistryValue = "DestinationDir";

// Where RegGetValue finds the game's entry, said the way the programs' help
// ends the sentence "Without --game-folder the game folder comes from ".
#ifdef _WIN32
inline constexpr std::string_view kGameRegistrySource = "the game's entry in the Windows registry.";
#else
inline constexpr std::string_view kGameRegistrySource =
    "the game's registry entry in the Wine prefix\n($WINEPREFIX, default ~/.wine).";
#endif

// Registry values longer than this many bytes are not read (false).
inline constexpr std::size_t kMaxRegistryValueLength = 1024;

// False when `sub_key` begins or ends with a backslash or holds two
// backslashes in a row; true otherwise (the empty name included).
bool IsValidKeyName(std::string_view sub_key);

// Reads the value `value_name` of the key `sub_key` below `root`; true, and
// the value as text in `value`, when it was read. A string value is given as
// it is; a 32-bit number as its decimal text; any other type as empty text.
// False (and `value` untouched) when the sub-key name is malformed, the key
// or value is missing, or the value is longer than kMaxRegistryValueLength.
// Off Windows the hive is read from the Wine prefix `wine_prefix`.
bool RegGetValue(RegistryRoot root, std::string_view sub_key, std::string_view value_name,
                 std::string& value, const std::filesystem::path& wine_prefix);

// The same from the system's registry: on Windows through the registry API
// (RegOpenKeyExA, RegQueryValueExA, RegCloseKey), elsewhere from the Wine
// prefix of the environment (DefaultWinePrefix).
bool RegGetValue(RegistryRoot root, std::string_view sub_key, std::string_view value_name,
                 std::string& value);

// Returns the Wine prefix named by $WINEPREFIX, else "$HOME/.wine"; empty when
// neither variable is set.
std::filesystem::path DefaultWinePrefix();

}  // namespace wizard
