// Starting Carwright's window: what the program does when it is given no
// sub-command.
#pragma once

#include "base/string_table.h"
#include "ui/display.h"

namespace wizard::ui {

// Shows the wizard in `language` and runs it until it is closed; returns the
// exit code.
int RunWizard(int& argc, char** argv, Language language);

}  // namespace wizard::ui
