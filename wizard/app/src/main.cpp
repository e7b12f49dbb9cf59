// carwright: Carwright's command line.
#include <iostream>
#include <vector>

#include "base/string_table.h"
#include "commands.h"

int main(int argc, char** argv) {
  CLI::App program{"Carwright: creates, deletes, packs and installs custom cars of Gravelmoor.",
                   "carwright"};
  program.footer(
      "Exit codes: 0 success, 1 the operation failed, 2 usage error.\n"
      "The game folder comes from --game-folder, else the environment variable\n"
      "GRAVELMOOR_DIR, else the game's registry entry in the Wine prefix\n"
      "($WINEPREFIX, default ~/.wine).");
  std::string language;
  program.add_option("--lang", language, "Language of messages (default: from the locale)")
      ->check(CLI::IsMember({"en", "pl"}));
  program.require_subcommand(1);

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
  std::cerr << program.help();
  return carwright::kExitUsage;
}
