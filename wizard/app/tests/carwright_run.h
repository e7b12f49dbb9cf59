// Runs the carwright program as a user runs it on a terminal, with no game
// folder in its environment (no GRAVELMOOR_DIR, a Wine prefix that does not
// exist) and no display, so that a run without a sub-command never opens the
// wizard's window.
#pragma once

#include <string>
#include <vector>

#include "test_support/program_run.h"
#include "test_support/scratch_folder.h"

namespace wizard_test {

inline gm_test::ProgramRun RunCarwright(const gm_test::ScratchFolder& tmp,
                                        const std::vector<std::string>& arguments) {
  gm_test::ProgramEnvironment environment;
  environment.unset = {"GRAVELMOOR_DIR", "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
  environment.values = {{"WINEPREFIX", (tmp / "nowine").string()}};
  return gm_test::RunProgram(CARWRIGHT_PATH, arguments, environment);
}

}  // namespace wizard_test
