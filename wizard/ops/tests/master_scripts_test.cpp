#include "ops/master_scripts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/file_attributes.h"
#include "base/string_table.h"
#include "scripts_test_support.h"

namespace {

using gm_test::ReadFile;
using gm_test::ScratchFolder;
using gm_test::WriteFile;
using wizard_test::ProgressLog;

namespace stdfs = std::filesystem;

// A copy of the demo game: Data/Texts.scr, Data/Menu/uidef/Textures.def and
// the game's Data/Cars/cars.scr (lower case on disk) and Parts.scr.
class Registration : public ::testing::Test {
 protected:
  void SetUp() override {
    stdfs::copy(stdfs::path(GM_SOURCE_DIR) / "demo" / "game", scratch_.path(),
                stdfs::copy_options::recursive);
    game_ = scratch_.game_folder();
  }
  stdfs::path At(const char* relative) const { return scratch_.path() / relative; }

  ScratchFolder scratch_;
  std::string game_;
  ProgressLog log_;
};

TEST(RegistrationLine, ChainLinesDoubleTheBackslashOfTheGameString) {
  EXPECT_EQ(wizard::kTextsChainLine, "!include(\"Cars\\\\Texts.scr\")");
  EXPECT_EQ(wizard::kIconsChainLine, "!include(\"..\\\\..\\\\Cars\\\\Icons.scr\")");
}

TEST_F(Registration, FirstCarOnAFreshGame) {
  const std::string cars = ReadFile(At("Data/Cars/cars.scr"));
  const std::string parts = ReadFile(At("Data/Cars/Parts.scr"));
  const std::string texts = ReadFile(At("Data/Texts.scr"));
  const std::string textures = ReadFile(At("Data/Menu/uidef/Textures.def"));

  EXPECT_TRUE(wizard::UpdateGRCarsScript(game_, "AB1", log_.step()));
  EXPECT_TRUE(wizard::UpdateGRPartsScript(game_, "AB1", log_.step()));
  EXPECT_TRUE(wizard::UpdateGRTextsScript(game_, "AB1", log_.step()));
  EXPECT_TRUE(wizard::UpdateGRIconsScript(game_, "AB1", log_.step()));

  EXPECT_EQ(ReadFile(At("Data/Cars/cars.scr")), cars + "!include(\"AB1\\\\Cars.scr\")\r\n\r\n");
  // The game's own spelling is kept, with no second file of another case.
  EXPECT_EQ(("|" + gm_test::ListFolder(At("Data/Cars")) + "|").find("|Cars.scr|"),
            std::string::npos);
  EXPECT_EQ(ReadFile(At("Data/Cars/Parts.scr")), parts + "!include(\"AB1\\\\Parts.scr\")\r\n\r\n");
  EXPECT_EQ(ReadFile(At("Data/Texts.scr")),
            texts + "\r\n// Created by Carwright\r\n!include(\"Cars\\\\Texts.scr\")\r\n\r\n");
  EXPECT_EQ(ReadFile(At("Data/Menu/uidef/Textures.def")),
            textures +
                "\r\n// --- Created by Carwright. Do not modyfy. ---\r\n"
                "!include(\"..\\\\..\\\\Cars\\\\Icons.scr\")\r\n\r\n");
  EXPECT_EQ(ReadFile(At("Data/Cars/Texts.scr")), "!include(\"AB1\\\\Texts.scr\")\r\n\r\n");
  EXPECT_EQ(ReadFile(At("Data/Cars/Icons.scr")), "!include(\"AB1\\\\Icons.scr\")\r\n\r\n");
  EXPECT_EQ(log_.files, (std::vector<std::string>{
                            "Data\\Cars\\Cars.scr",
                            "Data\\Cars\\Parts.scr",
                            "Data\\Cars\\Texts.scr",
                            "Data\\Cars\\Icons.scr",
                        }));
}

TEST_F(Registration, SecondCarAddsOnlyItsLines) {
  for (const char* id : {"AB1", "CD2"}) {
    ASSERT_TRUE(wizard::UpdateGRTextsScript(game_, id));
    ASSERT_TRUE(wizard::UpdateGRIconsScript(game_, id));
  }
  const std::string texts = ReadFile(At("Data/Texts.scr"));
  const std::string chain = "!include(\"Cars\\\\Texts.scr\")";
  EXPECT_EQ(texts.find(chain), texts.rfind(chain));
  const std::string textures = ReadFile(At("Data/Menu/uidef/Textures.def"));
  const std::string icons_chain = "!include(\"..\\\\..\\\\Cars\\\\Icons.scr\")";
  EXPECT_EQ(textures.find(icons_chain), textures.rfind(icons_chain));
  EXPECT_EQ(ReadFile(At("Data/Cars/Texts.scr")),
            "!include(\"AB1\\\\Texts.scr\")\r\n\r\n!include(\"CD2\\\\Texts.scr\")\r\n\r\n");
  EXPECT_EQ(ReadFile(At("Data/Cars/Icons.scr")),
            "!include(\"AB1\\\\Icons.scr\")\r\n\r\n!include(\"CD2\\\\Icons.scr\")\r\n\r\n");
}

TEST_F(Registration, ReadOnlyCarListIsMadeWritableAndAppendedTo) {
  const std::string path = At("Data/Cars/cars.scr").string();
  const std::string before = ReadFile(path);
  ASSERT_TRUE(wizard::SetFileAttributes(path, wizard::kAttrReadOnly));
  EXPECT_TRUE(wizard::UpdateGRCarsScript(game_, "AB1", log_.step()));
  EXPECT_EQ(ReadFile(path), before + "!include(\"AB1\\\\Cars.scr\")\r\n\r\n");
  EXPECT_FALSE(wizard::IsFileReadOnly(path));
}

TEST_F(Registration, MissingCarListFailsAndCreatesNothing) {
  stdfs::remove(At("Data/Cars/cars.scr"));
  stdfs::remove(At("Data/Cars/Parts.scr"));
  EXPECT_FALSE(wizard::UpdateGRCarsScript(game_, "AB1", log_.step()));
  EXPECT_FALSE(wizard::UpdateGRPartsScript(game_, "AB1", log_.step()));
  EXPECT_FALSE(stdfs::exists(At("Data/Cars/cars.scr")));
  EXPECT_FALSE(stdfs::exists(At("Data/Cars/Cars.scr")));
  EXPECT_FALSE(stdfs::exists(At("Data/Cars/Parts.scr")));
  EXPECT_TRUE(log_.files.empty());
  // The wizard's own master script is created when missing.
  EXPECT_TRUE(wizard::UpdateGRTextsScript(game_, "AB1", log_.step()));
  EXPECT_TRUE(stdfs::exists(At("Data/Cars/Texts.scr")));
}

TEST_F(Registration, MasterScriptIsFoundWhateverItsCase) {
  stdfs::rename(At("Data/Cars/cars.scr"), At("Data/Cars/CARS.SCR"));
  const std::string before = ReadFile(At("Data/Cars/CARS.SCR"));
  EXPECT_TRUE(wizard::UpdateGRCarsScript(game_, "AB1"));
  EXPECT_EQ(ReadFile(At("Data/Cars/CARS.SCR")), before + "!include(\"AB1\\\\Cars.scr\")\r\n\r\n");
}

TEST_F(Registration, LastLineWithoutLineEndIsCompletedByTheEmptyLine) {
  WriteFile(At("Data/Menu/uidef/Textures.def"), "// menu\r\ntexture(\"A\", \"a.dds\")");
  WriteFile(At("Data/Texts.scr"), "text(\"A\", \"a\")");
  ASSERT_TRUE(wizard::UpdateGRIconsScript(game_, "AB1"));
  ASSERT_TRUE(wizard::UpdateGRTextsScript(game_, "AB1"));
  EXPECT_EQ(ReadFile(At("Data/Menu/uidef/Textures.def")),
            "// menu\r\ntexture(\"A\", \"a.dds\")\r\n"
            "// --- Created by Carwright. Do not modyfy. ---\r\n"
            "!include(\"..\\\\..\\\\Cars\\\\Icons.scr\")\r\n\r\n");
  EXPECT_EQ(
      ReadFile(At("Data/Texts.scr")),
      "text(\"A\", \"a\")\r\n// Created by Carwright\r\n!include(\"Cars\\\\Texts.scr\")\r\n\r\n");
}

// A car line glued to the end of a master script's last line would be part
// of that line (here a comment): it starts on a line of its own instead.
TEST_F(Registration, CarLineAfterALastLineWithoutLineEndStartsALineOfItsOwn) {
  WriteFile(At("Data/Cars/cars.scr"), "// end of list");
  WriteFile(At("Data/Cars/Parts.scr"), "");
  WriteFile(At("Data/Cars/Texts.scr"), "!include(\"XY7\\\\Texts.scr\")\n");
  WriteFile(At("Data/Cars/Icons.scr"), "// icons\r");
  ASSERT_TRUE(wizard::UpdateGRCarsScript(game_, "CM1"));
  ASSERT_TRUE(wizard::UpdateGRPartsScript(game_, "CM1"));
  ASSERT_TRUE(wizard::UpdateGRTextsScript(game_, "CM1"));
  ASSERT_TRUE(wizard::UpdateGRIconsScript(game_, "CM1"));
  EXPECT_EQ(ReadFile(At("Data/Cars/cars.scr")),
            "// end of list\r\n!include(\"CM1\\\\Cars.scr\")\r\n\r\n");
  EXPECT_EQ(ReadFile(At("Data/Cars/Parts.scr")), "!include(\"CM1\\\\Parts.scr\")\r\n\r\n");
  EXPECT_EQ(ReadFile(At("Data/Cars/Texts.scr")),
            "!include(\"XY7\\\\Texts.scr\")\n!include(\"CM1\\\\Texts.scr\")\r\n\r\n");
  EXPECT_EQ(ReadFile(At("Data/Cars/Icons.scr")),
            "// icons\r\r\n!include(\"CM1\\\\Icons.scr\")\r\n\r\n");
}

TEST_F(Registration, MissingGameFilesEndTextsAndIconsWithoutWriting) {
  stdfs::remove(At("Data/Texts.scr"));
  stdfs::remove(At("Data/Menu/uidef/Textures.def"));
  EXPECT_FALSE(wizard::UpdateGRTextsScript(game_, "AB1", log_.step()));
  EXPECT_FALSE(wizard::UpdateGRIconsScript(game_, "AB1", log_.step()));
  EXPECT_FALSE(stdfs::exists(At("Data/Texts.scr")));
  EXPECT_FALSE(stdfs::exists(At("Data/Menu/uidef/Textures.def")));
  EXPECT_FALSE(stdfs::exists(At("Data/Cars/Texts.scr")));
  EXPECT_FALSE(stdfs::exists(At("Data/Cars/Icons.scr")));
  EXPECT_TRUE(log_.files.empty());
}

TEST_F(Registration, AFailureNamesTheFileThatFailed) {
  stdfs::remove(At("Data/Cars/cars.scr"));
  stdfs::remove(At("Data/Texts.scr"));
  stdfs::create_directories(At("Data/Cars/Icons.scr"));  // cannot be written
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
