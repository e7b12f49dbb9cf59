// Message output: the log hook and the console.
#include "model3da/message_output.h"

#include <cstdarg>
#include <mutex>

namespace fs {
namespace {

constexpr int kFormatBufferSize = 2048;

struct Outputs {
  std::mutex lock;
  std::function<void(const char*)> hook;
  std::FILE* console = nullptr;
};

Outputs& outputs() {
  static Outputs o;
  return o;
}

}  // namespace

void message_output(const char* format, ...) {
  char text[kFormatBufferSize];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof(text), format, arguments);
  va_end(arguments);

  call_log_hook(text);
  std::FILE* console = nullptr;
  {
    std::lock_guard guard(outputs().lock);
    console = outputs().console;
  }
  if (console != nullptr) {
    std::fputs(text, console);
    std::fflush(console);
  }
}

void set_log_hook(std::function<void(const char*)> hook) {
  std::lock_guard guard(outputs().lock);
  outputs().hook = std::move(hook);
}

void set_console_output(std::FILE* console) {
  std::lock_guard guard(outputs().lock);
  outputs().console = console;
}

void call_log_hook(const char* text) {
  std::function<void(const char*)> hook;
  {
    std::lock_guard guard(outputs().lock);
    hook = outputs().hook;
  }
  if (hook) hook(text);
}

}  // namespace fs
