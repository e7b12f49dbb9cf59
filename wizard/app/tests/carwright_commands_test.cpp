// carwright create, delete, pack and install, run as a user runs them.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "base/custom_cars.h"
#include "base/resource_store.h"
#include "carwright_run.h"
#include "ops/operations.h"
#include "run_test_support.h"

namespace {

namespace stdfs = std::filesystem;
using namespace wizard_test;

using gm_test::ProgramRun;

// Runs carwright in English with `arguments`, then `more` (the game folder).
ProgramRun Carwright(const ScratchFolder& tmp, std::vector<std::string> arguments,
                     const std::vector<std::string>& more = {}) {
  arguments.insert(arguments.begin(), {"--lang", "en"});
  arguments.insert(arguments.end(), more.begin(), more.end());
  return RunCarwright(tmp, arguments);
}

// Gives `game` a registered car AB1 with a few files, as a create run would.
void AddCar(const std::string& game) {
  RecordingRunView view;
  ASSERT_TRUE(CreateCar(game, "AB1", view).completed);
}

TEST(CarwrightCommands, UsageErrorsExitWith2) {
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  const std::vector<std::string> folder = {"--game-folder", game};
  EXPECT_EQ(Carwright(tmp, {"create"}, folder).exit_code, 2);  // no --id
  EXPECT_EQ(Carwright(tmp, {"create", "--id", "AB1", "--group", "Q7"}, folder).exit_code, 2);
  EXPECT_EQ(Carwright(tmp, {"create", "--id", "AB1", "--paintings", "6"}, folder).exit_code, 2);
  EXPECT_EQ(Carwright(tmp, {"create", "--id", "AB1", "--parts", "bonnet,roof"}, folder).exit_code,
            2);
  EXPECT_EQ(Carwright(tmp, {"create", "--id", "AB1", "--wheels", "tractor"}, folder).exit_code, 2);
  EXPECT_EQ(Carwright(tmp, {"create", "--id", "AB1", "--name", "A&B"}, folder).exit_code, 2);
  EXPECT_EQ(Carwright(tmp, {"create", "--id", "AB1", "--name", "Rally\\"}, folder).exit_code, 2);
  EXPECT_EQ(Carwright(tmp, {"pack", "--id", "AB1"}, folder).exit_code, 2);  // no --output
  EXPECT_EQ(Carwright(tmp, {"install"}, folder).exit_code, 2);              // no --package
  const stdfs::path variants = tmp.path() / "variants.ini";
  WriteFile(variants, "[Variant1]\nPower=5\n");
  const ProgramRun bad_file =
      Carwright(tmp, {"create", "--id", "AB1", "--variants", variants.string()}, folder);
  EXPECT_EQ(bad_file.exit_code, 2);
  EXPECT_NE(bad_file.err.find("line 2: POWER"), std::string::npos) << bad_file.err;
  EXPECT_FALSE(stdfs::exists(stdfs::path(game) / "Data/Cars/AB1"));
}

TEST(CarwrightCommands, TheWizardsIDChecksExitWith1) {
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  AddCar(game);
  const std::vector<std::string> folder = {"--game-folder", game};
  const ProgramRun invalid = Carwright(tmp, {"create", "--id", "A-1"}, folder);
  EXPECT_EQ(invalid.exit_code, 1);
  EXPECT_NE(invalid.err.find("Invalid car's ID."), std::string::npos) << invalid.err;
  const ProgramRun reserved = Carwright(tmp, {"create", "--id", "bmx"}, folder);
  EXPECT_EQ(reserved.exit_code, 1);
  EXPECT_NE(reserved.err.find("BMX: ID reserved."), std::string::npos) << reserved.err;
  EXPECT_EQ(Carwright(tmp, {"create", "--id", "ab1"}, folder).exit_code, 1);  // taken
  EXPECT_EQ(Carwright(tmp, {"delete", "--id", "XY7"}, folder).exit_code, 1);
  EXPECT_EQ(Carwright(tmp, {"pack", "--id", "XY7", "--output", "x.devuza"}, folder).exit_code, 1);
  EXPECT_EQ(
      Carwright(tmp, {"create", "--id", "XY7", "--game-folder", tmp.path().string()}).exit_code, 1);
}

TEST(CarwrightCommands, CreateWritesTheCarOrSaysTheAssetsAreMissing) {
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  const ProgramRun run = Carwright(tmp, {"create", "--id", "AB1", "--paintings", "2", "--parts",
                                         "bonnet", "--game-folder", game});
  if (!wizard::EmbeddedAssetWriter()) {
    // This build carries no car assets: nothing may be written.
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.err.find("not part of this build"), std::string::npos) << run.err;
    EXPECT_FALSE(stdfs::exists(stdfs::path(game) / "Data/Cars/AB1"));
    return;
  }
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_TRUE(stdfs::exists(stdfs::path(game) / "Data/Cars/AB1/AB12/AB12_Body.dds"));
  std::vector<std::string> registry;
  ASSERT_TRUE(wizard::LoadINI(game, registry));
  EXPECT_EQ(registry, std::vector<std::string>{"AB1"});
}

