#include "wizard/registration.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "scripts_test_support.h"
#include "wizard/file_attributes.h"
#include "wizard/string_table.h"

namespace {

using wizard_test::ProgressLog;
using wizard_test::ReadBytes;
using wizard_test::TestFolder;
using wizard_test::WriteBytes;

namespace fs = std::filesystem;

// A copy of the demo game: Data/Texts.scr, Data/Menu/uidef/Textures.def and
// the game's Data/Cars/cars.scr (lower case on disk) and Parts.scr.
class Registration : public ::testing::Test {
 protected:
  void SetUp() override {
    wizard::SetUiLanguage(wizard::Language::kEnglish);
    fs::copy(fs::path(GM_SOURCE_DIR) / "demo" / "game", scratch_.path(),
             fs::copy_options::recursive);
    game_ = scratch_.game_folder();
  }
  fs::path At(const char* relative) const { return scratch_.path() / relative; }

  TestFolder scratch_;
  std::string game_;
  ProgressLog log_;
};

TEST(RegistrationLine, DoublesTheBackslashOfTheGameString) {
  EXPECT_EQ(wizard::RegistrationLine("AB1", "Cars.scr"), "!include(\"AB1\\\\Cars.scr\")");
  EXPECT_EQ(wizard::kTextsChainLine, "!include(\"Cars\\\\Texts.scr\")");
  EXPECT_EQ(wizard::kIconsChainLine, "!include(\"..\\\\..\\\\Cars\\\\Icons.scr\")");
}

TEST_F(Registration, FirstCarOnAFreshGame) {
  const std::string cars = ReadBytes(At("Data/Cars/cars.scr"));
  const std::string parts = ReadBytes(At("Data/Cars/Parts.scr"));
  const std::string texts = ReadBytes(At("Data/Texts.scr"));
  const std::string textures = ReadBytes(At("Data/Menu/uidef/Textures.def"));

  EXPECT_TRUE(wizard::UpdateGRCarsScript(game_, "AB1", log_.step()));
  EXPECT_TRUE(wizard::UpdateGRPartsScript(game_, "AB1", log_.step()));
  EXPECT_TRUE(wizard::UpdateGRTextsScript(game_, "AB1", log_.step()));
  EXPECT_TRUE(wizard::UpdateGRIconsScript(game_, "AB1", log_.step()));

  EXPECT_EQ(ReadBytes(At("Data/Cars/cars.scr")), cars + "!include(\"AB1\\\\Cars.scr\")\r\n\r\n");
  EXPECT_FALSE(fs::exists(At("Data/Cars/Cars.scr")));
  EXPECT_EQ(ReadBytes(At("Data/Cars/Parts.scr")), parts + "!include(\"AB1\\\\Parts.scr\")\r\n\r\n");
  EXPECT_EQ(ReadBytes(At("Data/Texts.scr")),
            texts + "\r\n// Created by Carwright\r\n!include(\"Cars\\\\Texts.scr\")\r\n\r\n");
  EXPECT_EQ(ReadBytes(At("Data/Menu/uidef/Textures.def")),
            textures +
                "\r\n// --- Created by Carwright. Do not modyfy. ---\r\n"
                "!include(\"..\\\\..\\\\Cars\\\\Icons.scr\")\r\n\r\n");
  EXPECT_EQ(ReadBytes(At("Data/Cars/Texts.scr")), "!include(\"AB1\\\\Texts.scr\")\r\n\r\n");
  EXPECT_EQ(ReadBytes(At("Data/Cars/Icons.scr")), "!include(\"AB1\\\\Icons.scr\")\r\n\r\n");
  EXPECT_EQ(log_.statuses, (std::vector<std::string>{
                               "Creating file:Data\\Cars\\Cars.scr",
                               "Creating file:Data\\Cars\\Parts.scr",
                               "Creating file:Data\\Cars\\Texts.scr",
                               "Creating file:Data\\Cars\\Icons.scr",
                           }));
}

TEST_F(Registration, SecondCarAddsOnlyItsLines) {
  for (const char* id : {"AB1", "CD2"}) {
    ASSERT_TRUE(wizard::UpdateGRTextsScript(game_, id));
    ASSERT_TRUE(wizard::UpdateGRIconsScript(game_, id));
  }
  const std::string texts = ReadBytes(At("Data/Texts.scr"));
  const std::string chain = "!include(\"Cars\\\\Texts.scr\")";
  EXPECT_EQ(texts.find(chain), texts.rfind(chain));
  const std::string textures = ReadBytes(At("Data/Menu/uidef/Textures.def"));
  const std::string icons_chain = "!include(\"..\\\\..\\\\Cars\\\\Icons.scr\")";
  EXPECT_EQ(textures.find(icons_chain), textures.rfind(icons_chain));
  EXPECT_EQ(ReadBytes(At("Data/Cars/Texts.scr")),
            "!include(\"AB1\\\\Texts.scr\")\r\n\r\n!include(\"CD2\\\\Texts.scr\")\r\n\r\n");
  EXPECT_EQ(ReadBytes(At("Data/Cars/Icons.scr")),
            "!include(\"AB1\\\\Icons.scr\")\r\n\r\n!include(\"CD2\\\\Icons.scr\")\r\n\r\n");
}

TEST_F(Registration, ReadOnlyCarListIsMadeWritableAndAppendedTo) {
  const std::string path = At("Data/Cars/cars.scr").string();
  const std::string before = ReadBytes(path);
  ASSERT_TRUE(wizard::SetFileAttributes(path, wizard::kAttrReadOnly));
  EXPECT_TRUE(wizard::UpdateGRCarsScript(game_, "AB1", log_.step()));
  EXPECT_EQ(ReadBytes(path), before + "!include(\"AB1\\\\Cars.scr\")\r\n\r\n");
  EXPECT_FALSE(wizard::IsFileReadOnly(path));
}

TEST_F(Registration, MissingCarListFailsAndCreatesNothing) {
  fs::remove(At("Data/Cars/cars.scr"));
  fs::remove(At("Data/Cars/Parts.scr"));
  EXPECT_FALSE(wizard::UpdateGRCarsScript(game_, "AB1", log_.step()));
  EXPECT_FALSE(wizard::UpdateGRPartsScript(game_, "AB1", log_.step()));
  EXPECT_FALSE(fs::exists(At("Data/Cars/cars.scr")));
  EXPECT_FALSE(fs::exists(At("Data/Cars/Cars.scr")));
  EXPECT_FALSE(fs::exists(At("Data/Cars/Parts.scr")));
  EXPECT_TRUE(log_.statuses.empty());
  // The wizard's own master script is created when missing.
  EXPECT_TRUE(wizard::UpdateGRTextsScript(game_, "AB1", log_.step()));
  EXPECT_TRUE(fs::exists(At("Data/Cars/Texts.scr")));
}

TEST_F(Registration, MasterScriptIsFoundWhateverItsCase) {
  fs::rename(At("Data/Cars/cars.scr"), At("Data/Cars/CARS.SCR"));
  const std::string before = ReadBytes(At("Data/Cars/CARS.SCR"));
  EXPECT_TRUE(wizard::UpdateGRCarsScript(game_, "AB1"));
  EXPECT_EQ(ReadBytes(At("Data/Cars/CARS.SCR")), before + "!include(\"AB1\\\\Cars.scr\")\r\n\r\n");
}

TEST_F(Registration, LastLineWithoutLineEndIsCompletedByTheEmptyLine) {
  WriteBytes(At("Data/Menu/uidef/Textures.def"), "// menu\r\ntexture(\"A\", \"a.dds\")");
  WriteBytes(At("Data/Texts.scr"), "text(\"A\", \"a\")");
  ASSERT_TRUE(wizard::UpdateGRIconsScript(game_, "AB1"));
  ASSERT_TRUE(wizard::UpdateGRTextsScript(game_, "AB1"));
  EXPECT_EQ(ReadBytes(At("Data/Menu/uidef/Textures.def")),
            "// menu\r\ntexture(\"A\", \"a.dds\")\r\n"
            "// --- Created by Carwright. Do not modyfy. ---\r\n"
            "!include(\"..\\\\..\\\\Cars\\\\Icons.scr\")\r\n\r\n");
  EXPECT_EQ(
      ReadBytes(At("Data/Texts.scr")),
      "text(\"A\", \"a\")\r\n// Created by Carwright\r\n!include(\"Cars\\\\Texts.scr\")\r\n\r\n");
}

// A car line glued to the end of a master script's last line would be part
// of that line (here a comment): it starts on a line of its own instead.
TEST_F(Registration, CarLineAfterALastLineWithoutLineEndStartsALineOfItsOwn) {
  WriteBytes(At("Data/Cars/cars.scr"), "// end of list");
  WriteBytes(At("Data/Cars/Parts.scr"), "");
  WriteBytes(At("Data/Cars/Texts.scr"), "!include(\"XY7\\\\Texts.scr\")\n");
  WriteBytes(At("Data/Cars/Icons.scr"), "// icons\r");
  ASSERT_TRUE(wizard::UpdateGRCarsScript(game_, "CM1"));
  ASSERT_TRUE(wizard::UpdateGRPartsScript(game_, "CM1"));
  ASSERT_TRUE(wizard::UpdateGRTextsScript(game_, "CM1"));
  ASSERT_TRUE(wizard::UpdateGRIconsScript(game_, "CM1"));
  EXPECT_EQ(ReadBytes(At("Data/Cars/cars.scr")),
            "// end of list\r\n!include(\"CM1\\\\Cars.scr\")\r\n\r\n");
  EXPECT_EQ(ReadBytes(At("Data/Cars/Parts.scr")), "!include(\"CM1\\\\Parts.scr\")\r\n\r\n");
  EXPECT_EQ(ReadBytes(At("Data/Cars/Texts.scr")),
            "!include(\"XY7\\\\Texts.scr\")\n!include(\"CM1\\\\Texts.scr\")\r\n\r\n");
  EXPECT_EQ(ReadBytes(At("Data/Cars/Icons.scr")),
            "// icons\r\r\n!include(\"CM1\\\\Icons.scr\")\r\n\r\n");
}

TEST_F(Registration, MissingGameFilesEndTextsAndIconsWithoutWriting) {
  fs::remove(At("Data/Texts.scr"));
  fs::remove(At("Data/Menu/uidef/Textures.def"));
  EXPECT_FALSE(wizard::UpdateGRTextsScript(game_, "AB1", log_.step()));
  EXPECT_FALSE(wizard::UpdateGRIconsScript(game_, "AB1", log_.step()));
  EXPECT_FALSE(fs::exists(At("Data/Texts.scr")));
  EXPECT_FALSE(fs::exists(At("Data/Menu/uidef/Textures.def")));
  EXPECT_FALSE(fs::exists(At("Data/Cars/Texts.scr")));
  EXPECT_FALSE(fs::exists(At("Data/Cars/Icons.scr")));
  EXPECT_TRUE(log_.statuses.empty());
}

TEST_F(Registration, AFailureNamesTheFileThatFailed) {
  fs::remove(At("Data/Cars/cars.scr"));
  fs::remove(At("Data/Texts.scr"));
  fs::create_directories(At("Data/Cars/Icons.scr"));  // cannot be written
  std::string failed;
  EXPECT_FALSE(wizard::UpdateGRCarsScript(game_, "AB1", {}, &failed));
  EXPECT_EQ(failed, game_ + "Data\\Cars\\cars.scr");
  EXPECT_FALSE(wizard::UpdateGRTextsScript(game_, "AB1", {}, &failed));
  EXPECT_EQ(failed, game_ + "Data\\Texts.scr");
  EXPECT_FALSE(wizard::UpdateGRIconsScript(game_, "AB1", {}, &failed));
  EXPECT_EQ(failed, game_ + "Data\\Cars\\Icons.scr");
}

TEST_F(Registration, IconsChainAlreadyPresentLeavesAReadOnlyTexturesFileAlone) {
  ASSERT_TRUE(wizard::UpdateGRIconsScript(game_, "AB1"));
  const std::string path = At("Data/Menu/uidef/Textures.def").string();
  ASSERT_TRUE(wizard::SetFileAttributes(path, wizard::kAttrReadOnly));
  EXPECT_TRUE(wizard::UpdateGRIconsScript(game_, "CD2"));
  EXPECT_TRUE(wizard::IsFileReadOnly(path));
}

}  // namespace
