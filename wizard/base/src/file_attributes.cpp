// File attributes mapped onto permission bits.
#include "base/file_attributes.h"

#include <sys/stat.h>

#include "base/game_paths.h"

namespace wizard {

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

}  // namespace wizard