TEST(CarwrightCommands, EveryFailedFileIsReportedOnceAndExitsWith1) {
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  WriteFile(stdfs::path(game) / "Data/Cars/AB1", "a file where the car's folder should be");
  const ProgramRun run = Carwright(tmp, {"create", "--id", "AB1", "--game-folder", game});
  EXPECT_EQ(run.exit_code, 1);
  std::size_t errors = 0;
  for (std::size_t at = run.err.find("carwright: error: "); at != std::string::npos;
       at = run.err.find("carwright: error: ", at + 1)) {
    ++errors;
  }
  // With one painting: 4 folders (the car, AB11, Parts, Wheels) and 44 + 16
  // + 2 + 8 files.
  EXPECT_EQ(errors, 4u + 44 + 16 + 2 + 8) << run.err;
  EXPECT_NE(run.err.find("AB1_ExhaustDummy.skn"), std::string::npos);
}

TEST(CarwrightCommands, PackInstallReplaceAndDelete) {
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  AddCar(game);
  const std::string second = CopyDemoGame(tmp, "second");
  const std::string package = (tmp.path() / "AB1.devuza").string();

  const ProgramRun pack =
      Carwright(tmp, {"pack", "--id", "ab1", "--output", package, "--game-folder", game});
  ASSERT_EQ(pack.exit_code, 0) << pack.err;
  EXPECT_EQ(pack.err, "");

  const ProgramRun install =
      Carwright(tmp, {"install", "--package", package, "--game-folder", second});
  EXPECT_EQ(install.exit_code, 0) << install.err;
  EXPECT_TRUE(stdfs::exists(stdfs::path(second) / "Data/Cars/AB1/Parts/AB1_Bonnet.skn"));
  std::vector<std::string> registry;
  ASSERT_TRUE(wizard::LoadINI(second, registry));
  EXPECT_EQ(registry, std::vector<std::string>{"AB1"});

  // The ID is now taken: question 117 is answered only by --replace.
  const ProgramRun again =
      Carwright(tmp, {"install", "--package", package, "--game-folder", second});
  EXPECT_EQ(again.exit_code, 1);
  EXPECT_NE(again.err.find("A car with this ID already exists."), std::string::npos) << again.err;
  const ProgramRun replaced =
      Carwright(tmp, {"install", "--replace", "--package", package, "--game-folder", second});
  EXPECT_EQ(replaced.exit_code, 0) << replaced.err;
  ASSERT_TRUE(wizard::LoadINI(second, registry));
  EXPECT_EQ(registry, std::vector<std::string>{"AB1"});

  const ProgramRun sfx = Carwright(
      tmp, {"pack", "--sfx", "--id", "AB1", "--output", package + ".exe", "--game-folder", game});
  // Carwright carries the extractor: the self-extracting program takes the
  // chosen name, and the plain package written on the way is gone.
  EXPECT_EQ(sfx.exit_code, 0) << sfx.err;
  EXPECT_NE(stdfs::status(package + ".exe").permissions() & stdfs::perms::owner_exec,
            stdfs::perms::none);
  EXPECT_EQ(gm_test::ListFolder(tmp.path()).find("package-part"), std::string::npos);

  const ProgramRun removed = Carwright(tmp, {"delete", "--id", "AB1", "--game-folder", second});
  EXPECT_EQ(removed.exit_code, 0) << removed.err;
  EXPECT_FALSE(stdfs::exists(stdfs::path(second) / "Data/Cars/AB1"));
  ASSERT_TRUE(wizard::LoadINI(second, registry));
  EXPECT_TRUE(registry.empty());
}

