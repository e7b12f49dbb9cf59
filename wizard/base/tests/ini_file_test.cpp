#include "base/ini_file.h"

#include <gtest/gtest.h>

#include "base/file_attributes.h"
#include "test_support/files.h"
#include "test_support/scratch_folder.h"

namespace wizard {
namespace {

using gm_test::ReadFile;
using gm_test::ScratchFolder;
using gm_test::WriteFile;

TEST(INIFile, FindsSectionsAndKeysWithoutRegardToCaseFirstMatchWinning) {
  const std::string text =
      "; comment=1\r\n"
      "top=outside\r\n"
      "[Other]\r\n"
      "CarsCount=9\r\n"
      "[ cars ]\r\n"
      "  carscount =  2  \r\n"
      "CARSCOUNT=3\n"
      "CarID1=\"AB1\"\r\n"
      "CarID2='X'Y'\r\n"
      "Empty=\r\n"
      "[CARS]\r\n"
      "CarID3=late\r\n";
  EXPECT_EQ(FindINIValue(text, "Cars", "CarsCount"), "2");
  EXPECT_EQ(FindINIValue(text, "Cars", "CarID1"), "AB1");
  EXPECT_EQ(FindINIValue(text, "Cars", "CarID2"), "X'Y");
  EXPECT_EQ(FindINIValue(text, "Cars", "Empty"), "");
  EXPECT_EQ(FindINIValue(text, "Cars", "CarID3"), "late");
  EXPECT_EQ(FindINIValue(text, "Cars", "top"), std::nullopt);
  EXPECT_EQ(FindINIValue(text, "Cars", "; comment"), std::nullopt);
  EXPECT_EQ(FindINIValue(text, "Missing", "CarsCount"), std::nullopt);

  const auto section = FindINISection(text, "cars");
  EXPECT_EQ(section.at("CARSCOUNT"), "2");
  EXPECT_EQ(section.at("CARID3"), "late");
  EXPECT_EQ(section.count("TOP"), 0u);
}

TEST(INIFile, SetRewritesTheFirstMatchAndKeepsOtherLines) {
  const std::string text = "; keep me\n[cars]\ncarscount = 1\nCarID1=AB1\n\n[Other]\nX=1\n";
  EXPECT_EQ(SetINIValue(text, "Cars", "CarsCount", "2"),
            "; keep me\r\n[cars]\r\ncarscount=2\r\nCarID1=AB1\r\n\r\n[Other]\r\nX=1\r\n");
  // A new key goes after the section's last non-blank line.
  EXPECT_EQ(SetINIValue(text, "CARS", "CarID2", "XY7"),
            "; keep me\r\n[cars]\r\ncarscount = 1\r\nCarID1=AB1\r\nCarID2=XY7\r\n\r\n"
            "[Other]\r\nX=1\r\n");
  // A new section is appended after a blank line.
  EXPECT_EQ(SetINIValue("[Other]\r\nX=1\r\n\r\n", "Cars", "CarsCount", "0"),
            "[Other]\r\nX=1\r\n\r\n[Cars]\r\nCarsCount=0\r\n");
  EXPECT_EQ(SetINIValue("", "Cars", "CarsCount", "0"), "[Cars]\r\nCarsCount=0\r\n");
}

TEST(INIFile, RefusesEntriesThatWouldBreakTheFile) {
  EXPECT_TRUE(IsValidINIEntry("Cars", "CarID1", ""));
  EXPECT_FALSE(IsValidINIEntry("Cars", "CarID1", "AB1\r\nCarsCount=99"));
  EXPECT_FALSE(IsValidINIEntry("Ca]rs", "CarID1", "AB1"));
  EXPECT_FALSE(IsValidINIEntry("Cars", "Car=ID", "AB1"));
  EXPECT_FALSE(IsValidINIEntry("Cars", ";CarID", "AB1"));
  EXPECT_FALSE(IsValidINIEntry("", "CarID1", "AB1"));
  EXPECT_FALSE(IsValidINIEntry("Cars", " CarID1", "AB1"));
}

TEST(INIFile, ReadCutsValuesTo254Characters) {
  ScratchFolder tmp;
  WriteFile(tmp.path() / "Carwright.ini", "[Cars]\r\nLong=" + std::string(300, 'a') + "\r\n");
  const std::string file = tmp.game_folder() + "carwright.INI";
  EXPECT_EQ(ReadINIValue("Cars", "Long", file), std::string(254, 'a'));
  EXPECT_EQ(ReadINIValue("Cars", "Missing", file), "");
  EXPECT_EQ(ReadINIValue("Cars", "Long", tmp.game_folder() + "Missing.ini"), "");
}

TEST(INIFile, WriteCreatesUpdatesAndRefuses) {
  ScratchFolder tmp;
  const std::string file = tmp.game_folder() + "Carwright.ini";
  ASSERT_TRUE(WriteINIValue("Cars", "CarsCount", "1", file));
  ASSERT_TRUE(WriteINIValue("Cars", "CarID1", "AB1", file));
  ASSERT_TRUE(WriteINIValue("cars", "carscount", "2", file));
  EXPECT_EQ(ReadFile(tmp.path() / "Carwright.ini"), "[Cars]\r\nCarsCount=2\r\nCarID1=AB1\r\n");

  EXPECT_FALSE(WriteINIValue("Cars", "CarID2", "A\nB", file));
  ASSERT_TRUE(SetFileAttributes(file, kAttrReadOnly));
  EXPECT_FALSE(WriteINIValue("Cars", "CarID2", "XY7", file));
  EXPECT_EQ(ReadFile(tmp.path() / "Carwright.ini"), "[Cars]\r\nCarsCount=2\r\nCarID1=AB1\r\n");
  EXPECT_FALSE(WriteINIValue("Cars", "CarsCount", "0", tmp.game_folder() + "No\\Carwright.ini"));
}

}  // namespace
}  // namespace wizard
