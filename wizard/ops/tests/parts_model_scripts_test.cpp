#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ops/car_scripts.h"
#include "scripts_test_support.h"

namespace {

using wizard::CarScriptSetup;
using wizard::MakeModelScript;
using wizard::MakePartsScript;
using wizard_test::CrLfLines;
using wizard_test::StartupCar;

std::size_t CountOf(const std::string& text, const std::string& what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
    ++count;
  }
  return count;
}

// The positions of `items` in `text` rise in the order given.
void ExpectInOrder(const std::string& text, const std::vector<std::string>& items) {
  std::size_t last = 0;
  for (const std::string& item : items) {
    const std::size_t at = text.find(item, last);
    ASSERT_NE(at, std::string::npos) << item << " missing or out of order";
    last = at + item.size();
  }
}

// A part's block in Parts.scr, from its header line to its closing brace.
std::string PartBlock(const std::string& text, const std::string& header) {
  const std::size_t start = text.find("\r\n" + header + "\r\n{\r\n");
  if (start == std::string::npos) return {};
  const std::size_t end = text.find("\r\n}\r\n", start);
  return text.substr(start, end - start);
}

TEST(PartsScript, PiecesFollowTheirOrderAndEveryTokenIsFilled) {
  CarScriptSetup car = StartupCar("AB1");
  car.CarParts = 31;
  car.CarAnimParts = 3;
  car.CarWheels = 8191;
  car.CarPaintingsCount = 2;
  const auto script = MakePartsScript(car);
  ASSERT_TRUE(script.has_value());
  ExpectInOrder(*script, {"$GLASS_REFL_MAT(s, \"AB1_GlassReflection.mat\")",
                          "$GLASS_REFL_BROKEN_MAT_LOD2(s, \"AB1_GlassReflectionBroken_2.mat\")",
                          "Exhaust( \"AB1_Exhaust\" )",
                          "Data/Cars/AB1/Parts/AB1_Exhaust.3da",
                          "Bonnet( \"AB1_Bonnet\" )",
                          "Spoiler( \"AB1_Spoiler\" )",
                          "Spoiler( \"AB1_BumperFront\" )",
                          "Spoiler( \"AB1_BumperRear\" )",
                          "Door( \"AB1_DoorL\" )",
                          "GlassMaterialParams(",
                          "GlassMaterialParams(",
                          "GlassMaterialParams(",
                          "Door( \"AB1_DoorR\" )",
                          "Antenna( \"AB1_AntennaF\" )",
                          "CarPartMesh( \"AB1_WiperL\" )",
                          "GridLocation( 0, 1, 1, 1 )",
                          "CarPartMesh( \"AB1_WiperR\" )",
                          "GridLocation( 2, 1, 1, 1 )",
                          "Springs( \"AB1_Springs\" )",
                          "Part( \"AB1_Clutch\" )",
                          "Cooler( \"AB1_Cooler\" )",
                          "Suspension( \"AB1_Dampers\" )",
                          "Filter( \"AB1_Filter\" )",
                          "Part( \"AB1_FlyWheel\" )",
                          "Gearbox( \"AB1_Gearbox\" )",
                          "Body( \"AB1_Body\" )",
                          "Brakes( \"AB1_BrakeSystem\" )",
                          "Electrics( \"AB1_Electrics\" )",
                          "Engine( \"AB1_Engine\" )",
                          "Exhaust( \"AB1_Exhaust\" )",
                          "Painting( \"AB1_Painting1\" )",
                          "Painting( \"AB1_Painting2\" )",
                          "AB1_ContactSport.3da",
                          "AB1_Fullgrip356.3da",
                          "\"AB1_Sport_Gravel\"",
                          "\"AB1_Racing_Gravel\"",
                          "AB1_Hypergrip200.3da",
                          "\"AB1_Sport_Ice\"",
                          "\"AB1_Sport_Intermediate\"",
                          "\"AB1_Sport_Mud\"",
                          "AB1_ProSport400s.3da",
                          "AB1_ProSportWinter.3da",
                          "\"AB1_Sport_Slick\"",
                          "\"AB1_Sport_Snow\"",
                          "\"AB1_Sport_Wet\"",
                          "\"AB1_WinterEvo3\"",
                          "AB1_Evo3.3da"});
  EXPECT_EQ(script->find("TMP"), std::string::npos);
  EXPECT_EQ(script->find('\0'), std::string::npos);
  EXPECT_EQ(script->find('#'), std::string::npos);
  EXPECT_TRUE(script->ends_with("\r\n"));
  EXPECT_EQ(CountOf(*script, "FitsCarModel( \"AB1\" )"), 12u + 2u + 20u);
}