// A registry that exists but cannot be read, or whose count is beyond what
// Carwright accepts, stops every sub-command before it does anything: the
// file is named and never written over.
TEST(CarwrightCommands, EverySubcommandRefusesARegistryItCannotTake) {
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  AddCar(game);
  const std::vector<std::string> folder = {"--game-folder", game};
  const std::string package = (tmp.path() / "AB1.devuza").string();
  ASSERT_EQ(Carwright(tmp, {"pack", "--id", "AB1", "--output", package}, folder).exit_code, 0);
  const stdfs::path ini = stdfs::path(game) / "Carwright.ini";
  const std::vector<std::vector<std::string>> commands = {
      {"list"},
      {"create", "--id", "XY7"},
      {"delete", "--id", "AB1"},
      {"pack", "--id", "AB1", "--output", (tmp.path() / "new.devuza").string()},
      {"install", "--replace", "--package", package}};

  for (const bool unreadable : {true, false}) {
    stdfs::permissions(ini, stdfs::perms::owner_write, stdfs::perm_options::add);
    stdfs::remove_all(ini);
    if (unreadable) {
      stdfs::create_directories(ini);
    } else {
      WriteFile(ini, "[Cars]\r\nCarsCount=50654\r\nCarID1=AB1\r\n");
    }
    const std::vector<std::string> tree = ListTree(tmp.path());
    const std::string ini_bytes = ReadFile(ini);
    for (const std::vector<std::string>& command : commands) {
      SCOPED_TRACE(command.front());
      const ProgramRun run = Carwright(tmp, command, folder);
      EXPECT_EQ(run.exit_code, 1);
      EXPECT_NE(
          gm_test::ComparablePathText(run.err).find(gm_test::ComparablePathText(ini.string())),
          std::string::npos)
          << run.err;
      EXPECT_EQ(run.out, "");
      EXPECT_EQ(ListTree(tmp.path()), tree);
      EXPECT_EQ(ReadFile(ini), ini_bytes);
    }
  }
}

TEST(CarwrightCommands, ARegistryWithAByteOrderMarkIsRead) {
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  AddCar(game);
  const stdfs::path ini = stdfs::path(game) / "Carwright.ini";
  stdfs::permissions(ini, stdfs::perms::owner_write, stdfs::perm_options::add);
  const std::string saved = "\xEF\xBB\xBF[Cars]\r\nCarsCount=1\r\nCarID1=AB1\r\n";
  WriteFile(ini, saved);
  const std::vector<std::string> folder = {"--game-folder", game};
  const ProgramRun list = Carwright(tmp, {"list"}, folder);
  EXPECT_EQ(list.exit_code, 0) << list.err;
  EXPECT_EQ(list.out, "AB1\n");
  const ProgramRun taken = Carwright(tmp, {"create", "--id", "AB1"}, folder);
  EXPECT_EQ(taken.exit_code, 1);
  EXPECT_NE(taken.err.find("AB1: ID reserved."), std::string::npos) << taken.err;
  EXPECT_EQ(ReadFile(ini), saved);
}

