// The create operation's folders and files against the tables of the car's
// layout.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ops/car_layout.h"

namespace {

using wizard::CarFileKind;
using wizard::CarFileStep;
using wizard::CarScriptSetup;

CarScriptSetup Car(std::uint32_t parts, std::uint32_t anim_parts, std::uint32_t wheels,
                   int paintings = 1) {
  CarScriptSetup car;
  car.CarID = "AB1";
  car.CarPaintingsCount = paintings;
  car.CarParts = parts;
  car.CarAnimParts = anim_parts;
  car.CarWheels = wheels;
  return car;
}

// "folder|file|resource" of every step in `folder`, in order.
std::vector<std::string> StepsIn(const std::vector<CarFileStep>& plan, const std::string& folder) {
  std::vector<std::string> out;
  for (const CarFileStep& step : plan) {
    if (step.folder == folder && step.kind != CarFileKind::kFolder) {
      out.push_back(step.file_name + "|" + step.resource);
    }
  }
  return out;
}

TEST(CarLayout, TwoPaintingsBonnetAndDefaultWheels) {
  const std::vector<CarFileStep> plan = wizard::CreateCarPlan(Car(2, 0, 5636, 2));

  std::vector<std::string> folders;
  for (const CarFileStep& step : plan) {
    if (step.kind == CarFileKind::kFolder) folders.push_back(step.folder);
  }
  EXPECT_EQ(folders, (std::vector<std::string>{
                         "Data\\Cars\\AB1\\", "Data\\Cars\\AB1\\AB11\\", "Data\\Cars\\AB1\\AB12\\",
                         "Data\\Cars\\AB1\\Parts\\", "Data\\Cars\\AB1\\Wheels\\"}));
  // Each folder is made before the first file that goes into it.
  EXPECT_EQ(plan.front().kind, CarFileKind::kFolder);

  const std::vector<std::string> car = StepsIn(plan, "Data\\Cars\\AB1\\");
  ASSERT_EQ(car.size(), 1u + 16 + 21 + 1 + 5);
  EXPECT_EQ(car[0], "AB1.3da|102");
  EXPECT_EQ(car[1], "AB1_Blob.dds|BLOB");
  EXPECT_EQ(car[5], "AB1_Glass_Inside.dds|EMPTY");
  EXPECT_EQ(car[8], "AB1_GlassBrokenNormals_Inside.dds|EMPTYNORMALS");
  EXPECT_EQ(car[16], "AB1_LightMask.dds|LIGHTMASK");
  EXPECT_EQ(car[17], "AB1_Blob.mat|BLOB");
  EXPECT_EQ(car[18], "AB1_Glass_GHOST.mat|GLASS_GHOST");
  EXPECT_EQ(car[37], "AB1_LightBroken_MENU.mat|LIGHTBROKEN_MENU");
  EXPECT_EQ(car[38], "AB1.skn|CAR");
  EXPECT_EQ(std::vector<std::string>(car.begin() + 39, car.end()),
            (std::vector<std::string>{"Cars.scr|", "Parts.scr|", "Model.scr|", "Texts.scr|",
                                      "Icons.scr|"}));

  const std::vector<std::string> second = StepsIn(plan, "Data\\Cars\\AB1\\AB12\\");
  EXPECT_EQ(
      second,
      (std::vector<std::string>{
          "AB12_Body.mat|BODY", "AB12_Body_1.mat|BODY_1", "AB12_Body_2.mat|BODY_2",
          "AB12_Body_GHOST.mat|BODY_GHOST", "AB12_Body_MENU.mat|BODY_MENU",
          "AB12_BodyOpacity.mat|BODYOPACITY", "AB12_BodyOpacity_1.mat|BODYOPACITY_1",
          "AB12_BodyOpacity_2.mat|BODYOPACITY_2", "AB12_BodyOpacity_MENU.mat|BODYOPACITY_MENU",
          "AB12_BodyReflection.mat|BODYREFLECTION", "AB12_BodyReflection_1.mat|BODYREFLECTION_1",
          "AB12_BodyReflection_2.mat|BODYREFLECTION_2",
          "AB12_BodyReflection_MENU.mat|BODYREFLECTION_MENU", "AB12_Body.dds|BODY",
          "AB12_Vis.dds|VIS", "AB12_Icon.dds|ICON"}));
  // Painting materials carry their painting number; nothing else does.
  for (const CarFileStep& step : plan) {
    const bool in_painting = step.folder.find("\\AB12\\") != std::string::npos;
    const bool in_first = step.folder.find("\\AB11\\") != std::string::npos;
    const int expected = step.kind == CarFileKind::kMaterial ? (in_painting ? 2
                                                                : in_first  ? 1
                                                                            : 0)
                                                             : 0;
    EXPECT_EQ(step.painting, expected) << step.file_name;
  }

  EXPECT_EQ(
      StepsIn(plan, "Data\\Cars\\AB1\\Parts\\"),
      (std::vector<std::string>{"AB1_ExhaustDummy.3da|EXHAUSTDUMMY", "AB1_ExhaustDummy.skn|CAR",
                                "AB1_Bonnet.3da|BONNET", "AB1_Bonnet.skn|CAR"}));
  EXPECT_EQ(StepsIn(plan, "Data\\Cars\\AB1\\Wheels\\"),
            (std::vector<std::string>{"AB1_Gravel.3da|WHEEL_GRAVEL", "AB1_Gravel.skn|WHEEL",
                                      "AB1_Slick.3da|WHEEL_SLICK", "AB1_Slick.skn|WHEEL",
                                      "AB1_Snow.3da|WHEEL_SNOW", "AB1_Snow.skn|WHEEL",
                                      "AB1_Evo3.3da|WHEEL_WINTEREVO3", "AB1_Evo3.skn|WHEEL"}));
}

TEST(CarLayout, NoPartsLeavesOnlyTheExhaustDummy) {
  const std::vector<CarFileStep> plan = wizard::CreateCarPlan(Car(0, 0, 4096));
  EXPECT_EQ(StepsIn(plan, "Data\\Cars\\AB1\\")[0], "AB1.3da|100");
  EXPECT_EQ(
      StepsIn(plan, "Data\\Cars\\AB1\\Parts\\"),
      (std::vector<std::string>{"AB1_ExhaustDummy.3da|EXHAUSTDUMMY", "AB1_ExhaustDummy.skn|CAR"}));
}

TEST(CarLayout, AllPartsAndAnimatedPartsInTableOrder) {
  const std::vector<CarFileStep> plan = wizard::CreateCarPlan(Car(31, 3, 4096));
  EXPECT_EQ(StepsIn(plan, "Data\\Cars\\AB1\\")[0], "AB1.3da|131");
  EXPECT_EQ(StepsIn(plan, "Data\\Cars\\AB1\\Parts\\"),
            (std::vector<std::string>{
                "AB1_Exhaust.3da|EXHAUST", "AB1_Exhaust.skn|CAR",     "AB1_Bonnet.3da|BONNET",
                "AB1_Bonnet.skn|CAR",      "AB1_Spoiler.3da|SPOILER", "AB1_Spoiler.skn|CAR",
                "AB1_BumperF.3da|BUMPERF", "AB1_BumperF.skn|CAR",     "AB1_BumperR.3da|BUMPERR",
                "AB1_BumperR.skn|CAR",     "AB1_DoorL.3da|DOORL",     "AB1_DoorL.skn|CAR",
                "AB1_DoorR.3da|DOORR",     "AB1_DoorR.skn|CAR",       "AB1_AntennaF.3da|ANTENNAF",
                "AB1_AntennaF.skn|CAR",    "AB1_WiperL.3da|WIPERL",   "AB1_WiperL.skn|CAR",
                "AB1_WiperR.3da|WIPERR",   "AB1_WiperR.skn|CAR"}));
}

TEST(CarLayout, EveryWheelTypeInBitOrderWithFullgripLowerCase) {
  const std::vector<CarFileStep> plan = wizard::CreateCarPlan(Car(0, 0, 0x1FFF));
  const std::vector<std::string> wheels = StepsIn(plan, "Data\\Cars\\AB1\\Wheels\\");
  ASSERT_EQ(wheels.size(), 26u);
  EXPECT_EQ(wheels[2], "AB1_Fullgrip356.3da|WHEEL_FULLGRIP356");
  EXPECT_EQ(wheels[3], "AB1_Fullgrip356.skn|WHEEL");
  const std::vector<std::string> suffixes = {
      "_ContactSport", "_Fullgrip356", "_Gravel",       "_HyperGrip200",   "_Ice",
      "_Intermediate", "_Mud",         "_ProSport400s", "_ProSportWinter", "_Slick",
      "_Snow",         "_Wet",         "_Evo3"};
  for (std::size_t i = 0; i < suffixes.size(); ++i) {
    EXPECT_EQ(wheels[2 * i].substr(0, wheels[2 * i].find('|')), "AB1" + suffixes[i] + ".3da");
  }
}

}  // namespace
