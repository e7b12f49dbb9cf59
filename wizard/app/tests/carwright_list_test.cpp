// The carwright program, run as a user runs it.
#include <gtest/gtest.h>

#include "base/custom_cars.h"
#include "carwright_run.h"
#include "test_support/files.h"
#include "test_support/scratch_folder.h"

namespace {

namespace stdfs = std::filesystem;
using gm_test::ScratchFolder;
using gm_test::WriteFile;

using gm_test::ProgramRun;

ProgramRun Carwright(const ScratchFolder& tmp, const std::vector<std::string>& arguments) {
  return wizard_test::RunCarwright(tmp, arguments);
}

TEST(CarwrightList, PrintsTheRegisteredCarsOneALine) {
  ScratchFolder tmp;
  const stdfs::path game = tmp.path() / "game";
  WriteFile(game / "Gravelmoor.exe", "MZ");
  ASSERT_TRUE(wizard::WriteINI(game.string() + "/", {"AB1", "XY7"}));
  const ProgramRun run = Carwright(tmp, {"list", "--game-folder", game.string()});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "AB1\nXY7\n");
  EXPECT_EQ(run.err, "");
}

// The program gets its arguments as they are: no shell stands in between.
TEST(CarwrightList, TakesAGameFolderWhosePathHoldsQuotesAndBlanks) {
  ScratchFolder tmp;
#ifdef _WIN32
  // A Windows file name cannot hold '"'; a final backslash before the
  // argument's closing quote must survive the command line too.
  const stdfs::path game = tmp.path() / "it's a game, with blanks";
  const std::string argument = game.string() + "\\";
#else
  const stdfs::path game = tmp.path() / "it's a \"quoted\" game";
  const std::string argument = game.string();
#endif
  WriteFile(game / "Gravelmoor.exe", "MZ");
  ASSERT_TRUE(wizard::WriteINI(game.string() + "/", {"QU1"}));
  const ProgramRun run = Carwright(tmp, {"list", "--game-folder", argument});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "QU1\n");
}

TEST(CarwrightList, EmptyRegistryPrintsNothing) {
  ScratchFolder tmp;
  const stdfs::path game = tmp.path() / "game";
  WriteFile(game / "Gravelmoor.exe", "MZ");
  const ProgramRun run = Carwright(tmp, {"list", "--game-folder", game.string() + "/"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "");
}

TEST(CarwrightList, AFolderWithoutTheGameFailsWithMessage10002) {
  ScratchFolder tmp;
  const ProgramRun run =
      Carwright(tmp, {"--lang", "en", "list", "--game-folder", tmp.path().string()});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("The selected directory does not contain Gravelmoor!"), std::string::npos)
      << run.err;
  const ProgramRun polish =
      Carwright(tmp, {"--lang", "pl", "list", "--game-folder", tmp.path().string()});
  EXPECT_NE(polish.err.find("Wskazany katalog nie zawiera gry Gravelmoor!"), std::string::npos);
}

TEST(CarwrightList, AnUnreadableRegistryFails) {
  ScratchFolder tmp;
  const stdfs::path game = tmp.path() / "game";
  WriteFile(game / "Gravelmoor.exe", "MZ");
  stdfs::create_directories(game / "Carwright.ini");
  const ProgramRun run = Carwright(tmp, {"list", "--game-folder", game.string()});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find("Carwright.ini: cannot read"), std::string::npos) << run.err;
}

TEST(CarwrightList, NoGameFolderAnywhereFails) {
  ScratchFolder tmp;
  const ProgramRun run = Carwright(tmp, {"--lang", "en", "list"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find("<Game not installed>"), std::string::npos) << run.err;
}

TEST(Carwright, HelpSucceedsAndUsageErrorsExitWith2) {
  ScratchFolder tmp;
  const ProgramRun help = Carwright(tmp, {"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("list"), std::string::npos);
  EXPECT_NE(help.out.find("Exit codes"), std::string::npos);
#ifdef CARWRIGHT_WITH_WINDOW
  EXPECT_NE(help.out.find("the wizard's window opens"), std::string::npos) << help.out;
#else
  EXPECT_NE(help.out.find("This build has no windows: use the sub-commands"), std::string::npos)
      << help.out;
  EXPECT_EQ(help.out.find("window opens"), std::string::npos) << help.out;
#endif
  EXPECT_EQ(Carwright(tmp, {"list", "--help"}).exit_code, 0);
  EXPECT_EQ(Carwright(tmp, {}).exit_code, 2);
  EXPECT_EQ(Carwright(tmp, {"frobnicate"}).exit_code, 2);
  EXPECT_EQ(Carwright(tmp, {"list", "--no-such-option"}).exit_code, 2);
  EXPECT_EQ(Carwright(tmp, {"--lang", "de", "list"}).exit_code, 2);
}

}  // namespace
