// Reading, writing, searching and rewriting text files.
#include "base/file_routines.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "base/atomic_file.h"
#include "base/game_paths.h"

namespace wizard {
namespace {

constexpr std::string_view kLineBreak = "\r\n";

// True when the native file exists and its owner may not write it: the
// game's platform refuses to open such a file for writing.
bool IsReadOnlyNative(const std::filesystem::path& native) {
#if defined(_WIN32)
  const DWORD attributes = ::GetFileAttributesW(native.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
#else
  struct stat st {};
  return ::stat(native.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0;
#endif
}

}  // namespace

#if defined(_WIN32)
// Windows has no FIFOs to wait on: the file type is asked of the path, and
// the bytes read through the C runtime in binary mode.
bool FileExists(std::string_view path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(ResolveGamePath(path), ec);
}

ReadResult ReadFileChecked(std::string_view path) {
  ReadResult result;
  const std::filesystem::path native = ResolveGamePath(path);
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(native, ec);
  if (!std::filesystem::exists(status)) {
    result.status = ReadStatus::kMissing;
    return result;
  }
  if (!std::filesystem::is_regular_file(status)) {
    result.status = ReadStatus::kUnreadable;
    return result;
  }
  std::FILE* file = ::_wfopen(native.c_str(), L"rbN");
  if (file == nullptr) {
    result.status = ReadStatus::kUnreadable;
    return result;
  }
  std::string text;
  char buffer[16384];
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
    if (text.size() + got > kMaxTextFileSize) {
      std::fclose(file);
      result.status = ReadStatus::kTooLarge;
      return result;
    }
    text.append(buffer, got);
    if (got < sizeof buffer) break;
  }
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) {
    result.status = ReadStatus::kUnreadable;
    return result;
  }
  result.status = ReadStatus::kOk;
  result.text = std::move(text);
  return result;
}
#else
bool FileExists(std::string_view path) {
  const std::filesystem::path native = ResolveGamePath(path);
  // Without O_NONBLOCK, opening a FIFO would wait for a writer.
  const int fd = ::open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  ::close(fd);
  return regular;
}

ReadResult ReadFileChecked(std::string_view path) {
  ReadResult result;
  const std::filesystem::path native = ResolveGamePath(path);
  // Only a regular file is opened: opening a FIFO would wait for a writer, and
  // a device may block or never end. The name is looked at first, and what was
  // opened (without blocking, should it have been swapped meanwhile) again.
  struct stat st {};
  if (::stat(native.c_str(), &st) != 0) {
    result.status =
        (errno == ENOENT || errno == ENOTDIR) ? ReadStatus::kMissing : ReadStatus::kUnreadable;
    return result;
  }
  if (!S_ISREG(st.st_mode)) {
    result.status = ReadStatus::kUnreadable;
    return result;
  }
  const int fd = ::open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    result.status =
        (errno == ENOENT || errno == ENOTDIR) ? ReadStatus::kMissing : ReadStatus::kUnreadable;
    return result;
  }
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    result.status = ReadStatus::kUnreadable;
    return result;
  }
  if (static_cast<unsigned long long>(st.st_size) > kMaxTextFileSize) {
    ::close(fd);
    result.status = ReadStatus::kTooLarge;
    return result;
  }
  std::string text;
  char buffer[16384];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      ::close(fd);
      result.status = ReadStatus::kUnreadable;
      return result;
    }
    if (got == 0) break;
    if (text.size() + static_cast<std::size_t>(got) > kMaxTextFileSize) {
      ::close(fd);
      result.status = ReadStatus::kTooLarge;
      return result;
    }
    text.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  result.status = ReadStatus::kOk;
  result.text = std::move(text);
  return result;
}
#endif

std::string ReadTextFile(std::string_view path) {
  return ReadFileChecked(path).text;
}

bool WriteTextFile(std::string_view path, std::string_view text) {
  const std::filesystem::path native = ResolveGamePath(path);
  if (IsReadOnlyNative(native)) return false;
  std::string bytes(text);
  bytes += kLineBreak;
  return ReplaceFileAtomically(native, bytes);
}

bool ReplaceInFile(std::string_view path, std::string_view find, std::string_view replacement) {
  ReadResult read = ReadFileChecked(path);
  if (read.status != ReadStatus::kOk && read.status != ReadStatus::kMissing) return false;
  std::string& text = read.text;
  if (!find.empty()) {
    std::string replaced;
    std::size_t from = 0;
    for (std::size_t at = text.find(find); at != std::string::npos; at = text.find(find, from)) {
      replaced.append(text, from, at - from);
      replaced.append(replacement);
      from = at + find.size();
    }
    replaced.append(text, from, std::string::npos);
    text = std::move(replaced);
  }
  return WriteTextFile(path, text);
}

bool FileContains(std::string_view path, std::string_view text) {
  const ReadResult read = ReadFileChecked(path);
  return read.status == ReadStatus::kOk && read.text.find(text) != std::string::npos;
}

namespace {

// AppendText, with a line break first when `own_line` is set and the file
// ends inside a line.
bool Append(std::string_view path, std::string_view bytes, bool own_line) {
  ReadResult read = ReadFileChecked(path);
  if (read.status != ReadStatus::kOk && read.status != ReadStatus::kMissing) return false;
  const std::filesystem::path native = ResolveGamePath(path);
  if (IsReadOnlyNative(native)) return false;
  if (own_line && !read.text.empty() && read.text.back() != '\n') read.text.append(kLineBreak);
  read.text.append(bytes);
  return ReplaceFileAtomically(native, read.text);
}

std::string JoinLines(std::span<const std::string> lines) {
  std::string bytes;
  for (const std::string& line : lines) {
    bytes += line;
    bytes += kLineBreak;
  }
  return bytes;
}

}  // namespace

bool AppendText(std::string_view path, std::string_view bytes) {
  return Append(path, bytes, false);
}

bool AppendTextLines(std::string_view path, std::span<const std::string> lines) {
  return Append(path, JoinLines(lines), false);
}

bool AppendTextLinesOnOwnLine(std::string_view path, std::span<const std::string> lines) {
  return Append(path, JoinLines(lines), true);
}

}  // namespace wizard