TEST(PartsScript, GroupSetFollowsTheFirstVariantEvenWhenDisabled) {
  CarScriptSetup car = StartupCar("AB1");
  car.Variants[0].Enabled = false;
  car.Variants[0].Group = 5;  // O3,R1: pieces 61 to 67
  car.Variants[1].Enabled = true;
  wizard::InitCarParams(car.Variants[1], 2);
  const auto script = MakePartsScript(car);
  ASSERT_TRUE(script.has_value());
  const std::string springs = PartBlock(*script, "Springs( \"AB1_Springs\" )");
  EXPECT_NE(springs.find("\"m_iBaseRepairPrice\", \"350\""), std::string::npos);
  const std::string clutch = PartBlock(*script, "Part( \"AB1_Clutch\" )");
  EXPECT_NE(clutch.find("\"m_iBaseRepairPrice\", \"70\""), std::string::npos);
  EXPECT_NE(clutch.find("\"m_fPowerAddMin\", \"-2\""), std::string::npos);
  const std::string flywheel = PartBlock(*script, "Part( \"AB1_FlyWheel\" )");
  EXPECT_NE(flywheel.find("\"m_fPowerAddMin\", \"-10\""), std::string::npos);
  const std::string gearbox = PartBlock(*script, "Gearbox( \"AB1_Gearbox\" )");
  EXPECT_NE(gearbox.find("\"m_iBaseRepairPrice\", \"700\""), std::string::npos);
  EXPECT_NE(gearbox.find("\"m_nGearsNum\", \"6\""), std::string::npos);
  EXPECT_EQ(CountOf(*script, "Springs( \"AB1_Springs\" )"), 1u);
}

TEST(PartsScript, ExhaustDummyStandsInWhenTheExhaustIsNoSeparatePart) {
  CarScriptSetup car = StartupCar("AB1");
  car.CarParts = 2;  // bonnet only
  const auto parts = MakePartsScript(car);
  ASSERT_TRUE(parts.has_value());
  EXPECT_EQ(PartBlock(*parts, "Exhaust( \"AB1_Exhaust\" )"),
            "\r\nExhaust( \"AB1_Exhaust\" )\r\n{\r\n"
            "   MeshName( \"Data/Cars/AB1/Parts/AB1_ExhaustDummy.3da\" )\r\n"
            "   MountingDummy( \"DExhaust\" )\r\n"
            "   InstallSlot( \"Exhaust\" )\r\n"
            "   !include(\"..\\\\presets\\\\DefaultExpirat.scr\")");
  EXPECT_EQ(parts->find("AB1_Exhaust.3da"), std::string::npos);
  EXPECT_EQ(parts->find("AB1_Spoiler"), std::string::npos);
  EXPECT_EQ(parts->find("AB1_DoorL"), std::string::npos);

  const auto model = MakeModelScript(car);
  ASSERT_TRUE(model.has_value());
  EXPECT_NE(model->find("AddPartSlot(\"Exhaust\")\r\nAddPartSlot(\"Bonnet\")\r\n\r\n"),
            std::string::npos);
  EXPECT_NE(model->find("AddDefaultPart(\"AB1_Exhaust\")"), std::string::npos);
}

