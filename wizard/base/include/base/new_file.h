// Creating a file only where nothing of that name exists, so that a file of
// the user's is never opened, emptied or replaced by mistake.
#pragma once

#include <cstdio>
#include <filesystem>

namespace wizard {

// Creates the file at the native path `path` and opens it for binary
// writing; nullptr, with errno EEXIST, when an entry of that name exists
// (also a dangling link), or nullptr with the system's errno on any other
// failure. Windows' C runtime (msvcrt.dll) ignores fopen's "x" and would
// empty the existing file, so there the file is created through _wopen.
std::FILE* CreateNewFile(const std::filesystem::path& path);

}  // namespace wizard
