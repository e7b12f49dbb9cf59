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

TEST(text_file, write_replaces_the_file_and_ends_it_with_one_line_break) {
  ScratchFolder tmp;
  const std::string file = tmp.game_folder() + "Cars.scr";
  ASSERT_TRUE(WriteTextFile(file, "first\r\nsecond"));
  EXPECT_EQ(ReadFile(tmp.path() / "Cars.scr"), "first\r\nsecond\r\n");
  ASSERT_TRUE(WriteTextFile(file, ""));
  EXPECT_EQ(ReadFile(tmp.path() / "Cars.scr"), "\r\n");
  EXPECT_FALSE(WriteTextFile(tmp.game_folder() + "NoFolder\\Cars.scr", "x"));
}

TEST(text_file, write_leaves_a_read_only_file_alone) {
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

TEST(text_file, read_gives_empty_text_when_the_file_cannot_be_read) {
  ScratchFolder tmp;
  std::filesystem::create_directories(tmp.path() / "Folder.scr");
  EXPECT_EQ(ReadTextFile(tmp.game_folder() + "Missing.scr"), "");
  EXPECT_EQ(ReadTextFile(tmp.game_folder() + "Folder.scr"), "");
  EXPECT_EQ(ReadFileChecked(tmp.game_folder() + "Missing.scr").status, ReadStatus::kMissing);
  EXPECT_EQ(ReadFileChecked(tmp.game_folder() + "Folder.scr").status, ReadStatus::kUnreadable);
  EXPECT_FALSE(FileExists(tmp.game_folder() + "Folder.scr"));
  EXPECT_FALSE(FileExists(tmp.game_folder() + "Missing.scr"));
}

TEST(replace_in_file, replaces_every_occurrence_with_exact_case) {
  ScratchFolder tmp;
  WriteFile(tmp.path() / "Cars.scr", "!include(\"AB1\")\r\n!include(\"ab1\")\r\nAB1AB1");
  ASSERT_TRUE(ReplaceInFile(tmp.game_folder() + "Cars.scr", "AB1", "XY2"));
  EXPECT_EQ(ReadFile(tmp.path() / "Cars.scr"),
            "!include(\"XY2\")\r\n!include(\"ab1\")\r\nXY2XY2\r\n");
}

TEST(replace_in_file, rewrites_a_file_without_a_match_adding_one_line_break) {
  ScratchFolder tmp;
  WriteFile(tmp.path() / "Parts.scr", "// parts\r\n");
  ASSERT_TRUE(ReplaceInFile(tmp.game_folder() + "Parts.scr", "missing", ""));
  EXPECT_EQ(ReadFile(tmp.path() / "Parts.scr"), "// parts\r\n\r\n");
}

TEST(replace_in_file, writes_a_missing_file_anew_with_one_empty_line) {
  ScratchFolder tmp;
  ASSERT_TRUE(ReplaceInFile(tmp.game_folder() + "Icons.scr", "x", "y"));
  EXPECT_EQ(ReadFile(tmp.path() / "Icons.scr"), "\r\n");
}

TEST(replace_in_file, leaves_a_file_that_cannot_be_read_untouched) {
  ScratchFolder tmp;
  std::filesystem::create_directories(tmp.path() / "Texts.scr");
  WriteFile(tmp.path() / "Texts.scr/inside", "kept");
  EXPECT_FALSE(ReplaceInFile(tmp.game_folder() + "Texts.scr", "x", "y"));
  EXPECT_EQ(ReadFile(tmp.path() / "Texts.scr/inside"), "kept");
}

TEST(file_contains, searches_with_exact_case) {
  ScratchFolder tmp;
  WriteFile(tmp.path() / "Cars.scr", "!include(\"AB1\\\\Cars.scr\")\r\n");
  EXPECT_TRUE(FileContains(tmp.game_folder() + "Cars.scr", "AB1\\\\Cars.scr"));
  EXPECT_FALSE(FileContains(tmp.game_folder() + "Cars.scr", "ab1"));
  EXPECT_FALSE(FileContains(tmp.game_folder() + "Missing.scr", ""));
}

TEST(append_text, adds_lines_with_line_breaks_and_creates_missing_files) {
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