// The painting piece for car `id` and painting `n`.
std::string PaintingPieceText(const std::string& id, const std::string& n,
                              const std::string& skin) {
  return CrLfLines({
      "",
      "Painting( \"" + id + "_Painting" + n + "\" )",
      "{",
      "   Category( \"Pilot\" )",
      "   SellPrice( 0 )",
      "   SetParam( \"m_iBaseRepairPrice\", \"0\" )",
      "   DisabledOnStart( \"0\" )",
      "   AvailableOnStart( \"1\" )",
      "   FitsCarModel( \"" + id + "\" )",
      "   Icon( \"Custom\" )",
      "   AdditionalIcon( \"Paint_Can\" )",
      "   VisScript( \"Data\\\\LogicCommon\\\\Parts\\\\Part.vis\" )",
      "   RepairGroup( \"body\" )",
      "   SetParam( \"m_bDisplayInRepairMenu\", \"false\" )",
      "   SetParam( \"m_nListPriority\", \"40\" )",
      "   SkinNormal( \"" + skin + "\" )",
      "   SkinMenu( \"" + skin + "_MENU\" )",
      "   SkinGhost( \"" + skin + "_GHOST\" )",
      "   CarIcon( \"" + skin + "\" )",
      "}",
  });
}

// Painting `p` of car AB1, as written.
std::string PaintingPiece(int p) {
  const std::string n = std::to_string(p);
  return wizard_test::WithPaddingOf(PaintingPieceText("TMP", "1", "TMP1"),
                                    PaintingPieceText("AB1", n, "AB1" + n));
}

TEST(PartsScript, FivePaintingsGiveFivePaintingPartsInARow) {
  CarScriptSetup car = StartupCar("AB1");
  car.CarPaintingsCount = 5;
  car.CarWheels = 4096;
  const auto script = MakePartsScript(car);
  ASSERT_TRUE(script.has_value());
  std::string paintings;
  for (int p = 1; p <= 5; ++p) paintings += PaintingPiece(p);
  const std::size_t at = script->find(paintings);
  ASSERT_NE(at, std::string::npos);
  // Only the WinterEvo3 tyre follows them.
  EXPECT_EQ(script->find("Tyre( \"AB1_WinterEvo3\" )"), at + paintings.size() + 2);
  EXPECT_EQ(CountOf(*script, "Painting( "), 5u);
}

TEST(PartsScript, GroupOutsideTheListHasNoPiecesAndFails) {
  CarScriptSetup car = StartupCar("AB1");
  car.Variants[0].Group = 8;
  EXPECT_FALSE(MakePartsScript(car).has_value());
  car.Variants[0].Group = -3;
  EXPECT_FALSE(MakePartsScript(car).has_value());
}

