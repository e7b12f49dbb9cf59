// The quorvex program run as a user runs a self-extracting file: made by
// `carwright pack --sfx`, renamed, and run on a copy of the demo game; and
// the damaged files it must refuse before it writes anything.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "base/custom_cars.h"
#include "devuza/sfx.h"
#include "run_test_support.h"
#include "test_support/program_run.h"

namespace quorvex {
namespace {

namespace stdfs = std::filesystem;
using gm_test::ProgramRun;
using wizard_test::CopyDemoGame;
using wizard_test::CraftPackage;
using wizard_test::ListTree;
using wizard_test::ReadFile;
using wizard_test::ScratchFolder;
using wizard_test::WriteFile;

// Every file below `root` with its bytes, to compare two game folders.
std::vector<std::string> TreeWithContents(const stdfs::path& root) {
  std::vector<std::string> result;
  for (const std::string& entry : ListTree(root)) {
    result.push_back(entry);
    if (entry.back() != '/') result.push_back(ReadFile(root / entry));
  }
  return result;
}

void MakeRunnable(const stdfs::path& path) {
  stdfs::permissions(path, stdfs::perms::owner_exec, stdfs::perm_options::add);
}

class QuorvexProgramTest : public ::testing::Test {
 protected:
  // Runs `program` with no game folder in its environment unless
  // `game_folder_variable` gives GRAVELMOOR_DIR.
  ProgramRun Run(const stdfs::path& program, const std::vector<std::string>& arguments,
                 const std::string& game_folder_variable = "") {
    gm_test::ProgramEnvironment environment;
    environment.values = {{"WINEPREFIX", (tmp_ / "nowine").string()}, {"TMPDIR", temp_.string()}};
    // No display: a run without options says so instead of opening the window.
    environment.unset = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
    if (game_folder_variable.empty()) {
      environment.unset.push_back("GRAVELMOOR_DIR");
    } else {
      environment.values.emplace_back("GRAVELMOOR_DIR", game_folder_variable);
    }
    return gm_test::RunProgram(program, arguments, environment);
  }

  // A game with car AB1 created by carwright.
  std::string GameWithCar() {
    const std::string game = CopyDemoGame(tmp_, "game");
    const ProgramRun create = Run(CARWRIGHT_PATH, {"create", "--id", "AB1", "--paintings", "2",
                                                   "--parts", "bonnet", "--game-folder", game});
    EXPECT_EQ(create.exit_code, 0) << create.err;
    return game;
  }

  // `carwright pack --sfx` of AB1 in `game`, renamed to "my car": its path.
  stdfs::path PackSFX(const std::string& game) {
    const stdfs::path chosen = tmp_ / "AB1.devuza.exe";
    const ProgramRun pack = Run(CARWRIGHT_PATH, {"pack", "--sfx", "--id", "AB1", "--output",
                                                 chosen.string(), "--game-folder", game});
    EXPECT_EQ(pack.exit_code, 0) << pack.err;
    const stdfs::path renamed = tmp_ / "my car";
    stdfs::rename(chosen, renamed);
    return renamed;
  }

  // A runnable self-extracting file of the real extractor holding `package`.
  stdfs::path ProgramWith(const std::string& package, std::string_view name) {
    const std::string extractor = ReadFile(QUORVEX_EXTRACT_PATH);
    const std::vector<std::uint8_t> bytes(extractor.begin(), extractor.end());
    WriteFile(tmp_ / "inner.devuza", package);
    const stdfs::path program = tmp_ / name;
    EXPECT_TRUE(devuza::WriteSFXPackage(program, tmp_ / "inner.devuza", true, bytes));
    return program;
  }

