// Reading values from a Wine prefix's registry hive files ("system.reg",
// "user.reg"): the stand-in for the Windows registry off Windows.
//
// A hive is text: key lines "[Software\\Ferrovane\\Gravelmoor] 1700000000"
// (backslashes of the key path doubled), then value lines
// "\"DestinationDir\"=\"C:\\\\Games\\\\Gravelmoor\\\\\"" with C-like escapes
// (\\ \" \n \r \t \0 \xHHHH), "dword:0000002a", "hex:..", "str(2):\"..\"".
// Keys and value names are matched without regard to case. Anything
// malformed is skipped or refused, never trusted.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace wizard {

// Value types as the registry numbers them.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

struct WineHiveValue {
  std::uint32_t type = 0;
  // kRegSz / kRegExpandSz: the text in UTF-8 without escapes; kRegDword: the
  // decimal text of the number; other types: empty.
  std::string text;
};

// Hive files larger than this are not read.
inline constexpr std::size_t kMaxHiveFileSize = 256u << 20;

// Finds the value `value_name` of key `key` (single backslashes, relative to
// the hive's root, e.g. "Software\Ferrovane\Gravelmoor") in the hive text.
// nullopt when the key or value is missing, the value line is malformed (a
// truncated string, an unknown or short escape, a bad number) or the value
// holds more than `max_length` bytes.
std::optional<WineHiveValue> FindWineHiveValue(std::string_view hive_text, std::string_view key,
                                               std::string_view value_name, std::size_t max_length);

// Maps a Windows path with a drive letter ("C:\Games\Gravelmoor\") to a native
// path through the prefix's "dosdevices" folder: the drive's link is resolved
// and the rest appended with '/' separators, a trailing separator kept.
// nullopt when the path has no drive letter or the prefix has no such drive.
std::optional<std::string> MapWineDrivePath(const std::filesystem::path& wine_prefix,
                                            std::string_view windows_path);

}  // namespace wizard
