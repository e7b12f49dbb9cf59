#include "package_io.h"

#include <algorithm>

namespace devuza::detail {

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
  std::wstring wide_mode(mode, mode + std::char_traits<char>::length(mode));
  return _wfopen(path.c_str(), wide_mode.c_str());
#else
  return std::fopen(path.c_str(), mode);
#endif
}

bool SeekTo(std::FILE* file, std::uint64_t offset) {
#ifdef _WIN32
  return _fseeki64(file, static_cast<__int64>(offset), SEEK_SET) == 0;
#else
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

bool FileLength(std::FILE* file, std::uint64_t& length) {
#ifdef _WIN32
  if (_fseeki64(file, 0, SEEK_END) != 0) return false;
  const __int64 end = _ftelli64(file);
#else
  if (fseeko(file, 0, SEEK_END) != 0) return false;
  const off_t end = ftello(file);
#endif
  if (end < 0) return false;
  length = static_cast<std::uint64_t>(end);
  return true;
}

bool ReadExact(std::FILE* file, void* data, std::size_t size) {
  return std::fread(data, 1, size, file) == size;
}

bool WriteAll(std::FILE* file, const void* data, std::size_t size) {
  return std::fwrite(data, 1, size, file) == size;
}

CopyResult CopyBytes(std::FILE* in, std::FILE* out, std::uint64_t count,
                     std::vector<char>& buffer) {
  if (buffer.size() < kCopyChunk) buffer.resize(kCopyChunk);
  while (count > 0) {
    const auto chunk = static_cast<std::size_t>(std::min<std::uint64_t>(count, buffer.size()));
    if (!ReadExact(in, buffer.data(), chunk)) return CopyResult::kReadFailed;
    if (!WriteAll(out, buffer.data(), chunk)) return CopyResult::kWriteFailed;
    count -= chunk;
  }
  return CopyResult::kOk;
}

void SetError(Package& package, PackageErrorCode code, std::string text) {
  package.error_code = code;
  package.error_text = std::move(text);
}

void ClearError(Package& package) {
  package.error_code = PackageErrorCode::kNone;
  package.error_text.clear();
}

void RefuseNotOpen(Package& package, std::string text) {
  if (package.error_code == PackageErrorCode::kNone) {
    SetError(package, PackageErrorCode::kNotOpen, std::move(text));
  }
}

std::string Escaped(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7F || c == '"') {
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    } else {
      out += c;
    }
  }
  return out;
}

std::string Quoted(std::string_view text) {
  return '"' + Escaped(text) + '"';
}

std::string PathText(const std::filesystem::path& path) {
  return path.string();
}

}  // namespace devuza::detail
