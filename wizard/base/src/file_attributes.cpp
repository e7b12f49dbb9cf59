// File attributes mapped onto permission bits.
#include "base/file_attributes.h"

#include "base/game_paths.h"

#if defined(_WIN32)
#include <windows.h>
// The header's SetFileAttributes is ours, not the API's name macro.
#undef SetFileAttributes
#else
#include <sys/stat.h>
#endif

namespace wizard {

#if defined(_WIN32)
// The attribute values are Windows' own (FILE_ATTRIBUTE_READONLY, _HIDDEN,
// _SYSTEM), so they are set as given.
bool SetFileAttributes(std::string_view path, std::uint32_t attributes) {
  const std::filesystem::path native = ResolveGamePath(path);
  const DWORD wanted = attributes & (kAttrReadOnly | kAttrHidden | kAttrSystem);
  return ::SetFileAttributesW(native.c_str(), wanted == 0 ? FILE_ATTRIBUTE_NORMAL : wanted) != 0;
}

bool IsFileReadOnly(std::string_view path) {
  const DWORD attributes = ::GetFileAttributesW(ResolveGamePath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}
#else

bool SetFileAttributes(std::string_view path, std::uint32_t attributes) {
  const std::filesystem::path native = ResolveGamePath(path);
  struct stat st {};
  if (::stat(native.c_str(), &st) != 0) return false;
  mode_t mode = st.st_mode & 07777;
  if (attributes & kAttrReadOnly) {
    mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
  } else {
    mode |= S_IWUSR;
  }
  return ::chmod(native.c_str(), mode) == 0;
}

bool IsFileReadOnly(std::string_view path) {
  const std::filesystem::path native = ResolveGamePath(path);
  struct stat st {};
  return ::stat(native.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0;
}
#endif

}  // namespace wizard
