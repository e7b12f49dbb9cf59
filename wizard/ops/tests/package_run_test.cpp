// Packing a car and installing packages, end to end on copies of the demo
// game folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/custom_cars.h"
#include "devuza/sfx.h"
#include "ops/operations.h"
#include "run_test_support.h"

namespace {

namespace stdfs = std::filesystem;
using namespace wizard_test;

class PackageRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    game_ = CopyDemoGame(tmp_, "game");
    RecordingRunView view;
    const wizard::RunOutcome created = CreateCar(game_, "AB1", view);
    ASSERT_TRUE(created.completed);
    registry_ = created.custom_cars;
  }

  wizard::RunOutcome Pack(const std::string& output, bool sfx, RecordingRunView& view,
                          const wizard::RunServices& services) {
    wizard::WizardState state;
    state.Task = wizard::kTaskCreatePackage;
    state.GameFolder = game_;
    state.CustomCars = registry_;
    state.DEVUZA_CarID = "AB1";
    state.DEVUZA_FileName = output;
    state.MakeSFX = sfx;
    return wizard::PerformOperation(state, wizard::CarVariants{}, view, wizard::Language::kEnglish,
                                    services);
  }

  wizard::RunOutcome Install(const std::string& game, const std::string& package,
                             const std::string& car_id, std::vector<std::string>& registry,
                             RecordingRunView& view) {
    wizard::WizardState state;
    state.Task = wizard::kTaskExtractPackage;
    state.GameFolder = game;
    state.CustomCars = registry;
    state.CarID = car_id;
    state.DEVUZA_FileName = package;
    const wizard::RunOutcome outcome = RunInEnglish(state, view);
    registry = state.CustomCars;
    return outcome;
  }

  ScratchFolder tmp_;
  std::string game_;
  std::vector<std::string> registry_;
};

TEST_F(PackageRunTest, PackedCarInstallsIntoAnotherGame) {
  const std::string package = (tmp_.path() / "AB1.devuza").string();
  RecordingRunView pack_view;
  const wizard::RunOutcome packed = Pack(package, false, pack_view, {});
  EXPECT_TRUE(packed.completed);
  EXPECT_EQ(packed.failures, 0);
  EXPECT_EQ(pack_view.actions.front(), "Creating DEVUZA...");
  EXPECT_DOUBLE_EQ(pack_view.progress.front(), 100.0);
  EXPECT_EQ(ReadFile(package).substr(0, 6), "DEVUZA");

  const std::string second = CopyDemoGame(tmp_, "second");
  std::vector<std::string> registry;
  RecordingRunView view;
  const wizard::RunOutcome installed = Install(second, package, "AB1", registry, view);
  EXPECT_TRUE(installed.completed);
  EXPECT_EQ(installed.failures, 0) << view.errors.front();
  EXPECT_EQ(view.actions.front(), "Extracting DEVUZA...");
  // 100, +1 per master script and +10 between them, then 200.
  EXPECT_EQ(view.progress, (std::vector<double>{100, 101, 111, 112, 122, 123, 133, 134, 200}));

  const stdfs::path from = stdfs::path(game_) / "Data/Cars/AB1";
  const stdfs::path to = stdfs::path(second) / "Data/Cars/AB1";
  ASSERT_EQ(ListTree(to), ListTree(from));
  for (const std::string& name : ListTree(from)) {
    if (name.back() != '/') {
      EXPECT_EQ(ReadFile(to / name), ReadFile(from / name)) << name;
    }
  }
  EXPECT_EQ(registry, std::vector<std::string>{"AB1"});
  std::vector<std::string> saved;
  ASSERT_TRUE(wizard::LoadINI(second, saved));
  EXPECT_EQ(saved, std::vector<std::string>{"AB1"});
  EXPECT_NE(
      ReadFile(stdfs::path(second) / "Data/Cars/cars.scr").find("!include(\"AB1\\\\Cars.scr\")"),
      std::string::npos);
}

