// Opening a C stream on a path as the system names it (wide characters on
// Windows, so that any file name opens).
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace model3da {

// std::fopen with `mode` ("wb", "r+b", ...); null when the file cannot be
// opened.
inline std::FILE* open_file(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
  const std::wstring wide_mode(mode, mode + std::char_traits<char>::length(mode));
  return _wfopen(path.c_str(), wide_mode.c_str());
#else
  return std::fopen(path.c_str(), mode);
#endif
}

}  // namespace model3da
