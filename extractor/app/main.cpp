// quorvex: the extractor program. Run as a self-extracting package it installs
// the car packed at the end of its own file: in its window when it is given no
// options and a display is there, else through the console install and
// listing.
#include <CLI/CLI.hpp>
#include <iostream>
#include <optional>
#include <string>

#include "base/code_page.h"
#include "base/game_folder.h"
#include "base/game_folder_source.h"
#include "base/string_table.h"
#include "base/windows_registry.h"
#include "console_quorvex_view.h"
#include "devuza/package.h"
#include "extractor/own_program.h"
#include "extractor/package_listing.h"
#include "extractor/quorvex_model.h"
#if defined(QUORVEX_WINDOW)
#include "extractor_ui/run_quorvex_window.h"
#endif

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr std::string_view kConsoleOptions = "--game-folder DIR, --yes, --list, --help";

#if defined(QUORVEX_WINDOW)
constexpr const char* kWindowHelp =
    "Without options Quorvex opens its window when a display is there (without a\n"
    "display it says so and exits with 2).\n";
#else
constexpr const char* kWindowHelp =
    "This build has no windows: install with the console options --game-folder\n"
    "and --yes, or see the car with --list.\n";
#endif

struct Options {
  std::optional<std::string> game_folder;
  bool yes = false;
  bool list = false;
  std::string language;
};

int List(const std::filesystem::path& program, wizard::Language language) {
  quorvex::PackageListing listing;
  std::string error;
  if (!quorvex::ListPackage(program, wizard::GameCodePage(language), listing, error)) {
    quorvex::PrintError(error);
    return kExitFailed;
  }
  std::cout << quorvex::FormatListing(listing);
  std::cout.flush();
  return std::cout ? kExitOk : kExitFailed;
}

int Install(const std::filesystem::path& program, const Options& options,
            wizard::Language language) {
  const wizard::GameFolderLookup lookup =
      wizard::FindGameFolder(wizard::GameFolderSourcesFromEnvironment(options.game_folder));
  if (lookup.folder.empty()) {
    quorvex::PrintError(std::string(wizard::StringText(wizard::kStrGameNotInstalled, language)) +
                        " (give --game-folder DIR or set GRAVELMOOR_DIR)");
    return kExitFailed;
  }
  if (!wizard::CheckGameFolder(lookup.folder)) {
    quorvex::PrintError(lookup.folder + ": " +
                        std::string(wizard::StringText(wizard::kStrNotGameFolder, language)));
    return kExitFailed;
  }

  // The window's own page flow, with the console as its screen.
  quorvex::ConsoleQuorvexView view(options.yes);
  quorvex::QuorvexOptions model_options;
  model_options.language = language;
  model_options.program = program;
  model_options.find_game_folder = [&lookup] { return lookup; };
  quorvex::QuorvexModel model(view, model_options);
  model.Start();
  model.OnNextClick();
  const quorvex::QuorvexState& state = model.State();
  if (state.Step == quorvex::kPageGameFolder) {
    if (!model.PackageProblem().empty()) {
      quorvex::PrintError("File:" + program.string() + "\n" + model.PackageProblem());
    } else if (!view.RefusedQuestion().empty()) {
      quorvex::PrintError(state.CarID + ": " + view.RefusedQuestion() +
                          " (give --yes to replace it)");
    }
    return kExitFailed;
  }
  model.OnNextClick();  // the ready page: on to the run
  view.ClearLine();
  const wizard::RunOutcome& outcome = model.Outcome();
  if (!model.HasRun() || !outcome.completed || outcome.failures > 0) {
    quorvex::PrintError(std::string(wizard::StringText(wizard::kStrRunError, language)) + " (" +
                        std::to_string(outcome.failures) +
                        (outcome.failures == 1 ? " error)" : " errors)"));
    return kExitFailed;
  }
  std::cout << state.CarID << ": " << view.ActionText() << " (" << state.GameFolder << "Data/Cars/"
            << state.CarID << ")\n";
  return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Quorvex: installs the Gravelmoor car packed at the end of this program file into the "
      "game, as Carwright's install does.",
      "quorvex"};
  // A path such as /games/x is a value, not a Windows-style option.
  app.allow_windows_style_options(false);
  app.footer(std::string(kWindowHelp) +
             "Exit codes: 0 success, 1 the install failed or was refused, 2 usage error.\n"
             "The game folder comes from --game-folder, else the environment variable\n"
             "GRAVELMOOR_DIR, else " +
             std::string(wizard::kGameRegistrySource));
  Options options;
  app.add_option("--game-folder", options.game_folder,
                 "Install into this game folder without a window");
  app.add_flag("--yes", options.yes,
               "Install without a window, replacing a car whose ID is already taken "
               "(without it such a car is refused)");
  app.add_flag("--list", options.list, "Print the packed car's ID and files");
  app.add_option("--lang", options.language, "Language of messages (default: from the locale)")
      ->check(CLI::IsMember({"en", "pl"}));
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? kExitOk : kExitUsage;
  }
  const wizard::Language language =
      options.language.empty()
          ? wizard::DetectUserLanguage()
          : (options.language == "pl" ? wizard::Language::kPolish : wizard::Language::kEnglish);
  if (options.list && (options.game_folder || options.yes)) {
    std::cerr << "quorvex: --list installs nothing; give it alone\n";
    return kExitUsage;
  }

  const std::filesystem::path program = quorvex::OwnProgramPath();
  devuza::Package header;
  if (program.empty() ||
      !devuza::ReadPackageHeader(header, program, devuza::PackageMode::kReadSfx)) {
    quorvex::PrintError("no car package at the end of " +
                        (program.empty() ? std::string("this program") : program.string()) + " (" +
                        devuza::LastPackageError(header) + "); make one with carwright pack --sfx");
    return kExitFailed;
  }
  if (options.list) return List(program, language);
  if (options.game_folder || options.yes) return Install(program, options, language);
#if defined(QUORVEX_WINDOW)
  if (quorvex::ui::DisplayAvailable()) return quorvex::ui::RunQuorvexWindow(argc, argv, language);
  std::cerr << "quorvex: no display for the window; install with the console options: "
            << kConsoleOptions << "\n";
#else
  std::cerr << "quorvex: the window is not built in this build; install with the console "
               "options: "
            << kConsoleOptions << "\n";
#endif
  return kExitUsage;
}