  ScratchFolder tmp_;
  stdfs::path temp_ = [this] {
    stdfs::create_directory(tmp_ / "temp");
    return tmp_ / "temp";
  }();
};

TEST_F(QuorvexProgramTest, ASelfExtractingFileInstallsAsCarwrightInstallDoes) {
  const std::string game = GameWithCar();
  const stdfs::path plain = tmp_ / "AB1.devuza";
  const ProgramRun pack = Run(
      CARWRIGHT_PATH, {"pack", "--id", "AB1", "--output", plain.string(), "--game-folder", game});
  ASSERT_EQ(pack.exit_code, 0) << pack.err;
  const stdfs::path sfx = PackSFX(game);
  // Only the renamed program and the plain package are left beside the game.
  EXPECT_EQ(gm_test::ListFolder(tmp_.path()), "AB1.devuza|game|my car|temp");
#ifndef _WIN32
  // Windows runs a program by its name; elsewhere it must be executable.
  EXPECT_NE(stdfs::status(sfx).permissions() & stdfs::perms::owner_exec, stdfs::perms::none);
#endif

  // The extractor Carwright carries, the package byte for byte, and the
  // trailer holding the extractor's length + 1.
  const std::string extractor = ReadFile(QUORVEX_EXTRACT_PATH);
  const std::string package = ReadFile(plain);
  const std::string bytes = ReadFile(sfx);
  ASSERT_EQ(bytes.size(), extractor.size() + package.size() + 4);
  EXPECT_TRUE(bytes.compare(0, extractor.size(), extractor) == 0);
  EXPECT_TRUE(bytes.compare(extractor.size(), package.size(), package) == 0);
  std::string trailer(4, '\0');
  devuza::testing::PatchInt32(trailer, 0, static_cast<std::int32_t>(extractor.size() + 1));
  EXPECT_EQ(bytes.substr(bytes.size() - 4), trailer);

  const std::string by_quorvex = CopyDemoGame(tmp_, "by_quorvex");
  const ProgramRun install = Run(sfx, {"--game-folder", by_quorvex});
  ASSERT_EQ(install.exit_code, 0) << install.err;
  EXPECT_EQ(install.err, "");
  EXPECT_NE(install.out.find("AB1: Successfully completed"), std::string::npos) << install.out;

  const std::string by_carwright = CopyDemoGame(tmp_, "by_carwright");
  const ProgramRun reference =
      Run(CARWRIGHT_PATH, {"install", "--package", plain.string(), "--game-folder", by_carwright});
  ASSERT_EQ(reference.exit_code, 0) << reference.err;
  EXPECT_EQ(TreeWithContents(by_quorvex), TreeWithContents(by_carwright));
  std::vector<std::string> registry;
  ASSERT_TRUE(wizard::LoadINI(by_quorvex, registry));
  EXPECT_EQ(registry, std::vector<std::string>{"AB1"});
  // The copy of the package made on the way is gone.
  EXPECT_EQ(gm_test::ListFolder(temp_), "");
}

TEST_F(QuorvexProgramTest, ReinstallingIsRefusedWithoutYes) {
  const stdfs::path sfx = PackSFX(GameWithCar());
  const std::string game = CopyDemoGame(tmp_, "second");
  ASSERT_EQ(Run(sfx, {"--game-folder", game}).exit_code, 0);
  const std::vector<std::string> installed = TreeWithContents(game);
  WriteFile(stdfs::path(game) / "Data/Cars/AB1/AB1.skn", "changed");

  const ProgramRun refused = Run(sfx, {"--game-folder", game});
  EXPECT_EQ(refused.exit_code, 1);
  EXPECT_EQ(refused.err,
            "quorvex: AB1: A car with this ID already exists. Do you want to replace it? (give "
            "--yes to replace it)\n");
  EXPECT_EQ(ReadFile(stdfs::path(game) / "Data/Cars/AB1/AB1.skn"), "changed");

  // The game folder from the environment, as Carwright finds it.
  const ProgramRun replaced = Run(sfx, {"--yes"}, game);
  EXPECT_EQ(replaced.exit_code, 0) << replaced.err;
  // The files are back; scripts and registry are as after the first install.
  EXPECT_EQ(TreeWithContents(game), installed);
}

TEST_F(QuorvexProgramTest, ListsTheCarAndSaysWhatItCannotDo) {
  const stdfs::path sfx = ProgramWith(
      CraftPackage("SKY", {{"", "SKY.3da", "mesh"}, {"Wheels", "SKY_Ice.3da", "ice"}}), "sky");
  const ProgramRun list = Run(sfx, {"--list"});
  EXPECT_EQ(list.exit_code, 0) << list.err;
  EXPECT_EQ(list.out, "Car ID: SKY\nFiles: 2\nSKY.3da  4\nWheels\\SKY_Ice.3da  3\n");

  // Without arguments and without a display the window cannot open; it says so.
  const ProgramRun bare = Run(sfx, {});
  EXPECT_EQ(bare.exit_code, 2);
  EXPECT_NE(bare.err.find("--game-folder DIR"), std::string::npos) << bare.err;
  EXPECT_EQ(std::count(bare.err.begin(), bare.err.end(), '\n'), 1);

  EXPECT_EQ(Run(sfx, {"--unknown"}).exit_code, 2);
  const ProgramRun help = Run(sfx, {"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("--yes"), std::string::npos);
#ifdef QUORVEX_WINDOW
  EXPECT_NE(help.out.find("opens its window"), std::string::npos) << help.out;
#else
  EXPECT_NE(help.out.find("This build has no windows: install with the console options"),
            std::string::npos)
      << help.out;
  EXPECT_EQ(help.out.find("opens its window"), std::string::npos) << help.out;
#endif

  // No game folder anywhere, and a game folder that is not one.
  const ProgramRun unknown = Run(sfx, {"--yes"});
  EXPECT_EQ(unknown.exit_code, 1);
  EXPECT_NE(unknown.err.find("<Game not installed>"), std::string::npos) << unknown.err;
  const ProgramRun nogame = Run(sfx, {"--game-folder", (tmp_ / "nogame").string()});
  EXPECT_EQ(nogame.exit_code, 1);
  EXPECT_NE(nogame.err.find("does not contain Gravelmoor"), std::string::npos) << nogame.err;
  EXPECT_EQ(std::count(nogame.err.begin(), nogame.err.end(), '\n'), 1);

  // The program without a package at its end.
  const ProgramRun empty = Run(QUORVEX_PATH, {"--game-folder", CopyDemoGame(tmp_)});
  EXPECT_EQ(empty.exit_code, 1);
  EXPECT_NE(empty.err.find("no car package at the end of"), std::string::npos) << empty.err;
  EXPECT_EQ(std::count(empty.err.begin(), empty.err.end(), '\n'), 1);
}

// Each damaged trailer, a damaged header and a hostile entry: refused by the
// listing and by the install, and nothing is written into the game.
TEST_F(QuorvexProgramTest, DamagedFilesAreRefusedBeforeAnythingIsWritten) {
  const std::string package = CraftPackage("AB1", {{"", "AB1.3da", "mesh"}});
  const std::string sound = ReadFile(ProgramWith(package, "sound"));
  const std::size_t extractor_size = sound.size() - package.size() - 4;
  const auto with_trailer = [&](std::int64_t value) {
    std::string bytes = sound;
    devuza::testing::PatchInt32(bytes, bytes.size() - 4, static_cast<std::int32_t>(value));
    return bytes;
  };
  std::string version2 = sound;
  devuza::testing::PatchInt16(version2, extractor_size + devuza::testing::kVersionOffset, 2);
  std::string bad_count = sound;
  devuza::testing::PatchInt16(bad_count, extractor_size + devuza::testing::kCountOffset, 900);
  const std::string hostile = ReadFile(
      ProgramWith(CraftPackage("AB1", {{"", "AB1.3da", "mesh"}, {"..", "x.3da", "x"}}), "hostile"));

  struct Case {
    std::string name;
    std::string bytes;
    std::string says;
  };
  const std::vector<Case> cases = {
      {"trailer 0", with_trailer(0), "No DEVUZA File!"},
      {"trailer -1", with_trailer(-1), "No DEVUZA File!"},
      {"trailer at itself", with_trailer(static_cast<std::int64_t>(sound.size()) - 3),
       "No DEVUZA File!"},
      {"trailer past the end", with_trailer(static_cast<std::int64_t>(sound.size()) + 100),
       "No DEVUZA File!"},
      {"trailer at the extractor", with_trailer(1), "No DEVUZA File!"},
      {"trailer one byte off", with_trailer(static_cast<std::int64_t>(extractor_size) + 2),
       "No DEVUZA File!"},
      {"version 2.0", version2, "Wrong DEVUZA version"},
      {"file count past the directory", bad_count, "does not fit"},
      {"entry leaving the car folder", hostile, "folder \"..\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const stdfs::path program = tmp_ / "damaged";
    WriteFile(program, c.bytes);
    MakeRunnable(program);
    const std::string game = CopyDemoGame(tmp_, "target");
    const std::vector<std::string> before = TreeWithContents(game);

    const ProgramRun list = Run(program, {"--list"});
    EXPECT_EQ(list.exit_code, 1);
    EXPECT_EQ(list.out, "");
    const ProgramRun install = Run(program, {"--game-folder", game, "--yes"});
    EXPECT_EQ(install.exit_code, 1);
    EXPECT_NE(install.err.find(c.says), std::string::npos) << install.err;
    EXPECT_EQ(TreeWithContents(game), before);
    EXPECT_EQ(gm_test::ListFolder(temp_), "");
    stdfs::remove_all(game);
  }
}

}  // namespace
}  // namespace quorvex
