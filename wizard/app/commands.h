// The sub-commands of the carwright program. Each lives in a file of its own
// and registers itself on the program's command line; main runs the one that
// was given.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>

namespace carwright {

// Exit codes of every sub-command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct Subcommand {
  CLI::App* app = nullptr;   // the sub-command's own parser
  std::function<int()> run;  // runs it after parsing; returns the exit code
};

// `carwright list [--game-folder DIR]`: prints the registry's custom cars.
Subcommand AddListCommand(CLI::App& program);

// `carwright inspect FILE`: prints the header and directory of a DEVUZA
// package or of a self-extracting program.
Subcommand AddInspectCommand(CLI::App& program);

}  // namespace carwright
