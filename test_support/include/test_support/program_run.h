// Runs a program as a user would, without a shell in between: every argument
// reaches the program exactly as given (blanks, quotes and all), standard
// input is empty, and standard output and error are captured (on Windows
// with their CR LF line ends given back as LF).
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace gm_test {

// A program that runs longer than this is taken to wait for ever (a window
// opened, a read that blocks) and is killed, so that one test fails instead
// of the whole run hanging.
inline constexpr int kProgramTimeLimitSeconds = 120;

struct ProgramRun {
  // -1 when the program could not start or did not exit normally; 124 when it
  // ran longer than kProgramTimeLimit and was killed.
  int exit_code = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

// Changes to this process's environment for the program.
struct ProgramEnvironment {
  std::vector<std::string> unset;                           // names removed
  std::vector<std::pair<std::string, std::string>> values;  // names set (or replaced)
};

// Runs `program` with `arguments` and waits for it to end.
ProgramRun RunProgram(const std::filesystem::path& program,
                      const std::vector<std::string>& arguments,
                      const ProgramEnvironment& environment = {});

}  // namespace gm_test
