// carwright: Carwright's command line, and its window when no sub-command is
// given.
#include <iostream>
#include <vector>

#include "base/string_table.h"
#include "base/windows_registry.h"
#include "commands.h"

#ifdef CARWRIGHT_WITH_WINDOW
#include "ui/run_wizard.h"
#endif

namespace {

#ifdef CARWRIGHT_WITH_WINDOW
constexpr const char* kNoWindow =
    "carwright: no display for the wizard; use a sub-command: list, inspect, create, delete, "
    "pack, install (see carwright --help)";
#else
constexpr const char* kNoWindow =
    "carwright: this build has no windows; use a sub-command: list, inspect, create, delete, "
    "pack, install (see carwright --help)";
#endif

#ifdef CARWRIGHT_WITH_WINDOW
constexpr const char* kWindowHelp = "Without a sub-command the wizard's window opens.\n";
#else
constexpr const char* kWindowHelp =
    "This build has no windows: use the sub-commands above for every task.\n";
#endif

}  // namespace

int main(int argc, char** argv) {
  CLI::App program{"Carwright: creates, deletes, packs and installs custom cars of Gravelmoor.",
                   "carwright"};
  // A path such as /games/x.scr is a file, not a Windows-style option.
  program.allow_windows_style_options(false);
  program.footer(std::string(kWindowHelp) +
                 "Exit codes: 0 success, 1 the operation failed, 2 usage error.\n"
                 "The game folder comes from --game-folder, else the environment variable\n"
                 "GRAVELMOOR_DIR, else " +
                 std::string(wizard::kGameRegistrySource));
  std::string language;
  program.add_option("--lang", language, "Language of messages and windows (default: the locale)")
      ->check(CLI::IsMember({"en", "pl"}));
  program.require_subcommand(0, 1);

  std::vector<carwright::Subcommand> subcommands;
  subcommands.push_back(carwright::AddListCommand(program));
  subcommands.push_back(carwright::AddInspectCommand(program));
  subcommands.push_back(carwright::AddCreateCommand(program));
  subcommands.push_back(carwright::AddDeleteCommand(program));
  subcommands.push_back(carwright::AddPackCommand(program));
  subcommands.push_back(carwright::AddInstallCommand(program));

  try {
    program.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = program.exit(e);
    return code == 0 ? carwright::kExitOk : carwright::kExitUsage;
  }
  const wizard::Language messages =
      language.empty()
          ? wizard::DetectUserLanguage()
          : (language == "pl" ? wizard::Language::kPolish : wizard::Language::kEnglish);
  for (const carwright::Subcommand& subcommand : subcommands) {
    if (subcommand.app->parsed()) return subcommand.run(messages);
  }
#ifdef CARWRIGHT_WITH_WINDOW
  if (wizard::ui::DisplayAvailable()) {
    // Qt reads its own options (-platform, ...) from what remains.
    int qt_argc = 1;
    return wizard::ui::RunWizard(qt_argc, argv, messages);
  }
#endif
  std::cerr << kNoWindow << "\n";
  return carwright::kExitUsage;
}