TEST(ModelScript, PartSlotsDefaultPartsAndTyresFollowTheChosenParts) {
  CarScriptSetup car = StartupCar("AB1");
  car.CarParts = 31;
  car.CarAnimParts = 3;
  const auto script = MakeModelScript(car);
  ASSERT_TRUE(script.has_value());
  const std::string tail = CrLfLines({
      "AddPartSlot(\"Exhaust\")",
      "AddPartSlot(\"Bonnet\")",
      "AddPartSlot(\"Spoiler\")",
      "AddPartSlot(\"BumperFront\")",
      "AddPartSlot(\"BumperRear\")",
      "AddPartSlot(\"DoorLeft\")",
      "AddPartSlot(\"DoorRight\")",
      "AddPartSlot(\"AntennaF\")",
      "AddPartSlot(\"WiperLeft\")",
      "AddPartSlot(\"WiperRight\")",
      "",
      "AddDefaultPart(\"AB1_Engine\")",
      "AddDefaultPart(\"AB1_Body\")",
      "AddDefaultPart(\"AB1_Electrics\")",
      "AddDefaultPart(\"AB1_Exhaust\")",
      "AddDefaultPart(\"AB1_Filter\")",
      "AddDefaultPart(\"AB1_Dampers\")",
      "AddDefaultPart(\"AB1_Springs\")",
      "AddDefaultPart(\"AB1_BrakeSystem\")",
      "AddDefaultPart(\"AB1_Gearbox\")",
      "AddDefaultPart(\"AB1_FlyWheel\")",
      "AddDefaultPart(\"AB1_Clutch\")",
      "AddDefaultPart(\"AB1_Cooler\")",
      "AddDefaultPart(\"AB1_Bonnet\")",
      "AddDefaultPart(\"AB1_Spoiler\")",
      "AddDefaultPart(\"AB1_BumperFront\")",
      "AddDefaultPart(\"AB1_BumperRear\")",
      "AddDefaultPart(\"AB1_DoorL\")",
      "AddDefaultPart(\"AB1_DoorR\")",
      "AddDefaultPart(\"AB1_AntennaF\")",
      "AddDefaultPart(\"AB1_WiperL\")",
      "AddDefaultPart(\"AB1_WiperR\")",
      "",
      "DefaultTyres(\"AB1_WinterEvo3\")",
      "",
  });
  ASSERT_GE(script->size(), tail.size());
  EXPECT_EQ(script->substr(script->size() - tail.size()), tail);
  // The template part before it: its padding blanks, then one line end.
  const std::string head = script->substr(0, script->size() - tail.size());
  EXPECT_EQ(head.size() % 4, 2u);
  EXPECT_TRUE(head.starts_with("//\r\n"));
  EXPECT_TRUE(head.ends_with("\r\n"));
  ExpectInOrder(
      head,
      {"Model(\"AB1\")\r\n", "Mesh(\"Data\\\\Cars\\\\AB1\\\\AB1.3da\")\r\n",
       "HornSound(\"horn loop 04\")\r\n", "$GLASS_REFL_MAT(s, \"AB1_GlassReflection.mat\")",
       "!include(\"..\\\\presets\\\\DefaultGlasses.scr\")", "\"LightFrontLeft\"",
       "\"LightFrontRight\"", "\"LightRearLeft\"", "\"LightRearLeftStop\"",
       "\"LightRearLeftReverse\"", "\"LightRearRight\"", "\"LightRearRightStop\"",
       "\"LightRearRightReverse\"", "SetParam(\"m_fInertiaTensorMod\", \"1.2\")", "\"BonnetCam\"",
       "\"FrontBumperCam\"", "\"DriverCam\"", "\"InsideSpyCam1\"", "\"InsideSpyCam2\""});
  EXPECT_EQ(head.find("TMP"), std::string::npos);
}

TEST(ModelScript, DefaultTyresNameTheTyreOfTheDefaultWheelBit) {
  const char* kSuffixes[13] = {
      "_ContactSport",       "_Fullgrip356", "_Sport_Gravel", "_Hypergrip200",   "_Sport_Ice",
      "_Sport_Intermediate", "_Sport_Mud",   "_ProSport400s", "_ProSportWinter", "_Sport_Slick",
      "_Sport_Snow",         "_Sport_Wet",   "_WinterEvo3"};
  CarScriptSetup car = StartupCar("AB1");
  for (int bit = 0; bit < 13; ++bit) {
    car.CarDefaultWheels = 1u << bit;
    const auto script = MakeModelScript(car);
    ASSERT_TRUE(script.has_value());
    EXPECT_TRUE(script->ends_with("AddDefaultPart(\"AB1_Cooler\")\r\n\r\nDefaultTyres(\"AB1" +
                                  std::string(kSuffixes[bit]) + "\")\r\n\r\n"))
        << bit;
  }
  for (std::uint32_t odd : {0u, 3u, 8192u}) {
    car.CarDefaultWheels = odd;
    const auto script = MakeModelScript(car);
    ASSERT_TRUE(script.has_value());
    EXPECT_TRUE(script->ends_with("AddDefaultPart(\"AB1_Cooler\")\r\n\r\n\r\n")) << odd;
  }
}

}  // namespace
