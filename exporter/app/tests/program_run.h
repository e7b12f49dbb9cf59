// Runs a program with arguments in a folder and collects its exit code,
// standard output and standard error.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace scenepress_app::testing {

struct ProgramRun {
  int exit_code = -1;
  std::string out;
  std::string err;
};

ProgramRun run_program(const std::string& program, const std::vector<std::string>& arguments,
                       const std::filesystem::path& folder);

}  // namespace scenepress_app::testing
