// Replacing a file through a temporary file beside it.
#include "base/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace wizard {
namespace {

namespace stdfs = std::filesystem;

AtomicWriteStep g_fail_at = AtomicWriteStep::kNone;

// True when the test seam asks this step to fail; the request is used up.
bool InjectedFailure(AtomicWriteStep step) {
  if (g_fail_at != step) return false;
  g_fail_at = AtomicWriteStep::kNone;
  errno = EIO;
  return true;
}

void SetError(std::string* error, const stdfs::path& target, const char* what, int err) {
  if (error) *error = target.string() + ": " + what + ": " + std::strerror(err);
}

// Follows symbolic links to the file they finally name (a bounded number of
// hops, so a link cycle ends).
stdfs::path FollowLinks(stdfs::path target) {
  std::error_code ec;
  for (int hop = 0; hop < 40 && stdfs::is_symlink(stdfs::symlink_status(target, ec)); ++hop) {
    stdfs::path next = stdfs::read_symlink(target, ec);
    if (ec) break;
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  return target;
}

#if defined(_WIN32)
// The C runtime's descriptors, opened in binary mode and not inherited by
// child processes; Windows replaces a file by a rename only when asked to.
int OpenNewFile(const stdfs::path& path) {
  return ::_wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                  _S_IREAD | _S_IWRITE);
}
int ProcessId() {
  return ::_getpid();
}
int WriteSome(int fd, const char* data, std::size_t size) {
  const unsigned chunk = size > 0x40000000u ? 0x40000000u : static_cast<unsigned>(size);
  return ::_write(fd, data, chunk);
}
int FlushToDisk(int fd) {
  return ::_commit(fd);
}
int CloseFile(int fd) {
  return ::_close(fd);
}
void RemoveFile(const stdfs::path& path) {
  ::_wunlink(path.c_str());
}
bool RenameOver(const stdfs::path& from, const stdfs::path& to) {
  if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  errno = ::GetLastError() == ERROR_ACCESS_DENIED ? EACCES : EIO;
  return false;
}
#else
int OpenNewFile(const stdfs::path& path) {
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
int ProcessId() {
  return static_cast<int>(::getpid());
}
ssize_t WriteSome(int fd, const char* data, std::size_t size) {
  return ::write(fd, data, size);
}
int FlushToDisk(int fd) {
  return ::fsync(fd);
}
int CloseFile(int fd) {
  return ::close(fd);
}
void RemoveFile(const stdfs::path& path) {
  ::unlink(path.c_str());
}
bool RenameOver(const stdfs::path& from, const stdfs::path& to) {
  return ::rename(from.c_str(), to.c_str()) == 0;
}
#endif

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const auto written = WriteSome(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Creates a new, empty temporary file beside `target`; -1 on failure.
int CreateTempBeside(const stdfs::path& target, stdfs::path& temp_path) {
  static std::minstd_rand random(static_cast<unsigned>(ProcessId()) ^ std::random_device{}());
  const stdfs::path folder = target.parent_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp_path = folder / ("." + target.filename().string() + ".tmp" + std::to_string(random()));
    const int fd = OpenNewFile(temp_path);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// The permission bits of an existing regular file; false when there is
// none, and `not_regular` set when something else has the name.
bool ExistingMode(const stdfs::path& target, unsigned& mode, bool& not_regular) {
#if defined(_WIN32)
  std::error_code ec;
  const stdfs::file_status status = stdfs::status(target, ec);
  if (!stdfs::exists(status)) return false;
  not_regular = !stdfs::is_regular_file(status);
  mode = static_cast<unsigned>(status.permissions() & stdfs::perms::mask);
  return true;
#else
  struct stat old_stat {};
  if (::stat(target.c_str(), &old_stat) != 0) return false;
  not_regular = !S_ISREG(old_stat.st_mode);
  mode = old_stat.st_mode & 07777;
  return true;
#endif
}

// Gives the new file the old one's permission bits (Windows keeps only the
// read-only attribute, which a replaced file never has).
void KeepMode([[maybe_unused]] int fd, [[maybe_unused]] unsigned mode) {
#if !defined(_WIN32)
  ::fchmod(fd, static_cast<mode_t>(mode));
#endif
}

// Makes the rename itself durable; a failure here no longer matters. Windows
// wrote the rename through already.
void FlushFolder([[maybe_unused]] const stdfs::path& target) {
#if !defined(_WIN32)
  const stdfs::path folder = target.parent_path().empty() ? stdfs::path(".") : target.parent_path();
  const int dir_fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir_fd >= 0) {
    ::fsync(dir_fd);
    ::close(dir_fd);
  }
#endif
}

}  // namespace

void FailNextAtomicWriteAt(AtomicWriteStep step) {
  g_fail_at = step;
}

bool ReplaceFileAtomically(const stdfs::path& requested, std::string_view bytes,
                           std::string* error) {
  const stdfs::path target = FollowLinks(requested);
  unsigned old_mode = 0;
  bool not_regular = false;
  const bool existed = ExistingMode(target, old_mode, not_regular);
  if (existed && not_regular) {
    SetError(error, target, "not a regular file", EISDIR);
    return false;
  }

  stdfs::path temp_path;
  const int fd =
      InjectedFailure(AtomicWriteStep::kCreate) ? -1 : CreateTempBeside(target, temp_path);
  if (fd < 0) {
    SetError(error, target, "cannot create a temporary file beside it", errno);
    return false;
  }
  const auto fail = [&](const char* what) {
    const int err = errno;
    if (fd >= 0) CloseFile(fd);
    RemoveFile(temp_path);
    SetError(error, target, what, err);
    return false;
  };
  if (InjectedFailure(AtomicWriteStep::kWrite) || !WriteAll(fd, bytes)) return fail("write failed");
  if (existed) KeepMode(fd, old_mode);
  if (InjectedFailure(AtomicWriteStep::kFlush) || FlushToDisk(fd) != 0) return fail("flush failed");
  if (CloseFile(fd) != 0) {
    const int err = errno;
    RemoveFile(temp_path);
    SetError(error, target, "close failed", err);
    return false;
  }
  if (InjectedFailure(AtomicWriteStep::kRename) || !RenameOver(temp_path, target)) {
    const int err = errno;
    RemoveFile(temp_path);
    SetError(error, target, "cannot rename the temporary file over it", err);
    return false;
  }
  FlushFolder(target);
  return true;
}

}  // namespace wizard
