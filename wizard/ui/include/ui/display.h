// Whether a window can be shown at all: the test the window programs make
// before they open one.
#pragma once

namespace wizard::ui {

// True when a window can be shown: a display (X11 or Wayland) or a Qt
// platform chosen through QT_QPA_PLATFORM. Windows and macOS always have one.
bool DisplayAvailable();

}  // namespace wizard::ui
