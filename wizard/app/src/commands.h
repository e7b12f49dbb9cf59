// The sub-commands of the carwright program. Each lives in a file of its own
// and registers itself on the program's command line; main runs the one that
// was given.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>

#include "base/string_table.h"

namespace carwright {

// Exit codes of every sub-command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct Subcommand {
  CLI::App* app = nullptr;  // the sub-command's own parser
  // Runs it after parsing, with messages in the given language; returns the
  // exit code.
  std::function<int(wizard::Language)> run;
};

// `carwright list [--game-folder DIR]`: prints the registry's custom cars.
Subcommand AddListCommand(CLI::App& program);

// `carwright inspect FILE`: prints the header and directory of a DEVUZA
// package or of a self-extracting program.
Subcommand AddInspectCommand(CLI::App& program);

// The operations of the wizard, run by the same runner: `carwright create`,
// `delete`, `pack` and `install` (see each command's --help).
Subcommand AddCreateCommand(CLI::App& program);
Subcommand AddDeleteCommand(CLI::App& program);
Subcommand AddPackCommand(CLI::App& program);
Subcommand AddInstallCommand(CLI::App& program);

}  // namespace carwright