TEST_F(PackageRunTest, RegisteredCarIsExtractedOverItsFilesAndRegistryRewrittenUnchanged) {
  const std::string package = (tmp_.path() / "AB1.devuza").string();
  RecordingRunView pack_view;
  ASSERT_TRUE(Pack(package, false, pack_view, {}).completed);

  const stdfs::path body = stdfs::path(game_) / "Data/Cars/AB1/AB1.3da";
  const std::string original = ReadFile(body);
  WriteFile(body, "changed by the modder, longer than the packed file");
  const stdfs::path ini = stdfs::path(game_) / "Carwright.ini";
  const std::string ini_before = ReadFile(ini);
  const std::vector<std::string> masters_before = {
      ReadFile(stdfs::path(game_) / "Data/Cars/cars.scr"),
      ReadFile(stdfs::path(game_) / "Data/Cars/Parts.scr"),
      ReadFile(stdfs::path(game_) / "Data/Cars/Texts.scr"),
      ReadFile(stdfs::path(game_) / "Data/Cars/Icons.scr")};

  std::vector<std::string> registry = registry_;
  RecordingRunView view;
  const wizard::RunOutcome outcome = Install(game_, package, "AB1", registry, view);
  EXPECT_TRUE(outcome.completed);
  EXPECT_EQ(outcome.failures, 0);
  EXPECT_EQ(ReadFile(body), original);
  EXPECT_EQ(registry, std::vector<std::string>{"AB1"});
  EXPECT_EQ(ReadFile(ini), ini_before);
  EXPECT_EQ(ReadFile(stdfs::path(game_) / "Data/Cars/cars.scr"), masters_before[0]);
  EXPECT_EQ(ReadFile(stdfs::path(game_) / "Data/Cars/Parts.scr"), masters_before[1]);
  EXPECT_EQ(ReadFile(stdfs::path(game_) / "Data/Cars/Texts.scr"), masters_before[2]);
  EXPECT_EQ(ReadFile(stdfs::path(game_) / "Data/Cars/Icons.scr"), masters_before[3]);
  EXPECT_EQ(view.progress, (std::vector<double>{100, 200}));
}

TEST_F(PackageRunTest, FailedPackageOpenShowsOneMessageAndLeavesTheINI) {
  const std::string not_package = (tmp_.path() / "AB1.devuza").string();
  WriteFile(not_package, "this is not a package at all, but long enough for a header");
  const stdfs::path ini = stdfs::path(game_) / "Carwright.ini";
  stdfs::permissions(ini, stdfs::perms::owner_write, stdfs::perm_options::add);
  WriteFile(ini, "; kept\r\n[Cars]\r\nCarsCount=1\r\nCarID1=AB1\r\n");
  const std::string ini_before = ReadFile(ini);

  std::vector<std::string> registry = registry_;
  RecordingRunView view;
  const wizard::RunOutcome outcome = Install(game_, not_package, "XY7", registry, view);
  EXPECT_FALSE(outcome.completed);
  ASSERT_EQ(view.errors.size(), 1u);
  EXPECT_EQ(view.errors[0], "File:" + not_package + "\nNo DEVUZA File!");
  EXPECT_EQ(view.actions.back(), "Error!");
  EXPECT_EQ(registry, registry_);
  EXPECT_EQ(ReadFile(ini), ini_before);
  EXPECT_FALSE(stdfs::exists(stdfs::path(game_) / "Data/Cars/XY7"));
}

TEST_F(PackageRunTest, HostilePackageIsRefusedBeforeAnythingIsWritten) {
  const std::string second = CopyDemoGame(tmp_, "second");
  const std::vector<std::string> before = ListTree(tmp_.path());
  const std::string package = (tmp_.path() / "evil.devuza").string();
  WriteFile(package, CraftPackage("XY7", {{"", "XY7.3da", "mesh"},
                                          {"..", "escaped.txt", "outside"},
                                          {"Parts", "XY7_Bonnet.3da", "part"}}));
  std::vector<std::string> registry;
  RecordingRunView view;
  const wizard::RunOutcome outcome = Install(second, package, "XY7", registry, view);
  EXPECT_FALSE(outcome.completed);
  ASSERT_EQ(view.errors.size(), 1u);
  EXPECT_EQ(view.errors[0].rfind("File:" + package + "\n", 0), 0u);
  EXPECT_NE(view.errors[0].find("escaped.txt"), std::string::npos) << view.errors[0];
  // Nothing new anywhere: not the first entry, not the escaping one.
  std::vector<std::string> after = ListTree(tmp_.path());
  after.erase(std::remove(after.begin(), after.end(), "evil.devuza"), after.end());
  EXPECT_EQ(after, before);
  EXPECT_TRUE(registry.empty());
}

