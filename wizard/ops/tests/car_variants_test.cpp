#include "ops/car_variants.h"

#include <gtest/gtest.h>

namespace wizard {
namespace {

// A record whose every field differs from any default.
CarVariant Scrambled() {
  CarVariant v;
  v.Enabled = true;
  v.Group = 6;
  v.Power = 1;
  v.Weight = 2;
  v.WheelDrive = 2;
  v.EngineType = "V12";
  v.Torque = 3;
  v.TorqueRPM = 4;
  v.Height = 5;
  v.Length = 6;
  v.Width = 7;
  v.Production = "Home";
  v.Name = "Mine";
  v.Painting = 4;
  v.Turbo = true;
  v.Displacement = 3;
  v.BuyPrice = 8;
  return v;
}

TEST(CarVariants, GroupThreeGivesTheO1Defaults) {
  CarVariant v = Scrambled();
  InitCarParams(v, 3);
  EXPECT_EQ(v.Group, 3);
  EXPECT_EQ(v.EngineType, "SOHC/2");
  EXPECT_EQ(v.Power, 200);
  EXPECT_EQ(v.Torque, 230);
  EXPECT_EQ(v.TorqueRPM, 5550);
  EXPECT_EQ(v.WheelDrive, 0);
  EXPECT_EQ(v.Weight, 1070);
  EXPECT_EQ(v.Displacement, 1);
  EXPECT_EQ(kDisplacementCcm[static_cast<std::size_t>(v.Displacement)], 1600);
  EXPECT_EQ(v.BuyPrice, 30000);
  EXPECT_EQ(v.Height, 1400);
  EXPECT_EQ(v.Length, 3800);
  EXPECT_EQ(v.Width, 1800);
  EXPECT_EQ(v.Production, "Custom");
  EXPECT_EQ(v.Painting, 1);
  EXPECT_FALSE(v.Turbo);
  EXPECT_TRUE(v.Enabled);
  EXPECT_EQ(v.Name, "Mine");
  EXPECT_EQ(CarGroupText(v.Group), "O1");
}

TEST(CarVariants, LastGroupGivesTheB1Defaults) {
  CarVariant v = Scrambled();
  InitCarParams(v, 7);
  EXPECT_EQ(v.EngineType, "SOHC/2");
  EXPECT_EQ(v.Power, 330);
  EXPECT_EQ(v.Torque, 550);
  EXPECT_EQ(v.TorqueRPM, 5500);
  EXPECT_EQ(v.WheelDrive, 1);
  EXPECT_EQ(v.Weight, 1250);
  EXPECT_EQ(v.Displacement, 3);
  EXPECT_EQ(v.BuyPrice, 57000);
  EXPECT_EQ(CarGroupText(7), "B1");
}

TEST(CarVariants, GroupOutOfRangeChangesOnlyTheSharedFields) {
  for (std::int32_t group : {8, -1, 1000}) {
    CarVariant v = Scrambled();
    InitCarParams(v, group);
    CarVariant expected = Scrambled();
    expected.Group = group;
    expected.Height = 1400;
    expected.Length = 3800;
    expected.Width = 1800;
    expected.Production = "Custom";
    expected.Painting = 1;
    expected.Turbo = false;
    EXPECT_EQ(v, expected) << group;
    EXPECT_EQ(CarGroupText(group), "");
  }
}

TEST(CarVariants, StartUpResetEnablesOnlyTheFirst) {
  CarVariants variants;
  variants.fill(Scrambled());
  ResetCarVariants(variants);
  for (std::size_t i = 0; i < variants.size(); ++i) {
    CarVariant expected;
    InitCarParams(expected, 0);
    expected.Enabled = i == 0;
    expected.Name = "Custom Car " + std::to_string(i + 1);
    EXPECT_EQ(variants[i], expected) << i;
  }
  EXPECT_EQ(variants[0].EngineType, "DOHC/4");
  EXPECT_EQ(variants[0].Power, 70);
  EXPECT_EQ(variants[0].BuyPrice, 13000);
}

}  // namespace
}  // namespace wizard
