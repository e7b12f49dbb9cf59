#include <gtest/gtest.h>

#include <string>

#include "ops/car_scripts.h"
#include "scripts_test_support.h"

namespace {

using wizard::CarScriptSetup;
using wizard::MakeIconsScript;
using wizard::MakeTextsScript;
using wizard_test::CrLfLines;
using wizard_test::StartupCar;

constexpr const char* kBanner = "// --- Created by Carwright. Do not modyfy. ---";

TEST(TextsScript, NamesOfEnabledVariantsFollowTheirPosition) {
  CarScriptSetup car = StartupCar("AB1");
  car.Variants[2].Enabled = true;
  car.Variants[2].Name =
      "Rally \xC9"
      "dition";  // Windows-1252 bytes, written as they are
  const auto script = MakeTextsScript(car);
  ASSERT_TRUE(script.has_value());
  const std::string head = CrLfLines({kBanner, "", "String( \"AB11_NAME\",\"Custom Car 1\")",
                                      "String( \"AB13_NAME\",\"Rally \xC9"
                                      "dition\")",
                                      ""});
  ASSERT_TRUE(script->starts_with(head));
  const std::string common = script->substr(head.size());
  EXPECT_TRUE(common.starts_with("// wheels\r\n"));
  EXPECT_NE(common.find("\r\n// Paintings\r\n"), std::string::npos);
  EXPECT_NE(common.find("\r\n// Parts\r\n"), std::string::npos);
  EXPECT_NE(common.find("String( \"AB1_Sport_Slick_DESCRIPTION\", \"&Slick_DESCRIPTION&\" )\r\n"),
            std::string::npos);
  EXPECT_NE(common.find("String( \"AB1_Painting5_NAME\", \"&Painting_NAME&\" )\r\n"),
            std::string::npos);
  EXPECT_NE(common.find("String( \"AB1_Cooler_NAME\", \"&Cooler_NAME&\" )\r\n"), std::string::npos);
  EXPECT_EQ(common.find("TMP"), std::string::npos);
  // The template's padding blanks, then the write statement's line end.
  EXPECT_EQ((common.size() - 2) % 4, 0u);
  EXPECT_TRUE(common.ends_with("\r\n"));
}

TEST(TextsScript, NoVariantEnabledGivesBannerTwoEmptyLinesAndCommonStrings) {
  CarScriptSetup car = StartupCar("AB1");
  car.Variants[0].Enabled = false;
  const auto script = MakeTextsScript(car);
  ASSERT_TRUE(script.has_value());
  EXPECT_TRUE(script->starts_with(CrLfLines({kBanner, "", "", "// wheels"})));
}

std::string IconsBlockText(const std::string& id, const std::string& id2) {
  return CrLfLines({
      "",
      "Texture(\"" + id + "_Vis.dds\", 1024, 512)",
      "{",
      "\tHiddenInEditor(1)",
      "\tWhole(\"" + id2 + "_BIG\")",
      "}",
      "",
      "Texture(\"" + id + "_Icon.dds\", 128, 128)",
      "{",
      "\tHiddenInEditor(1)",
      "\tRect(\"" + id2 + "\", 0, 0, 80, 84)",
      "}",
      "",
  });
}

std::string IconsBlock(const std::string& id) {
  return wizard_test::WithPaddingOf(IconsBlockText("#1#", "#2#"), IconsBlockText(id, id)) + "\r\n";
}

TEST(IconsScript, OneBlockPerPaintingUnderTheBanner) {
  CarScriptSetup car = StartupCar("AB1");
  car.CarPaintingsCount = 2;
  const auto two = MakeIconsScript(car);
  ASSERT_TRUE(two.has_value());
  EXPECT_EQ(*two, CrLfLines({kBanner, ""}) + IconsBlock("AB11") + IconsBlock("AB12"));

  car.CarPaintingsCount = 5;
  const auto five = MakeIconsScript(car);
  ASSERT_TRUE(five.has_value());
  std::string expected = CrLfLines({kBanner, ""});
  for (int p = 1; p <= 5; ++p) expected += IconsBlock("AB1" + std::to_string(p));
  EXPECT_EQ(*five, expected);
}

}  // namespace