TEST_F(PackageRunTest, NamesAreStoredInTheCodePageOfTheGamesLanguage) {
  // A name that Windows-1250 and Windows-1252 both hold, and a Polish one.
  const stdfs::path car = stdfs::path(game_) / "Data" / "Cars" / "AB1";
  WriteFile(car / stdfs::path(u8"Caf\u00e9_Gr\u00f6\u00dfe.dds"), "western");
  WriteFile(car / stdfs::path(u8"\u0141\u00f3d\u017a.dds"), "polish");
  const std::string package = (tmp_.path() / "AB1.devuza").string();
  const auto run = [&](wizard::WizardState state, wizard::Language language,
                       RecordingRunView& view) {
    state.GameFolder = state.GameFolder.empty() ? game_ : state.GameFolder;
    return wizard::PerformOperation(state, wizard::CarVariants{}, view, language, {});
  };
  wizard::WizardState pack;
  pack.Task = wizard::kTaskCreatePackage;
  pack.CustomCars = registry_;
  pack.DEVUZA_CarID = "AB1";
  pack.DEVUZA_FileName = package;

  // An English game's code page has no Polish letters.
  RecordingRunView english;
  EXPECT_FALSE(run(pack, wizard::Language::kEnglish, english).completed);
  ASSERT_EQ(english.errors.size(), 1u);
  EXPECT_NE(english.errors[0].find("cannot be written in Windows-1252"), std::string::npos)
      << english.errors[0];
  EXPECT_FALSE(stdfs::exists(package));

  RecordingRunView polish;
  EXPECT_TRUE(run(pack, wizard::Language::kPolish, polish).completed);
  EXPECT_TRUE(polish.errors.empty()) << polish.errors.front();
  const std::string bytes = ReadFile(package);
  EXPECT_NE(bytes.find("Caf\xE9_Gr\xF6\xDF"
                       "e.dds"),
            std::string::npos);
  EXPECT_NE(bytes.find("\xA3\xF3"
                       "d\x9F.dds"),
            std::string::npos);

  wizard::WizardState install;
  install.Task = wizard::kTaskExtractPackage;
  install.GameFolder = CopyDemoGame(tmp_, "second");
  install.CarID = "AB1";
  install.DEVUZA_FileName = package;
  RecordingRunView installed;
  EXPECT_TRUE(run(install, wizard::Language::kPolish, installed).completed);
  EXPECT_TRUE(installed.errors.empty()) << installed.errors.front();
  const stdfs::path out = stdfs::path(install.GameFolder) / "Data" / "Cars" / "AB1";
  EXPECT_EQ(ReadFile(out / stdfs::path(u8"Caf\u00e9_Gr\u00f6\u00dfe.dds")), "western");
  EXPECT_EQ(ReadFile(out / stdfs::path(u8"\u0141\u00f3d\u017a.dds")), "polish");
}

TEST_F(PackageRunTest, PackageCarIDThatNamesNoFolderIsRefused) {
  const std::string second = CopyDemoGame(tmp_, "second");
  const std::vector<std::string> before = ListTree(second);
  const std::string package = (tmp_.path() / "bad.devuza").string();
  for (const char* id : {"../", "CON", "nul", "A.B", "A B", "A:B"}) {
    WriteFile(package, CraftPackage(id, {{"", "x.3da", "mesh"}}));
    std::vector<std::string> registry;
    RecordingRunView view;
    EXPECT_FALSE(Install(second, package, id, registry, view).completed) << id;
    ASSERT_EQ(view.errors.size(), 1u) << id;
    EXPECT_EQ(ListTree(second), before) << id;
    EXPECT_FALSE(stdfs::exists(stdfs::path(second) / "Data/x.3da"));
  }
}

// An ID that is a plain folder name but no valid custom-car ID (a letter
// outside the set, a game's own car) is installed only after question 117:
// its files are extracted and nothing is registered.
TEST_F(PackageRunTest, AFolderNameThatIsNoValidIDIsExtractedWithoutRegistering) {
  const std::string second = CopyDemoGame(tmp_, "second");
  const stdfs::path cars = stdfs::path(second) / "Data/Cars";
  const std::string master = ReadFile(cars / "cars.scr");
  for (const std::string id : {"ABZ", "a_z", "STC"}) {
    const std::string package = (tmp_.path() / (id + ".devuza")).string();
    WriteFile(package, CraftPackage(id, {{"", id + ".3da", "mesh"}}));
    std::vector<std::string> registry;
    RecordingRunView view;
    const wizard::RunOutcome outcome = Install(second, package, id, registry, view);
    EXPECT_TRUE(outcome.completed) << id;
    EXPECT_EQ(outcome.failures, 0) << id;
    EXPECT_EQ(ReadFile(cars / id / (id + ".3da")), "mesh") << id;
    EXPECT_TRUE(registry.empty()) << id;
    EXPECT_EQ(ReadFile(cars / "cars.scr"), master) << id;
  }
}

