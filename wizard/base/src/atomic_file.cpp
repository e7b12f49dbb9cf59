// Replacing a file through a temporary file beside it.
#include "base/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <system_error>

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

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
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
  static std::minstd_rand random(static_cast<unsigned>(::getpid()) ^ std::random_device{}());
  const stdfs::path folder = target.parent_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp_path = folder / ("." + target.filename().string() + ".tmp" + std::to_string(random()));
    const int fd = ::open(temp_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

void FailNextAtomicWriteAt(AtomicWriteStep step) {
  g_fail_at = step;
}

bool ReplaceFileAtomically(const stdfs::path& requested, std::string_view bytes,
                           std::string* error) {
  const stdfs::path target = FollowLinks(requested);
  struct stat old_stat {};
  const bool existed = ::stat(target.c_str(), &old_stat) == 0;
  if (existed && !S_ISREG(old_stat.st_mode)) {
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
    if (fd >= 0) ::close(fd);
    ::unlink(temp_path.c_str());
    SetError(error, target, what, err);
    return false;
  };
  if (InjectedFailure(AtomicWriteStep::kWrite) || !WriteAll(fd, bytes)) return fail("write failed");
  if (existed) ::fchmod(fd, old_stat.st_mode & 07777);
  if (InjectedFailure(AtomicWriteStep::kFlush) || ::fsync(fd) != 0) return fail("flush failed");
  if (::close(fd) != 0) {
    const int err = errno;
    ::unlink(temp_path.c_str());
    SetError(error, target, "close failed", err);
    return false;
  }
  if (InjectedFailure(AtomicWriteStep::kRename) ||
      ::rename(temp_path.c_str(), target.c_str()) != 0) {
    const int err = errno;
    ::unlink(temp_path.c_str());
    SetError(error, target, "cannot rename the temporary file over it", err);
    return false;
  }
  // Make the rename itself durable; a failure here no longer matters.
  const stdfs::path folder = target.parent_path().empty() ? stdfs::path(".") : target.parent_path();
  const int dir_fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir_fd >= 0) {
    ::fsync(dir_fd);
    ::close(dir_fd);
  }
  return true;
}

}  // namespace wizard