// Question 117 is answered by --replace for every ID that names a plain
// folder; such a car is extracted and not registered.
TEST(CarwrightCommands, InstallOfAnIDOutsideTheSetNeedsReplaceAndRegistersNothing) {
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  const std::vector<std::string> folder = {"--game-folder", game};
  const stdfs::path package = tmp.path() / "ABZ.devuza";
  WriteFile(package, CraftPackage("ABZ", {{"", "ABZ.3da", "mesh"}}));
  const std::string master = ReadFile(stdfs::path(game) / "Data/Cars/cars.scr");

  const ProgramRun asked = Carwright(tmp, {"install", "--package", package.string()}, folder);
  EXPECT_EQ(asked.exit_code, 1);
  EXPECT_NE(asked.err.find("--replace"), std::string::npos) << asked.err;
  EXPECT_FALSE(stdfs::exists(stdfs::path(game) / "Data/Cars/ABZ"));

  const ProgramRun replaced =
      Carwright(tmp, {"install", "--replace", "--package", package.string()}, folder);
  EXPECT_EQ(replaced.exit_code, 0) << replaced.err;
  EXPECT_EQ(ReadFile(stdfs::path(game) / "Data/Cars/ABZ/ABZ.3da"), "mesh");
  EXPECT_EQ(ReadFile(stdfs::path(game) / "Data/Cars/cars.scr"), master);
  std::vector<std::string> registry = {"old"};
  wizard::LoadINI(game, registry);
  EXPECT_TRUE(registry.empty());
}

TEST(CarwrightCommands, DeleteKeepsTheCarWhenAMasterScriptCannotBeWritten) {
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  AddCar(game);
  const stdfs::path master = stdfs::path(game) / "Data/Cars/cars.scr";
  stdfs::permissions(
      master, stdfs::perms::owner_write | stdfs::perms::group_write | stdfs::perms::others_write,
      stdfs::perm_options::remove);
  const ProgramRun run = Carwright(tmp, {"delete", "--id", "AB1", "--game-folder", game});
  stdfs::permissions(master, stdfs::perms::owner_write, stdfs::perm_options::add);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(gm_test::ComparablePathText(run.err).find(gm_test::ComparablePathText(master.string())),
            std::string::npos)
      << run.err;
  EXPECT_TRUE(stdfs::exists(stdfs::path(game) / "Data/Cars/AB1/Cars.scr"));
  EXPECT_NE(ReadFile(master).find("!include(\"AB1\\\\Cars.scr\")"), std::string::npos);
  std::vector<std::string> registry;
  ASSERT_TRUE(wizard::LoadINI(game, registry));
  EXPECT_EQ(registry, std::vector<std::string>{"AB1"});

  // Once the script can be written, the same command removes the car.
  const ProgramRun again = Carwright(tmp, {"delete", "--id", "AB1", "--game-folder", game});
  EXPECT_EQ(again.exit_code, 0) << again.err;
  EXPECT_FALSE(stdfs::exists(stdfs::path(game) / "Data/Cars/AB1"));
}

TEST(CarwrightCommands, DeleteAndPackRefuseReservedIDsInTheRegistry) {
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  const stdfs::path cars = stdfs::path(game) / "Data/Cars";
  WriteFile(cars / "STC/Cars.scr", "the game's own car");
  ASSERT_TRUE(wizard::WriteINI(game, {"STC"}));
  const std::string master = ReadFile(cars / "cars.scr");
  const std::vector<std::string> folder = {"--game-folder", game};
  const std::string output = (tmp.path() / "STC.devuza").string();
  for (const std::vector<std::string>& command :
       {std::vector<std::string>{"delete", "--id", "STC"},
        std::vector<std::string>{"pack", "--id", "stc", "--output", output}}) {
    SCOPED_TRACE(command.front());
    const ProgramRun run = Carwright(tmp, command, folder);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.err.find("ID reserved."), std::string::npos) << run.err;
  }
  EXPECT_EQ(ReadFile(cars / "STC/Cars.scr"), "the game's own car");
  EXPECT_EQ(ReadFile(cars / "cars.scr"), master);
  EXPECT_FALSE(stdfs::exists(output));
  std::vector<std::string> registry;
  ASSERT_TRUE(wizard::LoadINI(game, registry));
  EXPECT_EQ(registry, std::vector<std::string>{"STC"});
}

