// File attributes of the game's platform on a POSIX file system.
//
// Only read-only has a counterpart (no write permission bits); hidden and
// system are accepted and ignored. Paths are game paths.
#pragma once

#include <cstdint>
#include <string_view>

namespace wizard {

inline constexpr std::uint32_t kAttrNormal = 0;
inline constexpr std::uint32_t kAttrReadOnly = 1;
inline constexpr std::uint32_t kAttrHidden = 2;
inline constexpr std::uint32_t kAttrSystem = 4;

// Sets the file's attributes: with kAttrReadOnly every write permission bit is
// cleared; without it the owner's write bit is set. True when done; false when
// the file does not exist or its permissions cannot be changed.
bool SetFileAttributes(std::string_view path, std::uint32_t attributes);

// True when the file exists and its owner may not write it.
bool IsFileReadOnly(std::string_view path);

}  // namespace wizard
