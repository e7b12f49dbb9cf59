// Starting Carwright's window: what the program does when it is given no
// sub-command.
#pragma once

#include "base/string_table.h"

namespace wizard::ui {

// True when a window can be shown: a display (X11 or Wayland) or a Qt
// platform chosen through QT_QPA_PLATFORM. Windows and macOS always have one.
bool DisplayAvailable();

// Shows the wizard in `language` and runs it until it is closed; returns the
// exit code.
int RunWizard(int& argc, char** argv, Language language);

}  // namespace wizard::ui