TEST(CarwrightCommands, InstallRefusesNonPackagesAndHostilePackages) {
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  const stdfs::path text = tmp.path() / "notes.devuza";
  WriteFile(text, "not a package, not at all, not even close");
  const ProgramRun not_package =
      Carwright(tmp, {"install", "--package", text.string(), "--game-folder", game});
  EXPECT_EQ(not_package.exit_code, 1);
  EXPECT_NE(not_package.err.find("No DEVUZA File!"), std::string::npos) << not_package.err;

  const stdfs::path hostile = tmp.path() / "evil.devuza";
  WriteFile(hostile, CraftPackage("XY7", {{"", "XY7.3da", "mesh"}, {"", "..", "up"}}));
  const std::vector<std::string> before = ListTree(tmp.path());
  const ProgramRun refused = Carwright(
      tmp, {"install", "--replace", "--package", hostile.string(), "--game-folder", game});
  EXPECT_EQ(refused.exit_code, 1);
  EXPECT_NE(refused.err.find("Entry 2"), std::string::npos) << refused.err;
  EXPECT_EQ(ListTree(tmp.path()), before);
}

TEST(CarwrightCommands, InstallRefusesAFileAndAFolderOfOneNameBeforeWritingAnything) {
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  std::vector<CraftedFile> files;
  for (int i = 0; i < 46; ++i) files.push_back({"", "AB1_" + std::to_string(i) + ".dds", "d"});
  files.push_back({"", "Extra", "file"});
  files.push_back({"EXTRA", "x.dds", "x"});
  const stdfs::path package = tmp.path() / "clash.devuza";
  WriteFile(package, CraftPackage("AB1", files));
  const std::vector<std::string> before = ListTree(tmp.path());
  const ProgramRun run =
      Carwright(tmp, {"install", "--package", package.string(), "--game-folder", game});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find("Entry 48"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("takes the name of the file \"Extra\""), std::string::npos) << run.err;
  // No car folder, no registration, no registry.
  EXPECT_EQ(ListTree(tmp.path()), before);
}

TEST(CarwrightCommands, InstallRefusesAPackageWithoutFiles) {
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  const stdfs::path empty = tmp.path() / "empty.devuza";
  WriteFile(empty, CraftPackage("AB1", {}));
  const std::vector<std::string> before = ListTree(tmp.path());
  const ProgramRun run =
      Carwright(tmp, {"install", "--package", empty.string(), "--game-folder", game});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find("not usable"), std::string::npos) << run.err;
  // No car folder, no registration, no registry.
  EXPECT_EQ(ListTree(tmp.path()), before);
}

// FIFOs and /dev are POSIX's.
#if !defined(_WIN32)
TEST(CarwrightCommands, InstallRefusesAFifoOrADeviceWithoutWaiting) {
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  const stdfs::path fifo = tmp.path() / "pipe.devuza";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::vector<std::string> before = ListTree(tmp.path());
  for (const std::string& package : {fifo.string(), std::string("/dev/zero")}) {
    SCOPED_TRACE(package);
    const ProgramRun run = Carwright(tmp, {"install", "--package", package, "--game-folder", game});
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.err.find(", not a regular file"), std::string::npos) << run.err;
    EXPECT_EQ(ListTree(tmp.path()), before);
  }
}
#endif

}  // namespace

namespace {

TEST(CarwrightWindow, WithoutADisplayItNamesTheSubCommandsAndExitsWith2) {
  gm_test::ProgramEnvironment environment;
  environment.unset = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
  const gm_test::ProgramRun run = gm_test::RunProgram(CARWRIGHT_PATH, {}, environment);
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  for (const char* command : {"list", "inspect", "create", "delete", "pack", "install"}) {
    EXPECT_NE(run.err.find(command), std::string::npos) << command;
  }
}

}  // namespace
