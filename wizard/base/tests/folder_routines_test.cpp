#include "base/folder_routines.h"

#include <gtest/gtest.h>

#include "base/game_folder.h"
#include "base/text_routines.h"
#include "test_support/files.h"
#include "test_support/scratch_folder.h"

namespace wizard {
namespace {

namespace stdfs = std::filesystem;
using gm_test::ListFolder;
using gm_test::ScratchFolder;
using gm_test::WriteFile;

TEST(Folders, CreateMakesEveryFolderUpToTheLastSeparator) {
  ScratchFolder tmp;
  EXPECT_TRUE(CreateFolder(tmp.game_folder() + "Data\\Cars\\AB1\\"));
  EXPECT_TRUE(stdfs::is_directory(tmp.path() / "Data/Cars/AB1"));
  EXPECT_TRUE(CreateFolder(tmp.game_folder() + "Data\\Cars\\AB2\\AB2.scr"));
  EXPECT_TRUE(stdfs::is_directory(tmp.path() / "Data/Cars/AB2"));
  EXPECT_FALSE(stdfs::exists(tmp.path() / "Data/Cars/AB2/AB2.scr"));
  EXPECT_FALSE(CreateFolder("NoSeparator"));
  WriteFile(tmp.path() / "File", "x");
  EXPECT_FALSE(CreateFolder(tmp.game_folder() + "File\\Sub\\"));
}

TEST(Folders, ExistsCreatesOnlyWhenAsked) {
  ScratchFolder tmp;
  EXPECT_FALSE(FolderExists(tmp.game_folder() + "Data\\Cars"));
  EXPECT_FALSE(stdfs::exists(tmp.path() / "Data"));
  EXPECT_TRUE(FolderExists(tmp.game_folder() + "Data\\Cars", true));
  EXPECT_TRUE(FolderExists(tmp.game_folder() + "DATA\\cars\\"));
  WriteFile(tmp.path() / "File", "x");
  EXPECT_FALSE(FolderExists(tmp.game_folder() + "File"));
}

TEST(Folders, DeleteRemovesTheTreeAndReportsWhetherItExisted) {
  ScratchFolder tmp;
  WriteFile(tmp.path() / "Cars/AB1/AB1.scr", "x");
  WriteFile(tmp.path() / "Cars/AB1/AB11/deep/AB11.dds", "x");
  stdfs::permissions(tmp.path() / "Cars/AB1/AB1.scr", stdfs::perms(0444));
  EXPECT_TRUE(DeleteFolder(tmp.game_folder() + "cars\\ab1"));
  EXPECT_EQ(ListFolder(tmp.path() / "Cars"), "");
  EXPECT_FALSE(DeleteFolder(tmp.game_folder() + "Cars\\AB1"));
  WriteFile(tmp.path() / "Cars/file", "x");
  EXPECT_FALSE(DeleteFolder(tmp.game_folder() + "Cars\\file"));
  EXPECT_TRUE(stdfs::exists(tmp.path() / "Cars/file"));
}

TEST(Folders, DeleteTreeRemovesLinksWithoutFollowingThem) {
#if defined(_WIN32)
  GTEST_SKIP() << "symbolic links and / as the separator are POSIX's";
#endif
  ScratchFolder tmp;
  WriteFile(tmp.path() / "outside/keep.txt", "keep");
  WriteFile(tmp.path() / "car/file.txt", "x");
  stdfs::create_directory_symlink(tmp.path() / "outside", tmp.path() / "car/link");
  DeleteTree(tmp.game_folder() + "car");
  EXPECT_FALSE(stdfs::exists(stdfs::symlink_status(tmp.path() / "car")));
  EXPECT_TRUE(stdfs::exists(tmp.path() / "outside/keep.txt"));
  DeleteTree(tmp.game_folder() + "missing");  // nothing to do, no error
}

TEST(Folders, AddBackslashAppendsOneSeparator) {
#if defined(_WIN32)
  GTEST_SKIP() << "symbolic links and / as the separator are POSIX's";
#endif
  EXPECT_EQ(AddBackslash("/games/gm"), "/games/gm/");
  EXPECT_EQ(AddBackslash("/games/gm/"), "/games/gm/");
  EXPECT_EQ(AddBackslash("C:\\Games\\"), "C:\\Games\\");
  EXPECT_EQ(AddBackslash(""), "/");
}

TEST(Folders, ContainsAnyOfComparesUpperCased) {
  EXPECT_TRUE(ContainsAnyOf(kForbiddenTextChars, "Car #1"));
  EXPECT_TRUE(ContainsAnyOf(kForbiddenTextChars, "say \"x\""));
  EXPECT_FALSE(ContainsAnyOf(kForbiddenTextChars, "Custom Car 1"));
  EXPECT_FALSE(ContainsAnyOf(kForbiddenTextChars, ""));
  EXPECT_TRUE(ContainsAnyOf("AB", "xb"));
  EXPECT_FALSE(ContainsAnyOf("ab", "ab"));
}

TEST(GameFolder, NeedsTheExecutableAndTheTrailingSeparator) {
  ScratchFolder tmp;
  EXPECT_FALSE(CheckGameFolder(tmp.game_folder()));
  WriteFile(tmp.path() / "Gravelmoor.exe", "MZ");
  EXPECT_TRUE(CheckGameFolder(tmp.game_folder()));
  EXPECT_FALSE(CheckGameFolder(tmp.path().string()));
  stdfs::create_directories(tmp.path() / "sub/Gravelmoor.exe");
  EXPECT_FALSE(CheckGameFolder(tmp.game_folder() + "sub/"));
}

}  // namespace
}  // namespace wizard
