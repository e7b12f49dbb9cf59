#include "base/game_paths.h"

#include <gtest/gtest.h>

#include "base/file_routines.h"
#include "base/folder_routines.h"
#include "test_support/files.h"
#include "test_support/scratch_folder.h"

namespace wizard {
namespace {

using gm_test::ReadFile;
using gm_test::ScratchFolder;
using gm_test::WriteFile;

TEST(GamePaths, ResolvesExistingComponentsWithoutRegardToCase) {
#if defined(_WIN32)
  GTEST_SKIP() << "Windows' file system matches names without regard to case itself";
#endif
  ScratchFolder tmp;
  WriteFile(tmp.path() / "Data/Cars/cars.scr", "x\r\n");
  EXPECT_EQ(ResolveGamePath(tmp.game_folder() + "Data\\Cars\\Cars.scr"),
            tmp.path() / "Data/Cars/cars.scr");
  EXPECT_EQ(ResolveGamePath(tmp.game_folder() + "DATA/cARS\\CARS.SCR"),
            tmp.path() / "Data/Cars/cars.scr");
  // The file routines answer through the resolver.
  EXPECT_TRUE(FileExists(tmp.game_folder() + "Data\\Cars\\Cars.scr"));
  EXPECT_EQ(ReadTextFile(tmp.game_folder() + "data\\cars\\CARS.scr"), "x\r\n");
}

TEST(GamePaths, PrefersTheExactSpellingThenTheSmallestName) {
#if defined(_WIN32)
  GTEST_SKIP() << "Windows' file system matches names without regard to case itself";
#endif
  ScratchFolder tmp;
  WriteFile(tmp.path() / "a.txt", "lower");
  WriteFile(tmp.path() / "A.txt", "upper");
  EXPECT_EQ(ResolveGamePath(tmp.game_folder() + "a.txt"), tmp.path() / "a.txt");
  EXPECT_EQ(ResolveGamePath(tmp.game_folder() + "A.txt"), tmp.path() / "A.txt");
  EXPECT_EQ(ResolveGamePath(tmp.game_folder() + "a.TXT"), tmp.path() / "A.txt");
}

TEST(GamePaths, NewComponentsAreSpelledAsGiven) {
#if defined(_WIN32)
  GTEST_SKIP() << "Windows' file system matches names without regard to case itself";
#endif
  ScratchFolder tmp;
  WriteFile(tmp.path() / "Data/Texts.scr", "");
  EXPECT_EQ(ResolveGamePath(tmp.game_folder() + "data\\Cars\\AB1\\AB1.scr"),
            tmp.path() / "Data/Cars/AB1/AB1.scr");
  ASSERT_TRUE(CreateFolder(tmp.game_folder() + "DATA\\Cars\\AB1\\"));
  EXPECT_TRUE(std::filesystem::is_directory(tmp.path() / "Data/Cars/AB1"));
  EXPECT_FALSE(std::filesystem::exists(tmp.path() / "DATA"));
  ASSERT_TRUE(WriteTextFile(tmp.game_folder() + "data\\cars\\ab1\\New.scr", "n"));
  EXPECT_EQ(ReadFile(tmp.path() / "Data/Cars/AB1/New.scr"), "n\r\n");
}

TEST(GamePaths, SkipsDoubledAndTrailingSeparators) {
#if defined(_WIN32)
  GTEST_SKIP() << "Windows' file system matches names without regard to case itself";
#endif
  ScratchFolder tmp;
  WriteFile(tmp.path() / "Data/Menu/uidef/Textures.def", "");
  EXPECT_EQ(ResolveGamePath(tmp.game_folder() + "\\Data\\\\menu//UIDEF\\"),
            tmp.path() / "Data/Menu/uidef");
  EXPECT_EQ(ResolveGamePath("relative\\path"), std::filesystem::path("relative/path"));
  EXPECT_EQ(ResolveGamePath(""), std::filesystem::path());
}

}  // namespace
}  // namespace wizard
