// The crash log: name rules, start-up, line-end conversion and output.
#include "model3da/crash_log.h"

#include <fcntl.h>
#include <sys/stat.h>

#if defined(_WIN32)
#include <direct.h>
#include <io.h>
#else
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdarg>
#include <mutex>

#include "filesystem/filesystem.h"
#include "model3da/message_output.h"
#include "model3da/platform.h"

namespace fs {
namespace {

constexpr const char* kFallbackName = "crash.log";
constexpr const char* kDebugMarker = "debug.fnt";

struct CrashLog {
  std::mutex lock;
  int file = -1;
  std::string file_name;
  bool started = false;
  std::FILE* console = nullptr;
};

CrashLog& log_state() {
  static CrashLog s;
  return s;
}

// Every line reaches the disk before the next step of the program, which may
// be the crash that the log is for. Windows: binary mode (the log's line ends
// are CR LF already), not inherited, and a flush after each write.
int create_log_file(const std::string& name) {
#if defined(_WIN32)
  return ::_open(name.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT,
                 _S_IREAD | _S_IWRITE);
#else
  return ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_DSYNC | O_CLOEXEC, 0644);
#endif
}

void make_logs_folder() {
#if defined(_WIN32)
  ::_mkdir("logs");
#else
  ::mkdir("logs", 0755);
#endif
}

// Caller holds the lock.
void start(CrashLog& s) {
  std::string name = FS_exists(kDebugMarker) != 0 ? crash_log_name() : kFallbackName;
  int file = create_log_file(name);
  if (file < 0 && name != kFallbackName) {
    name = kFallbackName;
    file = create_log_file(name);
  }
  s.file = file;
  s.file_name = file >= 0 ? name : "";
  s.started = true;
}

void write_all(int file, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const auto wrote = ::write(file, text.data() + done, static_cast<unsigned>(text.size() - done));
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return;
    done += static_cast<std::size_t>(wrote);
  }
#if defined(_WIN32)
  ::_commit(file);
#endif
}

}  // namespace

std::string crash_log_convert_line_ends(std::string_view text) {
  std::string out;
  out.reserve(kCrashLogOutputCap);
  for (std::size_t i = 0; i < text.size() && out.size() < kCrashLogOutputCap; ++i) {
    if (text[i] == '\n' && i > 0 && text[i - 1] != '\r') {
      out.push_back('\r');
      if (out.size() >= kCrashLogOutputCap) break;
    }
    out.push_back(text[i]);
  }
  return out;
}

std::string crash_log_name() {
  make_logs_folder();
  const platform::LocalTime now = platform::local_time();
  char name[64];
  std::snprintf(name, sizeof(name), "logs/crash_%04d-%02d-%02d_%02d%02d.log", now.year % 10000,
                now.month % 100, now.day % 100, now.hour % 100, now.minute % 100);
  return name;
}

void crash_log_line(const char* format, ...) {
  char text[kCrashLogFormatBufferSize];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof(text), format, arguments);
  va_end(arguments);
  const std::string converted = crash_log_convert_line_ends(text);

  std::FILE* console = nullptr;
  {
    CrashLog& s = log_state();
    std::lock_guard guard(s.lock);
    if (!s.started) start(s);
    if (s.file >= 0) write_all(s.file, converted);
    console = s.console;
  }
  platform::debugger_output(converted.c_str());
  call_log_hook(converted.c_str());
  if (console != nullptr) {
    std::fputs(converted.c_str(), console);
    std::fflush(console);
  }
}

void crash_log_start_without_file() {
  CrashLog& s = log_state();
  std::lock_guard guard(s.lock);
  if (s.started) return;
  s.started = true;
  s.file = -1;
  s.file_name.clear();
}

void crash_log_set_console(std::FILE* console) {
  CrashLog& s = log_state();
  std::lock_guard guard(s.lock);
  s.console = console;
}

void crash_log_close() {
  CrashLog& s = log_state();
  std::lock_guard guard(s.lock);
  if (s.file >= 0) ::close(s.file);
  s.file = -1;
  s.file_name.clear();
  s.started = false;
}

std::string crash_log_file_name() {
  CrashLog& s = log_state();
  std::lock_guard guard(s.lock);
  return s.file_name;
}

}  // namespace fs