TEST_F(PackageRunTest, AReservedIDIsNotPackedWhateverTheRegistrySays) {
  WriteFile(stdfs::path(game_) / "Data/Cars/STC/Cars.scr", "the game's own car");
  const std::string output = (tmp_.path() / "STC.devuza").string();
  wizard::WizardState state;
  state.Task = wizard::kTaskCreatePackage;
  state.GameFolder = game_;
  state.CustomCars = {"AB1", "STC"};
  state.SelectedCar = 1;
  state.DEVUZA_CarID = "STC";
  state.DEVUZA_FileName = output;
  RecordingRunView view;
  const wizard::RunOutcome outcome = RunInEnglish(state, view);
  EXPECT_FALSE(outcome.completed);
  ASSERT_EQ(view.errors.size(), 1u);
  EXPECT_NE(view.errors[0].find("ID reserved."), std::string::npos) << view.errors[0];
  EXPECT_FALSE(stdfs::exists(output));
}

TEST_F(PackageRunTest, SelfExtractingWithoutExtractorIsReportedAndWritesNothing) {
  const std::string output = (tmp_.path() / "AB1.devuza.exe").string();
  wizard::RunServices services;
  services.extractor = [] { return std::optional<std::span<const unsigned char>>(); };
  RecordingRunView view;
  const wizard::RunOutcome outcome = Pack(output, true, view, services);
  EXPECT_FALSE(outcome.completed);
  ASSERT_EQ(view.errors.size(), 1u);
  EXPECT_NE(view.errors[0].find("not available"), std::string::npos);
  EXPECT_FALSE(stdfs::exists(output));
  EXPECT_EQ(ListFolder(tmp_.path()), "game");
}

TEST_F(PackageRunTest, SelfExtractingProgramTakesTheChosenName) {
  const std::string plain = (tmp_.path() / "plain.devuza").string();
  RecordingRunView plain_view;
  ASSERT_TRUE(Pack(plain, false, plain_view, {}).completed);

  static const unsigned char kExtractor[] = {'M', 'Z', 'q', 'v', 'x'};
  wizard::RunServices services;
  services.extractor = [] {
    return std::optional<std::span<const unsigned char>>(std::span(kExtractor));
  };
  const std::string output = (tmp_.path() / "AB1.devuza.exe").string();
  RecordingRunView view;
  const wizard::RunOutcome outcome = Pack(output, true, view, services);
  EXPECT_TRUE(outcome.completed);
  EXPECT_EQ(outcome.failures, 0);
  const std::string sfx = ReadFile(output);
  const std::string package = ReadFile(plain);
  ASSERT_EQ(sfx.size(), 5 + package.size() + 4);
  EXPECT_EQ(sfx.substr(0, 5), "MZqvx");
  EXPECT_EQ(sfx.substr(5, package.size()), package);
  EXPECT_EQ(sfx.substr(sfx.size() - 4), std::string("\x06\x00\x00\x00", 4));
  // The plain package written on the way is gone.
  EXPECT_EQ(ListFolder(tmp_.path()), "AB1.devuza.exe|game|plain.devuza");
}

// The plain package goes to a file of its own: a file of the user's that
// bears the name it would take stays as it was, and nothing is left behind
// when the package cannot be written.
TEST_F(PackageRunTest, SelfExtractingProgramNeverWritesOverTheUsersFiles) {
  static const unsigned char kExtractor[] = {'M', 'Z'};
  wizard::RunServices services;
  services.extractor = [] {
    return std::optional<std::span<const unsigned char>>(std::span(kExtractor));
  };
  const std::string output = (tmp_.path() / "AB1.exe").string();
  WriteFile(output + ".package-part", "mine");
  RecordingRunView view;
  ASSERT_TRUE(Pack(output, true, view, services).completed);
  EXPECT_EQ(ReadFile(output + ".package-part"), "mine");
  EXPECT_EQ(ListFolder(tmp_.path()), "AB1.exe|AB1.exe.package-part|game");

  const std::string missing = (tmp_.path() / "missing" / "AB1.exe").string();
  RecordingRunView failed;
  EXPECT_FALSE(Pack(missing, true, failed, services).completed);
  ASSERT_EQ(failed.errors.size(), 1u);
  EXPECT_EQ(failed.errors[0].rfind("File:" + missing + "\n", 0), 0u);
  EXPECT_EQ(ListFolder(tmp_.path()), "AB1.exe|AB1.exe.package-part|game");
}

TEST_F(PackageRunTest, PackingAnUnwritableOutputShowsThePackageError) {
  const std::string output = (tmp_.path() / "missing" / "AB1.devuza").string();
  RecordingRunView view;
  const wizard::RunOutcome outcome = Pack(output, false, view, {});
  EXPECT_FALSE(outcome.completed);
  ASSERT_EQ(view.errors.size(), 1u);
  EXPECT_EQ(view.errors[0].rfind("File:" + output + "\n", 0), 0u);
  EXPECT_GT(view.errors[0].size(), ("File:" + output + "\n").size());
}

}  // namespace

