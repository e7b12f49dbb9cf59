#include <gtest/gtest.h>

#include <string>

#include "ops/car_scripts.h"
#include "scripts_test_support.h"

namespace {

using wizard::CarScriptSetup;
using wizard::MakeCarsScript;
using wizard_test::CrLfLines;
using wizard_test::StartupCar;
using wizard_test::WithPaddingBlanks;

// The header comment of every Cars.scr, as written (padding blanks included).
std::string CarsHeader() {
  return WithPaddingBlanks(CrLfLines({
      "//",
      "// Script with car definition",
      "//",
      "// This file is included by Data\\Logic\\%Game Mode%\\Cars.scr which includes "
      "Data\\Logic\\Common\\Car.def",
      "// so it can use keywords declared in Car.def",
      "//",
  }));
}

// The values one car block is filled with.
struct Block {
  std::string car, skin, id, group, buy, sell, power, balance, weight, displacement, engine, torque,
      torque_rpm, height, length, width, production, wheel_drive, painting;
};

// Variant 2 of car AB1 with the defaults of group 0, wearing painting 3.
Block WorkedExample() {
  return {
      "AB12",   "AB13",         "AB1",    "P1",  "13000", "7800", "70",   "PowerBalance_FWD.scr",
      "900",    "1100",         "DOHC/4", "115", "3300",  "1400", "3800", "1800",
      "Custom", "&FrontDrive&", "3"};
}

std::string CarBlockText(const Block& b) {
  const std::string skin = b.skin;
  return CrLfLines({
      "Car( \"" + b.car + "\" )",
      "{",
      " ",
      "   !include(\"model.scr\")",
      "",
      "   SkinNormal(\"" + skin + "\")",
      "   SkinMenu(\"" + skin + "_MENU\")",
      "   SkinGhost(\"" + skin + "_GHOST\")",
      "",
      "   SetParam(\"m_sCarSoundSet\", \"stc\")",
      "",
      "   PowerTransfer( 1 )",
      "   Group( \"" + b.group + "\" )",
      "   BuyPrice( " + b.buy + " )",
      "   SellPrice( " + b.sell + " )",
      "   Power( " + b.power + " )",
      "   Status( \"1\" )",
      "   Icon( \"" + skin + "\" )",
      "   AdditionalProfileInfo( \"" + skin + "_AVAL := 1\" )",
      "   SetParam( \"m_sPowerBalanceScript\", \"Data\\\\logiccommon\\\\SetupOptions\\\\" +
          b.balance + "\" )",
      "   Weight( " + b.weight + " )",
      "   SetParam( \"m_nDisplacement\", \"" + b.displacement + "\" )",
      "   SetParam( \"m_sWheelDrive\", \"" + b.wheel_drive + "\" )",
      "   SetParam( \"m_sEngineType\", \"" + b.engine + "\" )",
      "   SetParam( \"m_nTorque\", \"" + b.torque + "\" )",
      "   SetParam( \"m_nTorqueRPM\", \"" + b.torque_rpm + "\" )",
      "   SetParam( \"m_nHeight\", \"" + b.height + "\" )",
      "   SetParam( \"m_nLength\", \"" + b.length + "\" )",
      "   SetParam( \"m_nWidth\", \"" + b.width + "\" )",
      "   SetParam( \"m_sProduction\", \"" + b.production + "\" )",
      "   SetParam( \"m_fGameProgressModifier\", \"0\" )",
      "   SetParam( \"m_sBlob\", \"" + b.id + "_Blob.mat\" )",
      "   SetParam( \"m_fMaxRPM\", \"9000\" )",
      "   SetParam( \"m_fMaxRPMHudArrowAngle\", \"180\" )",
      "   SetParam( \"m_sRPMHudTextureID\", \"Display\" )",
      "",
      "   AddDefaultPart(\"" + b.id + "_Painting" + b.painting + "\")",
      "}",
      "",
  });
}

// The template itself: the same lines holding their tokens.
const Block kTokens = {"#CARID#",      "TMP1",           "TMP",          "#GROUP#",
                       "#BUYPRICE#",   "#SELLPRICE#",    "#POWER#",      "#POWERBALANCE#",
                       "#WEIGHT#",     "#DISPLACEMENT#", "#ENGINETYPE#", "#TORQUE#",
                       "#TORQUERPM#",  "#HEIGHT#",       "#LENGTH#",     "#WIDTH#",
                       "#PRODUCTION#", "#WHEELDRIVE#",   "#PAINTING#"};

std::string CarBlock(const Block& b) {
  return wizard_test::WithPaddingOf(CarBlockText(kTokens), CarBlockText(b));
}

TEST(CarsScript, WorkedExampleVariantTwoWearingPaintingThree) {
  CarScriptSetup car = StartupCar("AB1");
  car.CarPaintingsCount = 3;
  car.Variants[0].Enabled = false;
  car.Variants[1].Enabled = true;
  car.Variants[1].Painting = 3;
  const auto script = MakeCarsScript(car);
  ASSERT_TRUE(script.has_value());
  EXPECT_EQ(*script, CarsHeader() + CarBlock(WorkedExample()) + "\r\n");
}

TEST(CarsScript, NoVariantEnabledGivesTheHeaderAlone) {
  CarScriptSetup car = StartupCar("AB1");
  for (auto& variant : car.Variants) variant.Enabled = false;
  const auto script = MakeCarsScript(car);
  ASSERT_TRUE(script.has_value());
  EXPECT_EQ(*script, CarsHeader() + "\r\n");
}

TEST(CarsScript, VariantNumbersFollowThePosition) {
  CarScriptSetup car = StartupCar("AB1");
  car.Variants[2].Enabled = true;
  wizard::InitCarParams(car.Variants[2], 7);
  Block first = WorkedExample();
  first.car = "AB11";
  first.skin = "AB11";
  first.painting = "1";
  const Block third = {
      "AB13",   "AB11",  "AB1",    "B1",  "57000", "34200", "330",  "PowerBalance_Default.scr",
      "1250",   "2400",  "SOHC/2", "550", "5500",  "1400",  "3800", "1800",
      "Custom", "&AWD&", "1"};
  const auto script = MakeCarsScript(car);
  ASSERT_TRUE(script.has_value());
  EXPECT_EQ(*script, CarsHeader() + CarBlock(first) + CarBlock(third) + "\r\n");
}

TEST(CarsScript, SellPriceIsSixTenthsRoundedToNearest) {
  EXPECT_EQ(wizard::SellPrice(13000), 7800);
  EXPECT_EQ(wizard::SellPrice(25), 15);
  EXPECT_EQ(wizard::SellPrice(1), 1);  // 0.6 rounds up
  EXPECT_EQ(wizard::SellPrice(2), 1);  // 1.2 rounds down
  EXPECT_EQ(wizard::SellPrice(0), 0);
  EXPECT_EQ(wizard::SellPrice(-1), -1);
  EXPECT_EQ(wizard::SellPrice(2147483647), 1288490188);

  CarScriptSetup car = StartupCar("AB1");
  car.Variants[0].BuyPrice = 25;
  const auto script = MakeCarsScript(car);
  ASSERT_TRUE(script.has_value());
  EXPECT_NE(script->find("   BuyPrice( 25 )\r\n   SellPrice( 15 )\r\n"), std::string::npos);
}

TEST(CarsScript, UnknownDriveOrDisplacementLeavesTheTokens) {
  CarScriptSetup car = StartupCar("AB1");
  car.Variants[0].WheelDrive = 3;
  car.Variants[0].Displacement = -1;
  const auto script = MakeCarsScript(car);
  ASSERT_TRUE(script.has_value());
  EXPECT_NE(script->find("SetupOptions\\\\#POWERBALANCE#\" )"), std::string::npos);
  EXPECT_NE(script->find("\"m_sWheelDrive\", \"#WHEELDRIVE#\" )"), std::string::npos);
  EXPECT_NE(script->find("\"m_nDisplacement\", \"#DISPLACEMENT#\" )"), std::string::npos);
  // The passes after them still run.
  EXPECT_NE(script->find("\"m_sEngineType\", \"DOHC/4\" )"), std::string::npos);

  car.Variants[0].WheelDrive = 2;
  car.Variants[0].Displacement = 3;
  const auto rear = MakeCarsScript(car);
  ASSERT_TRUE(rear.has_value());
  EXPECT_NE(rear->find("SetupOptions\\\\PowerBalance_RWD.scr\" )"), std::string::npos);
  EXPECT_NE(rear->find("\"m_sWheelDrive\", \"&RearDrive&\" )"), std::string::npos);
  EXPECT_NE(rear->find("\"m_nDisplacement\", \"2400\" )"), std::string::npos);
}

TEST(CarsScript, CodePageTextsAreWrittenByteForByte) {
  CarScriptSetup car = StartupCar("AB1");
  car.Variants[0].Production =
      "\xA3\xF3"
      "d\xBF";  // a town name in Windows-1250
  car.Variants[0].EngineType = "V6 \xE9";
  const auto script = MakeCarsScript(car);
  ASSERT_TRUE(script.has_value());
  EXPECT_NE(script->find("\"m_sProduction\", \"\xA3\xF3"
                         "d\xBF\" )"),
            std::string::npos);
  EXPECT_NE(script->find("\"m_sEngineType\", \"V6 \xE9\" )"), std::string::npos);
}

TEST(CarsScript, CarIdTmpIsNotRewrittenByLaterPasses) {
  CarScriptSetup car = StartupCar("TMP");
  car.Variants[0].Painting = 2;
  const auto script = MakeCarsScript(car);
  ASSERT_TRUE(script.has_value());
  EXPECT_NE(script->find("Car( \"TMP1\" )"), std::string::npos);
  EXPECT_NE(script->find("SkinNormal(\"TMP2\")"), std::string::npos);
  EXPECT_NE(script->find("AddDefaultPart(\"TMP_Painting2\")"), std::string::npos);
}

}  // namespace
