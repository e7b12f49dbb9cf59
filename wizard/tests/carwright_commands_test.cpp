// carwright create, delete, pack and install, run as a user runs them.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>

#include "run_test_support.h"
#include "wizard/car_registry.h"
#include "wizard/operation_run.h"
#include "wizard/resource_store.h"

namespace {

namespace fs = std::filesystem;
using namespace wizard_test;

struct ProgramRun {
  int exit_code = -1;
  std::string out;
  std::string err;
};

ProgramRun Carwright(const TestFolder& tmp, const std::string& arguments) {
  const fs::path out = tmp.path() / "stdout.txt";
  const fs::path err = tmp.path() / "stderr.txt";
  // A run that waits for ever ends after a minute with exit code 124.
  const std::string command = "timeout 60 env -u GRAVELMOOR_DIR WINEPREFIX='" +
                              (tmp.path() / "nowine").string() +
                              "' '" CARWRIGHT_PATH "' --lang en " + arguments + " >'" +
                              out.string() + "' 2>'" + err.string() + "'";
  const int status = std::system(command.c_str());
  ProgramRun run;
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadBytes(out);
  run.err = ReadBytes(err);
  fs::remove(out);
  fs::remove(err);
  return run;
}

std::string Quoted(const std::string& text) {
  return "'" + text + "'";
}

// Gives `game` a registered car AB1 with a few files, as a create run would.
void AddCar(const std::string& game) {
  AssetLog assets;
  RecordingRunView view;
  wizard::WizardState state = CreateState(game, "AB1");
  ASSERT_TRUE(wizard::RunOperation(state, wizard::CarVariants{}, view, wizard::Language::kEnglish,
                                   TestServices(assets))
                  .completed);
}

TEST(CarwrightCommands, UsageErrorsExitWith2) {
  TestFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  const std::string folder = " --game-folder " + Quoted(game);
  EXPECT_EQ(Carwright(tmp, "create" + folder).exit_code, 2);  // no --id
  EXPECT_EQ(Carwright(tmp, "create --id AB1 --group Q7" + folder).exit_code, 2);
  EXPECT_EQ(Carwright(tmp, "create --id AB1 --paintings 6" + folder).exit_code, 2);
  EXPECT_EQ(Carwright(tmp, "create --id AB1 --parts bonnet,roof" + folder).exit_code, 2);
  EXPECT_EQ(Carwright(tmp, "create --id AB1 --wheels tractor" + folder).exit_code, 2);
  EXPECT_EQ(Carwright(tmp, "create --id AB1 --name 'A&B'" + folder).exit_code, 2);
  EXPECT_EQ(Carwright(tmp, "create --id AB1 --name 'Rally\\'" + folder).exit_code, 2);
  EXPECT_EQ(Carwright(tmp, "pack --id AB1" + folder).exit_code, 2);  // no --output
  EXPECT_EQ(Carwright(tmp, "install" + folder).exit_code, 2);        // no --package
  const fs::path variants = tmp.path() / "variants.ini";
  WriteBytes(variants, "[Variant1]\nPower=5\n");
  const ProgramRun bad_file =
      Carwright(tmp, "create --id AB1 --variants " + Quoted(variants.string()) + folder);
  EXPECT_EQ(bad_file.exit_code, 2);
  EXPECT_NE(bad_file.err.find("line 2: POWER"), std::string::npos) << bad_file.err;
  EXPECT_FALSE(fs::exists(fs::path(game) / "Data/Cars/AB1"));
}

TEST(CarwrightCommands, TheWizardsIDChecksExitWith1) {
  TestFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  AddCar(game);
  const std::string folder = " --game-folder " + Quoted(game);
  const ProgramRun invalid = Carwright(tmp, "create --id A-1" + folder);
  EXPECT_EQ(invalid.exit_code, 1);
  EXPECT_NE(invalid.err.find("Invalid car's ID."), std::string::npos) << invalid.err;
  const ProgramRun reserved = Carwright(tmp, "create --id bmx" + folder);
  EXPECT_EQ(reserved.exit_code, 1);
  EXPECT_NE(reserved.err.find("BMX: ID reserved."), std::string::npos) << reserved.err;
  EXPECT_EQ(Carwright(tmp, "create --id ab1" + folder).exit_code, 1);  // taken
  EXPECT_EQ(Carwright(tmp, "delete --id XY7" + folder).exit_code, 1);
  EXPECT_EQ(Carwright(tmp, "pack --id XY7 --output x.devuza" + folder).exit_code, 1);
  EXPECT_EQ(
      Carwright(tmp, "create --id XY7 --game-folder " + Quoted(tmp.path().string())).exit_code, 1);
}

TEST(CarwrightCommands, CreateWritesTheCarOrSaysTheAssetsAreMissing) {
  TestFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  const ProgramRun run =
      Carwright(tmp, "create --id AB1 --paintings 2 --parts bonnet --game-folder " + Quoted(game));
  if (!wizard::EmbeddedAssetWriter()) {
    // This build carries no car assets: nothing may be written.
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.err.find("not part of this build"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(fs::path(game) / "Data/Cars/AB1"));
    return;
  }
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_TRUE(fs::exists(fs::path(game) / "Data/Cars/AB1/AB12/AB12_Body.dds"));
  std::vector<std::string> registry;
  ASSERT_TRUE(wizard::LoadINI(game, registry));
  EXPECT_EQ(registry, std::vector<std::string>{"AB1"});
}

TEST(CarwrightCommands, EveryFailedFileIsReportedOnceAndExitsWith1) {
  TestFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  WriteBytes(fs::path(game) / "Data/Cars/AB1", "a file where the car's folder should be");
  const ProgramRun run = Carwright(tmp, "create --id AB1 --game-folder " + Quoted(game));
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
  TestFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  AddCar(game);
  const std::string second = CopyDemoGame(tmp, "second");
  const std::string package = (tmp.path() / "AB1.devuza").string();

  const ProgramRun pack = Carwright(
      tmp, "pack --id ab1 --output " + Quoted(package) + " --game-folder " + Quoted(game));
  ASSERT_EQ(pack.exit_code, 0) << pack.err;
  EXPECT_EQ(pack.err, "");

  const ProgramRun install =
      Carwright(tmp, "install --package " + Quoted(package) + " --game-folder " + Quoted(second));
  EXPECT_EQ(install.exit_code, 0) << install.err;
  EXPECT_TRUE(fs::exists(fs::path(second) / "Data/Cars/AB1/Parts/AB1_Bonnet.skn"));
  std::vector<std::string> registry;
  ASSERT_TRUE(wizard::LoadINI(second, registry));
  EXPECT_EQ(registry, std::vector<std::string>{"AB1"});

  // The ID is now taken: question 117 is answered only by --replace.
  const ProgramRun again =
      Carwright(tmp, "install --package " + Quoted(package) + " --game-folder " + Quoted(second));
  EXPECT_EQ(again.exit_code, 1);
  EXPECT_NE(again.err.find("A car with this ID already exists."), std::string::npos) << again.err;
  const ProgramRun replaced = Carwright(
      tmp, "install --replace --package " + Quoted(package) + " --game-folder " + Quoted(second));
  EXPECT_EQ(replaced.exit_code, 0) << replaced.err;
  ASSERT_TRUE(wizard::LoadINI(second, registry));
  EXPECT_EQ(registry, std::vector<std::string>{"AB1"});

  const ProgramRun sfx = Carwright(tmp, "pack --sfx --id AB1 --output " + Quoted(package + ".exe") +
                                            " --game-folder " + Quoted(game));
  if (!wizard::EmbeddedExtractor()) {
    EXPECT_EQ(sfx.exit_code, 1);
    EXPECT_NE(sfx.err.find("not available"), std::string::npos) << sfx.err;
    EXPECT_FALSE(fs::exists(package + ".exe"));
  }

  const ProgramRun removed = Carwright(tmp, "delete --id AB1 --game-folder " + Quoted(second));
  EXPECT_EQ(removed.exit_code, 0) << removed.err;
  EXPECT_FALSE(fs::exists(fs::path(second) / "Data/Cars/AB1"));
  ASSERT_TRUE(wizard::LoadINI(second, registry));
  EXPECT_TRUE(registry.empty());
}

// A registry that exists but cannot be read, or whose count is beyond what
// Carwright accepts, stops every sub-command before it does anything: the
// file is named and never written over.
TEST(CarwrightCommands, EverySubcommandRefusesARegistryItCannotTake) {
  TestFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  AddCar(game);
  const std::string folder = " --game-folder " + Quoted(game);
  const std::string package = (tmp.path() / "AB1.devuza").string();
  ASSERT_EQ(Carwright(tmp, "pack --id AB1 --output " + Quoted(package) + folder).exit_code, 0);
  const fs::path ini = fs::path(game) / "Carwright.ini";
  const std::vector<std::string> commands = {
      "list", "create --id XY7", "delete --id AB1",
      "pack --id AB1 --output " + Quoted((tmp.path() / "new.devuza").string()),
      "install --replace --package " + Quoted(package)};

  for (const bool unreadable : {true, false}) {
    fs::permissions(ini, fs::perms::owner_write, fs::perm_options::add);
    fs::remove_all(ini);
    if (unreadable) {
      fs::create_directories(ini);
    } else {
      WriteBytes(ini, "[Cars]\r\nCarsCount=50654\r\nCarID1=AB1\r\n");
    }
    const std::vector<std::string> tree = ListTree(tmp.path());
    const std::string ini_bytes = ReadBytes(ini);
    for (const std::string& command : commands) {
      const ProgramRun run = Carwright(tmp, command + folder);
      EXPECT_EQ(run.exit_code, 1) << command;
      EXPECT_NE(run.err.find(ini.string()), std::string::npos) << command << ": " << run.err;
      EXPECT_EQ(run.out, "") << command;
      EXPECT_EQ(ListTree(tmp.path()), tree) << command;
      EXPECT_EQ(ReadBytes(ini), ini_bytes) << command;
    }
  }
}

TEST(CarwrightCommands, ARegistryWithAByteOrderMarkIsRead) {
  TestFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  AddCar(game);
  const fs::path ini = fs::path(game) / "Carwright.ini";
  fs::permissions(ini, fs::perms::owner_write, fs::perm_options::add);
  const std::string saved = "\xEF\xBB\xBF[Cars]\r\nCarsCount=1\r\nCarID1=AB1\r\n";
  WriteBytes(ini, saved);
  const std::string folder = " --game-folder " + Quoted(game);
  const ProgramRun list = Carwright(tmp, "list" + folder);
  EXPECT_EQ(list.exit_code, 0) << list.err;
  EXPECT_EQ(list.out, "AB1\n");
  const ProgramRun taken = Carwright(tmp, "create --id AB1" + folder);
  EXPECT_EQ(taken.exit_code, 1);
  EXPECT_NE(taken.err.find("AB1: ID reserved."), std::string::npos) << taken.err;
  EXPECT_EQ(ReadBytes(ini), saved);
}

// Question 117 is answered by --replace for every ID that names a plain
// folder; such a car is extracted and not registered.
TEST(CarwrightCommands, InstallOfAnIDOutsideTheSetNeedsReplaceAndRegistersNothing) {
  TestFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  const std::string folder = " --game-folder " + Quoted(game);
  const fs::path package = tmp.path() / "ABZ.devuza";
  WriteBytes(package, CraftPackage("ABZ", {{"", "ABZ.3da", "mesh"}}));
  const std::string master = ReadBytes(fs::path(game) / "Data/Cars/cars.scr");

  const ProgramRun asked = Carwright(tmp, "install --package " + Quoted(package.string()) + folder);
  EXPECT_EQ(asked.exit_code, 1);
  EXPECT_NE(asked.err.find("--replace"), std::string::npos) << asked.err;
  EXPECT_FALSE(fs::exists(fs::path(game) / "Data/Cars/ABZ"));

  const ProgramRun replaced =
      Carwright(tmp, "install --replace --package " + Quoted(package.string()) + folder);
  EXPECT_EQ(replaced.exit_code, 0) << replaced.err;
  EXPECT_EQ(ReadBytes(fs::path(game) / "Data/Cars/ABZ/ABZ.3da"), "mesh");
  EXPECT_EQ(ReadBytes(fs::path(game) / "Data/Cars/cars.scr"), master);
  std::vector<std::string> registry = {"old"};
  wizard::LoadINI(game, registry);
  EXPECT_TRUE(registry.empty());
}

TEST(CarwrightCommands, DeleteKeepsTheCarWhenAMasterScriptCannotBeWritten) {
  TestFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  AddCar(game);
  const fs::path master = fs::path(game) / "Data/Cars/cars.scr";
  fs::permissions(master, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  const ProgramRun run = Carwright(tmp, "delete --id AB1 --game-folder " + Quoted(game));
  fs::permissions(master, fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find(master.string()), std::string::npos) << run.err;
  EXPECT_TRUE(fs::exists(fs::path(game) / "Data/Cars/AB1/Cars.scr"));
  EXPECT_NE(ReadBytes(master).find("!include(\"AB1\\\\Cars.scr\")"), std::string::npos);
  std::vector<std::string> registry;
  ASSERT_TRUE(wizard::LoadINI(game, registry));
  EXPECT_EQ(registry, std::vector<std::string>{"AB1"});

  // Once the script can be written, the same command removes the car.
  const ProgramRun again = Carwright(tmp, "delete --id AB1 --game-folder " + Quoted(game));
  EXPECT_EQ(again.exit_code, 0) << again.err;
  EXPECT_FALSE(fs::exists(fs::path(game) / "Data/Cars/AB1"));
}

TEST(CarwrightCommands, DeleteAndPackRefuseReservedIDsInTheRegistry) {
  TestFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  const fs::path cars = fs::path(game) / "Data/Cars";
  WriteBytes(cars / "STC/Cars.scr", "the game's own car");
  ASSERT_TRUE(wizard::WriteINI(game, {"STC"}));
  const std::string master = ReadBytes(cars / "cars.scr");
  const std::string folder = " --game-folder " + Quoted(game);
  const std::string output = (tmp.path() / "STC.devuza").string();
  for (const std::string& command :
       {std::string("delete --id STC"), "pack --id stc --output " + Quoted(output)}) {
    const ProgramRun run = Carwright(tmp, command + folder);
    EXPECT_EQ(run.exit_code, 1) << command;
    EXPECT_NE(run.err.find("ID reserved."), std::string::npos) << command << ": " << run.err;
  }
  EXPECT_EQ(ReadBytes(cars / "STC/Cars.scr"), "the game's own car");
  EXPECT_EQ(ReadBytes(cars / "cars.scr"), master);
  EXPECT_FALSE(fs::exists(output));
  std::vector<std::string> registry;
  ASSERT_TRUE(wizard::LoadINI(game, registry));
  EXPECT_EQ(registry, std::vector<std::string>{"STC"});
}

TEST(CarwrightCommands, InstallRefusesNonPackagesAndHostilePackages) {
  TestFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  const fs::path text = tmp.path() / "notes.devuza";
  WriteBytes(text, "not a package, not at all, not even close");
  const ProgramRun not_package = Carwright(
      tmp, "install --package " + Quoted(text.string()) + " --game-folder " + Quoted(game));
  EXPECT_EQ(not_package.exit_code, 1);
  EXPECT_NE(not_package.err.find("No DEVUZA File!"), std::string::npos) << not_package.err;

  const fs::path hostile = tmp.path() / "evil.devuza";
  WriteBytes(hostile, CraftPackage("XY7", {{"", "XY7.3da", "mesh"}, {"", "..", "up"}}));
  const std::vector<std::string> before = ListTree(tmp.path());
  const ProgramRun refused =
      Carwright(tmp, "install --replace --package " + Quoted(hostile.string()) + " --game-folder " +
                         Quoted(game));
  EXPECT_EQ(refused.exit_code, 1);
  EXPECT_NE(refused.err.find("Entry 2"), std::string::npos) << refused.err;
  EXPECT_EQ(ListTree(tmp.path()), before);
}

TEST(CarwrightCommands, InstallRefusesAFileAndAFolderOfOneNameBeforeWritingAnything) {
  TestFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  std::vector<CraftedFile> files;
  for (int i = 0; i < 46; ++i) files.push_back({"", "AB1_" + std::to_string(i) + ".dds", "d"});
  files.push_back({"", "Extra", "file"});
  files.push_back({"EXTRA", "x.dds", "x"});
  const fs::path package = tmp.path() / "clash.devuza";
  WriteBytes(package, CraftPackage("AB1", files));
  const std::vector<std::string> before = ListTree(tmp.path());
  const ProgramRun run = Carwright(
      tmp, "install --package " + Quoted(package.string()) + " --game-folder " + Quoted(game));
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find("Entry 48"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("takes the name of the file \"Extra\""), std::string::npos) << run.err;
  // No car folder, no registration, no registry.
  EXPECT_EQ(ListTree(tmp.path()), before);
}

TEST(CarwrightCommands, InstallRefusesAPackageWithoutFiles) {
  TestFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  const fs::path empty = tmp.path() / "empty.devuza";
  WriteBytes(empty, CraftPackage("AB1", {}));
  const std::vector<std::string> before = ListTree(tmp.path());
  const ProgramRun run = Carwright(
      tmp, "install --package " + Quoted(empty.string()) + " --game-folder " + Quoted(game));
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find("not usable"), std::string::npos) << run.err;
  // No car folder, no registration, no registry.
  EXPECT_EQ(ListTree(tmp.path()), before);
}

TEST(CarwrightCommands, InstallRefusesAFifoOrADeviceWithoutWaiting) {
  TestFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  const fs::path fifo = tmp.path() / "pipe.devuza";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::vector<std::string> before = ListTree(tmp.path());
  for (const std::string& package : {fifo.string(), std::string("/dev/zero")}) {
    SCOPED_TRACE(package);
    const ProgramRun run =
        Carwright(tmp, "install --package " + Quoted(package) + " --game-folder " + Quoted(game));
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.err.find(", not a regular file"), std::string::npos) << run.err;
    EXPECT_EQ(ListTree(tmp.path()), before);
  }
}

}  // namespace
