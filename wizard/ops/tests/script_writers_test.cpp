#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/atomic_file.h"
#include "base/file_attributes.h"
#include "base/string_table.h"
#include "ops/car_scripts.h"
#include "scripts_test_support.h"

namespace {

using gm_test::ReadFile;
using gm_test::ScratchFolder;
using gm_test::WriteFile;
using wizard::CarScriptSetup;
using wizard_test::ProgressLog;
using wizard_test::StartupCar;

class ScriptWriters : public ::testing::Test {
 protected:
  ScratchFolder scratch_;
  ProgressLog log_;
};

TEST_F(ScriptWriters, WriteTheMadeScriptsAndReportEachFile) {
  CarScriptSetup car = StartupCar("AB1");
  car.CarPaintingsCount = 2;
  car.CarParts = 5;
  const std::string folder = scratch_.path().string();  // no trailing separator
  EXPECT_TRUE(wizard::WriteGRCarsScript(car, folder, "Cars.scr", log_.step()));
  EXPECT_TRUE(wizard::WriteGRPartsScript(car, folder, "Parts.scr", log_.step()));
  EXPECT_TRUE(wizard::WriteGRModelScript(car, folder, "Model.scr", log_.step()));
  EXPECT_TRUE(wizard::WriteGRTextsScript(car, folder, "Texts.scr", log_.step()));
  EXPECT_TRUE(wizard::WriteGRIconsScript(car, folder, "Icons.scr", log_.step()));
  EXPECT_EQ(log_.files, (std::vector<std::string>{"Cars.scr", "Parts.scr", "Model.scr", "Texts.scr",
                                                  "Icons.scr"}));
  EXPECT_EQ(ReadFile(scratch_.path() / "Cars.scr"), *wizard::MakeCarsScript(car));
  EXPECT_EQ(ReadFile(scratch_.path() / "Parts.scr"), *wizard::MakePartsScript(car));
  EXPECT_EQ(ReadFile(scratch_.path() / "Model.scr"), *wizard::MakeModelScript(car));
  EXPECT_EQ(ReadFile(scratch_.path() / "Texts.scr"), *wizard::MakeTextsScript(car));
  EXPECT_EQ(ReadFile(scratch_.path() / "Icons.scr"), *wizard::MakeIconsScript(car));
}

TEST_F(ScriptWriters, ReplaceAnOlderFileCompletely) {
  WriteFile(scratch_.path() / "Icons.scr", std::string(5000, 'x'));
  const CarScriptSetup car = StartupCar("AB1");
  ASSERT_TRUE(wizard::WriteGRIconsScript(car, scratch_.game_folder(), "Icons.scr", log_.step()));
  EXPECT_EQ(ReadFile(scratch_.path() / "Icons.scr"), *wizard::MakeIconsScript(car));
}

TEST_F(ScriptWriters, MissingFolderFailsWithoutReport) {
  const CarScriptSetup car = StartupCar("AB1");
  const std::string folder = (scratch_.path() / "no" / "such").string();
  EXPECT_FALSE(wizard::WriteGRCarsScript(car, folder, "Cars.scr", log_.step()));
  EXPECT_FALSE(wizard::WriteGRModelScript(car, folder, "Model.scr", log_.step()));
  EXPECT_TRUE(log_.files.empty());
  EXPECT_FALSE(std::filesystem::exists(scratch_.path() / "no"));
}

TEST_F(ScriptWriters, ReadOnlyFileIsLeftAsItWas) {
  const auto path = scratch_.path() / "Texts.scr";
  WriteFile(path, "old\r\n");
  ASSERT_TRUE(wizard::SetFileAttributes(path.string(), wizard::kAttrReadOnly));
  EXPECT_FALSE(wizard::WriteGRTextsScript(StartupCar("AB1"), scratch_.game_folder(), "Texts.scr",
                                          log_.step()));
  EXPECT_EQ(ReadFile(path), "old\r\n");
  EXPECT_TRUE(log_.files.empty());
}

TEST_F(ScriptWriters, FailedWriteLeavesNoHalfWrittenFile) {
  const auto path = scratch_.path() / "Parts.scr";
  WriteFile(path, "old parts\r\n");
  wizard::FailNextAtomicWriteAt(wizard::AtomicWriteStep::kWrite);
  EXPECT_FALSE(wizard::WriteGRPartsScript(StartupCar("AB1"), scratch_.game_folder(), "Parts.scr",
                                          log_.step()));
  wizard::FailNextAtomicWriteAt(wizard::AtomicWriteStep::kNone);
  EXPECT_EQ(ReadFile(path), "old parts\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch_.path()),
                          std::filesystem::directory_iterator()),
            1);
  EXPECT_TRUE(log_.files.empty());
}

TEST_F(ScriptWriters, MissingTemplateWritesNothing) {
  CarScriptSetup car = StartupCar("AB1");
  car.Variants[0].Group = 8;  // no group pieces 91 to 97
  EXPECT_FALSE(wizard::WriteGRPartsScript(car, scratch_.game_folder(), "Parts.scr", log_.step()));
  EXPECT_FALSE(std::filesystem::exists(scratch_.path() / "Parts.scr"));
  EXPECT_TRUE(log_.files.empty());
}

}  // namespace
