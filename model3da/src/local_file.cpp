// Plain local files: length from the attributes and whole-file reads.
#include "model3da/local_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace fs {
namespace {

#if defined(_WIN32)
// Binary mode, not inherited; Windows has no FIFOs that would block the open.
constexpr int kReadFlags = O_RDONLY | _O_BINARY | _O_NOINHERIT;
#else
// Without O_NONBLOCK, opening a FIFO would wait for a writer.
constexpr int kReadFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;
#endif

}  // namespace

std::uint64_t local_file_length(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || info.st_size < 0) return 0;
  return static_cast<std::uint64_t>(info.st_size);
}

std::optional<std::vector<char>> read_whole_local_file(const std::string& path,
                                                       std::uint64_t max_size) {
  const int file = ::open(path.c_str(), kReadFlags);
  if (file < 0) return std::nullopt;
  struct stat info {};
  if (::fstat(file, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0 ||
      static_cast<std::uint64_t>(info.st_size) > max_size) {
    ::close(file);
    return std::nullopt;
  }
  std::vector<char> block(static_cast<std::size_t>(info.st_size));
  decltype(::read(file, block.data(), 0)) got = 0;
  do {
    got = ::read(file, block.data(), block.size());
  } while (got < 0 && errno == EINTR);
  ::close(file);
  if (got < 0 || static_cast<std::size_t>(got) < block.size()) return std::nullopt;
  return block;
}

}  // namespace fs
