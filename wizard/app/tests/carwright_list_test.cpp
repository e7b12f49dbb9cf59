// The carwright program, run as a user runs it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "base/custom_cars.h"
#include "test_support/scratch_folder.h"

namespace {

namespace stdfs = std::filesystem;
using wizard_test::ReadBytes;
using wizard_test::TestFolder;
using wizard_test::WriteBytes;

struct ProgramRun {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// Runs carwright with `arguments` (already quoted for the shell) and no game
// folder in the environment.
ProgramRun Carwright(const TestFolder& tmp, const std::string& arguments) {
  const stdfs::path out = tmp.path() / "stdout.txt";
  const stdfs::path err = tmp.path() / "stderr.txt";
  const std::string command = "env -u GRAVELMOOR_DIR WINEPREFIX='" +
                              (tmp.path() / "nowine").string() + "' '" CARWRIGHT_PATH "' " +
                              arguments + " >'" + out.string() + "' 2>'" + err.string() + "'";
  const int status = std::system(command.c_str());
  ProgramRun run;
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadBytes(out);
  run.err = ReadBytes(err);
  return run;
}

TEST(CarwrightList, PrintsTheRegisteredCarsOneALine) {
  TestFolder tmp;
  const stdfs::path game = tmp.path() / "game";
  WriteBytes(game / "Gravelmoor.exe", "MZ");
  ASSERT_TRUE(wizard::WriteINI(game.string() + "/", {"AB1", "XY7"}));
  const ProgramRun run = Carwright(tmp, "list --game-folder '" + game.string() + "'");
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "AB1\nXY7\n");
  EXPECT_EQ(run.err, "");
}

TEST(CarwrightList, EmptyRegistryPrintsNothing) {
  TestFolder tmp;
  const stdfs::path game = tmp.path() / "game";
  WriteBytes(game / "Gravelmoor.exe", "MZ");
  const ProgramRun run = Carwright(tmp, "list --game-folder '" + game.string() + "/'");
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "");
}

TEST(CarwrightList, AFolderWithoutTheGameFailsWithMessage10002) {
  TestFolder tmp;
  const ProgramRun run =
      Carwright(tmp, "--lang en list --game-folder '" + tmp.path().string() + "'");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("The selected directory does not contain Gravelmoor!"), std::string::npos)
      << run.err;
  const ProgramRun polish =
      Carwright(tmp, "--lang pl list --game-folder '" + tmp.path().string() + "'");
  EXPECT_NE(polish.err.find("Wskazany katalog nie zawiera gry Gravelmoor!"), std::string::npos);
}

TEST(CarwrightList, AnUnreadableRegistryFails) {
  TestFolder tmp;
  const stdfs::path game = tmp.path() / "game";
  WriteBytes(game / "Gravelmoor.exe", "MZ");
  stdfs::create_directories(game / "Carwright.ini");
  const ProgramRun run = Carwright(tmp, "list --game-folder '" + game.string() + "'");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find("Carwright.ini: cannot read"), std::string::npos) << run.err;
}

TEST(CarwrightList, NoGameFolderAnywhereFails) {
  TestFolder tmp;
  const ProgramRun run = Carwright(tmp, "--lang en list");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find("<Game not installed>"), std::string::npos) << run.err;
}

TEST(Carwright, HelpSucceedsAndUsageErrorsExitWith2) {
  TestFolder tmp;
  const ProgramRun help = Carwright(tmp, "--help");
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("list"), std::string::npos);
  EXPECT_NE(help.out.find("Exit codes"), std::string::npos);
  EXPECT_EQ(Carwright(tmp, "list --help").exit_code, 0);
  EXPECT_EQ(Carwright(tmp, "").exit_code, 2);
  EXPECT_EQ(Carwright(tmp, "frobnicate").exit_code, 2);
  EXPECT_EQ(Carwright(tmp, "list --no-such-option").exit_code, 2);
  EXPECT_EQ(Carwright(tmp, "--lang de list").exit_code, 2);
}

}  // namespace
