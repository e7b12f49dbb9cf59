// Starting Quorvex's window: what the program does when it is given no
// options and a display is there.
#pragma once

#include "base/string_table.h"
#include "ui/display.h"

namespace quorvex::ui {

using wizard::ui::DisplayAvailable;

// Shows Quorvex's window in `language` and runs it until it is closed;
// returns the exit code.
int RunQuorvexWindow(int& argc, char** argv, wizard::Language language);

}  // namespace quorvex::ui
