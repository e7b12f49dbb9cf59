// The display test of the window programs.
#include "ui/display.h"

#include <cstdlib>

namespace wizard::ui {

namespace {

[[maybe_unused]] bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != '\0';
}

}  // namespace

bool DisplayAvailable() {
#if defined(_WIN32) || defined(__APPLE__)
  return true;
#else
  return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM");
#endif
}

}  // namespace wizard::ui