namespace {

using namespace wizard_test;

// What Quorvex does: install from a request alone, the registry passed in and
// the list after the run given back, every text in the request's language.
TEST(InstallRequest, InstallsWithoutAWizardStateInTheRequestsLanguage) {
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  const std::string package = (tmp.path() / "QW3.devuza").string();
  WriteFile(package, CraftPackage("QW3", {{"", "QW3.3da", "mesh"}}));

  const wizard::InstallPackageRequest request{
      {game, {"XY7"}, wizard::Language::kPolish}, package, "QW3"};
  RecordingRunView view;
  const wizard::RunOutcome outcome = wizard::InstallPackage(request, view);
  EXPECT_TRUE(outcome.completed);
  EXPECT_EQ(outcome.failures, 0);
  EXPECT_EQ(outcome.custom_cars, (std::vector<std::string>{"XY7", "QW3"}));
  EXPECT_EQ(view.actions.front(), "Rozpakowanie DEVUZA'a...");
  EXPECT_EQ(view.actions[1], "Tworzenie pliku:Data\\Cars\\Cars.scr");
  EXPECT_EQ(view.actions.back(), "Zakończono pomyślnie.");
  EXPECT_EQ(ReadFile(stdfs::path(game) / "Data/Cars/QW3/QW3.3da"), "mesh");
  std::vector<std::string> saved;
  ASSERT_TRUE(wizard::LoadINI(game, saved));
  EXPECT_EQ(saved, outcome.custom_cars);

  // A failure keeps the given list and titles its message in the language.
  RecordingRunView failed;
  const wizard::InstallPackageRequest missing{
      {game, {"XY7"}, wizard::Language::kPolish}, package + ".none", "ZZ1"};
  const wizard::RunOutcome refused = wizard::InstallPackage(missing, failed);
  EXPECT_FALSE(refused.completed);
  EXPECT_EQ(refused.custom_cars, std::vector<std::string>{"XY7"});
  ASSERT_EQ(failed.error_titles.size(), 1u);
  EXPECT_EQ(failed.error_titles[0], "Błąd");
  EXPECT_EQ(failed.actions.back(), "Wystąpiły błędy!");
}

// Quorvex's way: the package read at the end of a self-extracting program,
// and the messages naming that program; a write mode is never carried out.
TEST(InstallRequest, ReadsThePackageAtTheEndOfAProgramInSfxMode) {
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  const stdfs::path plain = tmp / "plain.devuza";
  WriteFile(plain, CraftPackage("QW3", {{"", "QW3.3da", "mesh"}}));
  const stdfs::path program = tmp / "renamed.exe";
  const unsigned char extractor[] = {'M', 'Z', 1, 2, 3};
  std::string error;
  ASSERT_TRUE(devuza::WriteSFXPackage(program, plain, true, extractor, &error)) << error;

  RecordingRunView view;
  const wizard::RunOutcome outcome = wizard::InstallPackage({{game, {}, wizard::Language::kEnglish},
                                                             program.string(),
                                                             "QW3",
                                                             devuza::PackageMode::kReadSfx},
                                                            view);
  EXPECT_TRUE(outcome.completed);
  EXPECT_EQ(outcome.custom_cars, std::vector<std::string>{"QW3"});
  EXPECT_EQ(ReadFile(stdfs::path(game) / "Data/Cars/QW3/QW3.3da"), "mesh");

  // The same program read as a plain package is refused, naming it.
  RecordingRunView plain_mode;
  const wizard::RunOutcome refused = wizard::InstallPackage(
      {{game, {}, wizard::Language::kEnglish}, program.string(), "QW3"}, plain_mode);
  EXPECT_FALSE(refused.completed);
  ASSERT_EQ(plain_mode.errors.size(), 1u);
  EXPECT_EQ(plain_mode.errors[0].rfind("File:" + program.string() + "\n", 0), 0u);

  // A write mode would create or truncate the file: refused before that.
  const std::string before = ReadFile(program);
  RecordingRunView write_mode;
  const wizard::RunOutcome written = wizard::InstallPackage({{game, {}, wizard::Language::kEnglish},
                                                             program.string(),
                                                             "QW3",
                                                             devuza::PackageMode::kWrite},
                                                            write_mode);
  EXPECT_FALSE(written.completed);
  EXPECT_EQ(ReadFile(program), before);
}

}  // namespace
