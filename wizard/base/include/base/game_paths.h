// Game paths: turning a game path into a path of the machine we run on.
//
// Every file of the game is named by the game folder followed by a relative
// path written with backslashes ("Data\Cars\Cars.scr"). The game was made for a
// file system that ignores case, so its files may be spelled differently on
// disk ("Data/Cars/cars.scr"). ResolveGamePath is the one place that maps such a
// path to a native one; every file and folder routine goes through it.
#pragma once

#include <filesystem>
#include <string_view>

namespace wizard {

// The separator that AddBackslash appends: '/' on POSIX systems, '\' on Windows.
#ifdef _WIN32
inline constexpr char kNativeSeparator = '\\';
#else
inline constexpr char kNativeSeparator = '/';
#endif

// True for the two characters a game path may use between components.
constexpr bool IsPathSeparator(char c) {
  return c == '\\' || c == '/';
}

// Returns the native path named by `path` (a game folder followed by a game
// path, separators '\' or '/' in any mix). Components are taken one by one
// from the left: "" (doubled separators) is skipped; a component that exists
// with exactly that spelling is taken; otherwise, on a case-sensitive file
// system, the first entry of the folder (in byte order of the names) that
// matches it without regard to ASCII case is taken; failing that, the
// component and everything after it are used as spelled (so new files and
// folders are created as spelled). "." and ".." are kept as written.
// A path starting with a separator is absolute; a trailing separator is
// dropped. Never throws: a folder that cannot be listed counts as no match.
std::filesystem::path ResolveGamePath(std::string_view path);

}  // namespace wizard
