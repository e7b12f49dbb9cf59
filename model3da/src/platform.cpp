// Local time, computer and user names, debugger output, with their test seams.
#include "model3da/platform.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>

namespace platform {
namespace {

struct Seams {
  std::mutex lock;
  std::function<LocalTime()> local_time;
  std::function<std::string()> computer_name;
  std::function<std::string()> user_name;
  std::function<void(const char*)> debugger_output;
};

Seams& seams() {
  static Seams s;
  return s;
}

LocalTime system_local_time() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
#if defined(_WIN32)
  ::localtime_s(&parts, &now);
#else
  ::localtime_r(&now, &parts);
#endif
  return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
          parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

#if defined(_WIN32)
std::string system_computer_name() {
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof name;
  if (!::GetComputerNameA(name, &size)) return "";
  return std::string(name, size);
}

std::string system_user_name() {
  char name[257] = {};  // UNLEN + 1
  DWORD size = sizeof name;
  if (!::GetUserNameA(name, &size) || size == 0) return "";
  return std::string(name, size - 1);  // the size counts the closing NUL
}

void system_debugger_output(const char* text) {
  ::OutputDebugStringA(text);
}
#else
std::string system_computer_name() {
  char name[256] = {};
  if (::gethostname(name, sizeof(name) - 1) != 0) return "";
  return name;
}

std::string system_user_name() {
  if (const passwd* entry = ::getpwuid(::geteuid()); entry != nullptr && entry->pw_name) {
    return entry->pw_name;
  }
  const char* from_environment = std::getenv("USER");
  return from_environment != nullptr ? from_environment : "";
}

// Without a debugger to listen, the output goes to standard error.
void system_debugger_output(const char* text) {
  std::fputs(text, stderr);
  std::fflush(stderr);
}
#endif

template <typename T>
T copy_of(const T& seam) {
  std::lock_guard guard(seams().lock);
  return seam;
}

}  // namespace

LocalTime local_time() {
  const auto source = copy_of(seams().local_time);
  return source ? source() : system_local_time();
}

std::string computer_name() {
  const auto source = copy_of(seams().computer_name);
  return source ? source() : system_computer_name();
}

std::string user_name() {
  const auto source = copy_of(seams().user_name);
  return source ? source() : system_user_name();
}

void debugger_output(const char* text) {
  const auto sink = copy_of(seams().debugger_output);
  if (sink) {
    sink(text);
    return;
  }
  system_debugger_output(text);
}

void set_local_time_source(std::function<LocalTime()> source) {
  std::lock_guard guard(seams().lock);
  seams().local_time = std::move(source);
}

void set_computer_name_source(std::function<std::string()> source) {
  std::lock_guard guard(seams().lock);
  seams().computer_name = std::move(source);
}

void set_user_name_source(std::function<std::string()> source) {
  std::lock_guard guard(seams().lock);
  seams().user_name = std::move(source);
}

void set_debugger_output_sink(std::function<void(const char*)> sink) {
  std::lock_guard guard(seams().lock);
  seams().debugger_output = std::move(sink);
}

}  // namespace platform
