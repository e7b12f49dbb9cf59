#include "base/custom_cars.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "base/file_attributes.h"
#include "test_support/files.h"
#include "test_support/scratch_folder.h"

namespace wizard {
namespace {

namespace stdfs = std::filesystem;
using gm_test::ReadFile;
using gm_test::ScratchFolder;
using gm_test::WriteFile;

TEST(CarRegistry, LoadGivesEmptyEntriesForMissingIDKeys) {
  ScratchFolder tmp;
  WriteFile(tmp.path() / "Carwright.ini", "[Cars]\r\nCarsCount=2\r\nCarID1=AB1\r\n");
  std::vector<std::string> cars = {"old"};
  ASSERT_TRUE(LoadINI(tmp.game_folder(), cars));
  EXPECT_EQ(cars, (std::vector<std::string>{"AB1", ""}));
}

TEST(CarRegistry, LoadSkipsAUtf8ByteOrderMark) {
  ScratchFolder tmp;
  WriteFile(tmp.path() / "Carwright.ini",
            "\xEF\xBB\xBF[Cars]\r\nCarsCount=2\r\nCarID1=AB1\r\nCarID2=XY7\r\n");
  std::vector<std::string> cars;
  ASSERT_TRUE(LoadINI(tmp.game_folder(), cars));
  EXPECT_EQ(cars, (std::vector<std::string>{"AB1", "XY7"}));
}

TEST(CarRegistry, LoadWithoutACountGivesFalseAndAnEmptyList) {
  ScratchFolder tmp;
  std::vector<std::string> cars = {"old"};
  EXPECT_FALSE(LoadINI(tmp.game_folder(), cars));
  EXPECT_TRUE(cars.empty());

  WriteFile(tmp.path() / "Carwright.ini", "[Cars]\r\nCarID1=AB1\r\n");
  EXPECT_FALSE(LoadINI(tmp.game_folder(), cars));
  WriteFile(tmp.path() / "Carwright.ini", "[Cars]\r\nCarsCount=\r\nCarID1=AB1\r\n");
  EXPECT_FALSE(LoadINI(tmp.game_folder(), cars));
  EXPECT_TRUE(cars.empty());
}

TEST(CarRegistry, LoadRefusesCountsThatAreNotNumbersOrTooLarge) {
  ScratchFolder tmp;
  std::vector<std::string> cars;
  for (const char* count : {"two", "2x", "-3"}) {
    WriteFile(tmp.path() / "Carwright.ini",
              std::string("[Cars]\r\nCarsCount=") + count + "\r\nCarID1=AB1\r\n");
    EXPECT_TRUE(LoadINI(tmp.game_folder(), cars)) << count;
    EXPECT_TRUE(cars.empty()) << count;
  }
  for (const char* count : {"50654", "99999999999999999999999"}) {
    WriteFile(tmp.path() / "Carwright.ini", std::string("[Cars]\r\nCarsCount=") + count);
    EXPECT_FALSE(LoadINI(tmp.game_folder(), cars)) << count;
    EXPECT_TRUE(cars.empty()) << count;
  }
}

// What the wizard and the sub-commands load before they may rewrite it.
TEST(CarRegistry, LoadCustomCarsRefusesARegistryItCouldOnlyWriteOver) {
  ScratchFolder tmp;
  const stdfs::path ini = tmp.path() / "Carwright.ini";
  std::vector<std::string> cars = {"old"};
  std::string problem;
  EXPECT_TRUE(LoadCustomCars(tmp.game_folder(), cars, problem));  // missing
  EXPECT_TRUE(cars.empty());
  EXPECT_EQ(problem, "");
  for (const char* count : {"two", "2x", "-3"}) {
    WriteFile(ini, std::string("[Cars]\r\nCarsCount=") + count + "\r\nCarID1=AB1\r\n");
    cars = {"old"};
    EXPECT_FALSE(LoadCustomCars(tmp.game_folder(), cars, problem)) << count;
    EXPECT_TRUE(cars.empty()) << count;
    EXPECT_EQ(problem, ini.string() + ": the registry of custom cars gives CarsCount=" + count +
                           ", which is not a number of cars");
  }

  WriteFile(ini, "[Cars]\r\nCarsCount=50654\r\nCarID1=AB1\r\n");
  cars = {"old"};
  EXPECT_FALSE(LoadCustomCars(tmp.game_folder(), cars, problem));
  EXPECT_TRUE(cars.empty());
  EXPECT_EQ(problem, ini.string() +
                         ": the registry of custom cars gives CarsCount=50654, more than the 50653 "
                         "it can hold");

  stdfs::remove(ini);
  stdfs::create_directories(ini);
  EXPECT_FALSE(LoadCustomCars(tmp.game_folder(), cars, problem));
  EXPECT_EQ(problem, ini.string() + ": cannot read the registry of custom cars");

#ifndef _WIN32
  // A FIFO would wait for a writer if it were opened, a device might never
  // end: both are refused without being read.
  stdfs::remove(ini);
  ASSERT_EQ(::mkfifo(ini.c_str(), 0600), 0);
  problem.clear();
  EXPECT_FALSE(LoadCustomCars(tmp.game_folder(), cars, problem));
  EXPECT_EQ(problem, ini.string() + ": cannot read the registry of custom cars");
  EXPECT_FALSE(LoadINI(tmp.game_folder(), cars));
  stdfs::remove(ini);
  stdfs::create_symlink("/dev/zero", ini);
  problem.clear();
  EXPECT_FALSE(LoadCustomCars(tmp.game_folder(), cars, problem));
  EXPECT_EQ(problem, ini.string() + ": cannot read the registry of custom cars");
#endif
}

TEST(CarRegistry, WriteOfZeroCarsWritesTheCountOnlyAndProtectsTheFile) {
  ScratchFolder tmp;
  WriteFile(tmp.path() / "Carwright.ini", "[Cars]\r\nCarsCount=1\r\nCarID1=AB1\r\n[Keep]\r\n");
  ASSERT_TRUE(WriteINI(tmp.game_folder(), {}));
  EXPECT_EQ(ReadFile(tmp.path() / "Carwright.ini"), "[Cars]\r\nCarsCount=0\r\n");
  EXPECT_TRUE(IsFileReadOnly(tmp.game_folder() + "Carwright.ini"));
  std::vector<std::string> cars = {"old"};
  EXPECT_TRUE(LoadINI(tmp.game_folder(), cars));
  EXPECT_TRUE(cars.empty());
}

TEST(CarRegistry, WriteClearsTheProtectionFirstAndRoundTrips) {
  ScratchFolder tmp;
  ASSERT_TRUE(WriteINI(tmp.game_folder(), {"AB1"}));
  ASSERT_TRUE(IsFileReadOnly(tmp.game_folder() + "Carwright.ini"));
  const std::vector<std::string> written = {"AB1", "XY7", "__0"};
  ASSERT_TRUE(WriteINI(tmp.game_folder(), written));
  EXPECT_EQ(ReadFile(tmp.path() / "Carwright.ini"),
            "[Cars]\r\nCarsCount=3\r\nCarID1=AB1\r\nCarID2=XY7\r\nCarID3=__0\r\n");
  std::vector<std::string> read;
  ASSERT_TRUE(LoadINI(tmp.game_folder(), read));
  EXPECT_EQ(read, written);
}

TEST(CarRegistry, WriteRefusesAnIDThatWouldBreakTheFileAndKeepsTheOld) {
  ScratchFolder tmp;
  ASSERT_TRUE(WriteINI(tmp.game_folder(), {"AB1"}));
  const std::string before = ReadFile(tmp.path() / "Carwright.ini");
  EXPECT_FALSE(WriteINI(tmp.game_folder(), {"AB1", "X\r\nCarsCount=9"}));
  EXPECT_EQ(ReadFile(tmp.path() / "Carwright.ini"), before);
  EXPECT_TRUE(IsFileReadOnly(tmp.game_folder() + "Carwright.ini"));
}

TEST(CarRegistry, RegistrationTextNamesTheCarsScript) {
  EXPECT_EQ(CarRegistrationText("AB1", "Cars.scr"), "!include(\"AB1\\\\Cars.scr\")");
}

// A game folder with car AB1 registered in the four master scripts.
void MakeGameWithCar(const stdfs::path& game, bool with_folder) {
  WriteFile(game / "Gravelmoor.exe", "MZ");
  WriteFile(game / "Data/Cars/cars.scr",
            "!include(\"BMX\\\\Cars.scr\")\r\n!include(\"AB1\\\\Cars.scr\")\r\n");
  WriteFile(game / "Data/Cars/Parts.scr", "!include(\"AB1\\\\Parts.scr\")\r\n");
  WriteFile(game / "Data/Cars/Icons.scr", "!include(\"AB1\\\\Icons.scr\")\r\n");
  WriteFile(game / "Data/Cars/Texts.scr", "!include(\"AB1\\\\Texts.scr\")\r\n");
  if (with_folder) {
    WriteFile(game / "Data/Cars/AB1/Cars.scr", "car");
    WriteFile(game / "Data/Cars/AB1/AB11/AB11.dds", "dds");
  }
}

void ExpectRegistrationGone(const stdfs::path& game) {
  EXPECT_EQ(ReadFile(game / "Data/Cars/cars.scr"), "!include(\"BMX\\\\Cars.scr\")\r\n\r\n\r\n");
  EXPECT_EQ(ReadFile(game / "Data/Cars/Parts.scr"), "\r\n\r\n");
  EXPECT_EQ(ReadFile(game / "Data/Cars/Icons.scr"), "\r\n\r\n");
  EXPECT_EQ(ReadFile(game / "Data/Cars/Texts.scr"), "\r\n\r\n");
}

TEST(CarRegistry, DeleteCarRemovesRegistrationAndFolder) {
  ScratchFolder tmp;
  MakeGameWithCar(tmp.path(), true);
  WriteFile(tmp.path() / "Data/Cars/AB2/Cars.scr", "neighbour");
  const CarRemoval removal = GRDeleteCar(tmp.game_folder(), "AB1");
  EXPECT_TRUE(removal.folder_removed);
  EXPECT_TRUE(removal.lines_kept_in.empty());
  ExpectRegistrationGone(tmp.path());
  EXPECT_FALSE(stdfs::exists(tmp.path() / "Data/Cars/AB1"));
  EXPECT_EQ(ReadFile(tmp.path() / "Data/Cars/AB2/Cars.scr"), "neighbour");
}

TEST(CarRegistry, DeleteCarWithoutFolderStillRemovesRegistrationAndGivesFalse) {
  ScratchFolder tmp;
  MakeGameWithCar(tmp.path(), false);
  EXPECT_FALSE(GRDeleteCar(tmp.game_folder(), "AB1").folder_removed);
  ExpectRegistrationGone(tmp.path());
}

TEST(CarRegistry, DeleteCarRefusesIDsThatNameNoCarFolderAndTheGamesOwnCars) {
  ScratchFolder tmp;
  MakeGameWithCar(tmp.path(), true);
  WriteFile(tmp.path() / "Data/Cars/BMX/Cars.scr", "the game's own car");
  const std::string master = ReadFile(tmp.path() / "Data/Cars/cars.scr");
  for (const char* id : {"", "..", "AB1\\..\\..", "A/B", "BMX", "bmx"}) {
    const CarRemoval removal = GRDeleteCar(tmp.game_folder(), id);
    EXPECT_FALSE(removal.folder_removed) << id;
    EXPECT_TRUE(removal.lines_kept_in.empty()) << id;
  }
  EXPECT_TRUE(stdfs::exists(tmp.path() / "Data/Cars/AB1/Cars.scr"));
  EXPECT_TRUE(stdfs::exists(tmp.path() / "Data/Cars/BMX/Cars.scr"));
  EXPECT_EQ(ReadFile(tmp.path() / "Data/Cars/cars.scr"), master);
  EXPECT_TRUE(stdfs::exists(tmp.path() / "Gravelmoor.exe"));
}

// A line that cannot be removed keeps the car's folder, so that the delete can
// be done again; the scripts that could be cleared are cleared.
TEST(CarRegistry, DeleteCarKeepsTheFolderWhileAScriptKeepsTheLine) {
  ScratchFolder tmp;
  MakeGameWithCar(tmp.path(), true);
  const stdfs::path cars = tmp.path() / "Data/Cars";
  ASSERT_TRUE(SetFileAttributes((cars / "cars.scr").string(), kAttrReadOnly));
  stdfs::remove(cars / "Icons.scr");
  stdfs::create_directories(cars / "Icons.scr");  // cannot be read
  const CarRemoval removal = GRDeleteCar(tmp.game_folder(), "AB1");
  EXPECT_FALSE(removal.folder_removed);
  EXPECT_EQ(removal.lines_kept_in,
            (std::vector<std::string>{tmp.game_folder() + "Data\\Cars\\Cars.scr",
                                      tmp.game_folder() + "Data\\Cars\\Icons.scr"}));
  EXPECT_TRUE(stdfs::exists(cars / "AB1/AB11/AB11.dds"));
  EXPECT_NE(ReadFile(cars / "cars.scr").find("AB1"), std::string::npos);
  EXPECT_EQ(ReadFile(cars / "Parts.scr"), "\r\n\r\n");
  EXPECT_EQ(ReadFile(cars / "Texts.scr"), "\r\n\r\n");
}

TEST(CarRegistry, DeleteCarIsNotStoppedByAnUnwritableScriptWithoutTheLine) {
  ScratchFolder tmp;
  MakeGameWithCar(tmp.path(), true);
  const stdfs::path parts = tmp.path() / "Data/Cars/Parts.scr";
  WriteFile(parts, "// no custom parts\r\n");
  ASSERT_TRUE(SetFileAttributes(parts.string(), kAttrReadOnly));
  const CarRemoval removal = GRDeleteCar(tmp.game_folder(), "AB1");
  EXPECT_TRUE(removal.folder_removed);
  EXPECT_TRUE(removal.lines_kept_in.empty());
  EXPECT_EQ(ReadFile(parts), "// no custom parts\r\n");
  EXPECT_FALSE(stdfs::exists(tmp.path() / "Data/Cars/AB1"));
}

}  // namespace
}  // namespace wizard
