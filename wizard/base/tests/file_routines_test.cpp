#include "base/file_routines.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/file_attributes.h"
#include "test_support/files.h"
#include "test_support/scratch_folder.h"

namespace wizard {
namespace {

using gm_test::ReadFile;
using gm_test::ScratchFolder;
using gm_test::WriteFile;

TEST(TextFile, WriteReplacesTheFileAndEndsItWithOneLineBreak) {
  ScratchFolder tmp;
  const std::string file = tmp.game_folder() + "Cars.scr";
  ASSERT_TRUE(WriteTextFile(file, "first\r\nsecond"));
  EXPECT_EQ(ReadFile(tmp.path() / "Cars.scr"), "first\r\nsecond\r\n");
  ASSERT_TRUE(WriteTextFile(file, ""));
  EXPECT_EQ(ReadFile(tmp.path() / "Cars.scr"), "\r\n");
  EXPECT_FALSE(WriteTextFile(tmp.game_folder() + "NoFolder\\Cars.scr", "x"));
}

TEST(TextFile, WriteLeavesAReadOnlyFileAlone) {
  ScratchFolder tmp;
  WriteFile(tmp.path() / "Carwright.ini", "old");
  const std::string file = tmp.game_folder() + "Carwright.ini";
  ASSERT_TRUE(SetFileAttributes(file, kAttrReadOnly | kAttrHidden | kAttrSystem));
  EXPECT_TRUE(IsFileReadOnly(file));
  EXPECT_FALSE(WriteTextFile(file, "new"));
  EXPECT_FALSE(AppendText(file, "new"));
  EXPECT_EQ(ReadFile(tmp.path() / "Carwright.ini"), "old");
  ASSERT_TRUE(SetFileAttributes(file, kAttrNormal));
  EXPECT_FALSE(IsFileReadOnly(file));
  EXPECT_TRUE(WriteTextFile(file, "new"));
}

TEST(TextFile, ReadGivesEmptyTextWhenTheFileCannotBeRead) {
  ScratchFolder tmp;
  std::filesystem::create_directories(tmp.path() / "Folder.scr");
  EXPECT_EQ(ReadTextFile(tmp.game_folder() + "Missing.scr"), "");
  EXPECT_EQ(ReadTextFile(tmp.game_folder() + "Folder.scr"), "");
  EXPECT_EQ(ReadFileChecked(tmp.game_folder() + "Missing.scr").status, ReadStatus::kMissing);
  EXPECT_EQ(ReadFileChecked(tmp.game_folder() + "Folder.scr").status, ReadStatus::kUnreadable);
  EXPECT_FALSE(FileExists(tmp.game_folder() + "Folder.scr"));
  EXPECT_FALSE(FileExists(tmp.game_folder() + "Missing.scr"));
}

TEST(ReplaceInFile, ReplacesEveryOccurrenceWithExactCase) {
  ScratchFolder tmp;
  WriteFile(tmp.path() / "Cars.scr", "!include(\"AB1\")\r\n!include(\"ab1\")\r\nAB1AB1");
  ASSERT_TRUE(ReplaceInFile(tmp.game_folder() + "Cars.scr", "AB1", "XY2"));
  EXPECT_EQ(ReadFile(tmp.path() / "Cars.scr"),
            "!include(\"XY2\")\r\n!include(\"ab1\")\r\nXY2XY2\r\n");
}

TEST(ReplaceInFile, RewritesAFileWithoutAMatchAddingOneLineBreak) {
  ScratchFolder tmp;
  WriteFile(tmp.path() / "Parts.scr", "// parts\r\n");
  ASSERT_TRUE(ReplaceInFile(tmp.game_folder() + "Parts.scr", "missing", ""));
  EXPECT_EQ(ReadFile(tmp.path() / "Parts.scr"), "// parts\r\n\r\n");
}

TEST(ReplaceInFile, WritesAMissingFileAnewWithOneEmptyLine) {
  ScratchFolder tmp;
  ASSERT_TRUE(ReplaceInFile(tmp.game_folder() + "Icons.scr", "x", "y"));
  EXPECT_EQ(ReadFile(tmp.path() / "Icons.scr"), "\r\n");
}

TEST(ReplaceInFile, LeavesAFileThatCannotBeReadUntouched) {
  ScratchFolder tmp;
  std::filesystem::create_directories(tmp.path() / "Texts.scr");
  WriteFile(tmp.path() / "Texts.scr/inside", "kept");
  EXPECT_FALSE(ReplaceInFile(tmp.game_folder() + "Texts.scr", "x", "y"));
  EXPECT_EQ(ReadFile(tmp.path() / "Texts.scr/inside"), "kept");
}

TEST(FileContains, SearchesWithExactCase) {
  ScratchFolder tmp;
  WriteFile(tmp.path() / "Cars.scr", "!include(\"AB1\\\\Cars.scr\")\r\n");
  EXPECT_TRUE(FileContains(tmp.game_folder() + "Cars.scr", "AB1\\\\Cars.scr"));
  EXPECT_FALSE(FileContains(tmp.game_folder() + "Cars.scr", "ab1"));
  EXPECT_FALSE(FileContains(tmp.game_folder() + "Missing.scr", ""));
}

TEST(AppendText, AddsLinesWithLineBreaksAndCreatesMissingFiles) {
  ScratchFolder tmp;
  const std::string file = tmp.game_folder() + "Texts.scr";
  const std::vector<std::string> lines = {"!include(\"AB1\\\\Texts.scr\")", ""};
  ASSERT_TRUE(AppendTextLines(file, lines));
  EXPECT_EQ(ReadFile(tmp.path() / "Texts.scr"), "!include(\"AB1\\\\Texts.scr\")\r\n\r\n");
  ASSERT_TRUE(AppendText(file, "tail"));
  EXPECT_EQ(ReadFile(tmp.path() / "Texts.scr"), "!include(\"AB1\\\\Texts.scr\")\r\n\r\ntail");
}

}  // namespace
}  // namespace wizard
