#include "package_io.h"

#ifdef _WIN32
#include <process.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "base/new_file.h"

namespace devuza::detail {

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
  if (std::strchr(mode, 'x') != nullptr) return wizard::CreateNewFile(path);
#ifdef _WIN32
  std::wstring wide_mode(mode, mode + std::char_traits<char>::length(mode));
  return _wfopen(path.c_str(), wide_mode.c_str());
#else
  return std::fopen(path.c_str(), mode);
#endif
}

namespace {

std::string NotRegularText(std::filesystem::file_type type) {
  using Type = std::filesystem::file_type;
  switch (type) {
    case Type::fifo:
      return "is a FIFO (named pipe), not a regular file";
    case Type::character:
    case Type::block:
      return "is a device, not a regular file";
    case Type::directory:
      return "is a folder, not a regular file";
    case Type::socket:
      return "is a socket, not a regular file";
    default:
      return "is not a regular file";
  }
}

}  // namespace

#ifdef _WIN32
std::FILE* OpenRegularFile(const std::filesystem::path& path, std::string& problem) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(path, ec);
  if (ec) {
    problem = "cannot be opened: " + ec.message();
    return nullptr;
  }
  if (!std::filesystem::is_regular_file(status)) {
    problem = NotRegularText(status.type());
    return nullptr;
  }
  std::FILE* file = OpenFile(path, "rb");
  if (!file) problem = "cannot be opened";
  return file;
}
#else
std::FILE* OpenRegularFile(const std::filesystem::path& path, std::string& problem) {
  // Opening without waiting: a FIFO without a writer would block an ordinary
  // open for ever. The type is then told from the open descriptor, so the
  // path cannot be swapped between the check and the reads.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    problem = std::string("cannot be opened: ") + std::strerror(errno);
    return nullptr;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    using Type = std::filesystem::file_type;
    Type type = Type::unknown;
    if (S_ISFIFO(st.st_mode)) type = Type::fifo;
    if (S_ISCHR(st.st_mode)) type = Type::character;
    if (S_ISBLK(st.st_mode)) type = Type::block;
    if (S_ISDIR(st.st_mode)) type = Type::directory;
    if (S_ISSOCK(st.st_mode)) type = Type::socket;
    problem = NotRegularText(type);
    ::close(fd);
    return nullptr;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    problem = std::string("cannot be opened: ") + std::strerror(errno);
    ::close(fd);
    return nullptr;
  }
  std::FILE* file = ::fdopen(fd, "rb");
  if (!file) {
    problem = std::string("cannot be opened: ") + std::strerror(errno);
    ::close(fd);
  }
  return file;
}
#endif

std::FILE* CreateUniqueFile(const std::filesystem::path& dir, std::filesystem::path& created) {
  // Names already taken (by a user's file or by another extraction running at
  // the same time) are skipped; any other failure ends the search.
  constexpr int kAttempts = 1000;
  static std::atomic<unsigned> counter{0};
#ifdef _WIN32
  const long process = _getpid();
#else
  const long process = ::getpid();
#endif
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const std::string name =
        ".devuza-" + std::to_string(process) + "-" + std::to_string(counter.fetch_add(1)) + ".part";
    std::filesystem::path path = dir.empty() ? std::filesystem::path(name) : dir / name;
    errno = 0;
    if (std::FILE* file = OpenFile(path, "wbx")) {
      created = std::move(path);
      return file;
    }
    if (errno != EEXIST) return nullptr;
  }
  return nullptr;
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

std::filesystem::path PathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8FileName(const std::filesystem::path& path) {
  const std::u8string name = path.filename().u8string();
  return std::string(name.begin(), name.end());
}

}  // namespace devuza::detail
