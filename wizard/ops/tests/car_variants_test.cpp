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

namespace wizard {
namespace {

// The cases of the name box, the variants file and --name: every forbidden
// character, the length in code-page characters, and what the code page
// cannot hold; problems are found in the order code page, length, character.
TEST(VariantText, AcceptsOnlyWhatTheGamesScriptsCanHold) {
  const auto check = [](std::string_view text, CodePage cp = CodePage::kWindows1252,
                        std::size_t max = kMaxCarNameLength) {
    return CheckVariantText(text, max, cp);
  };
  const VariantText plain = check("Custom Car 1");
  EXPECT_EQ(plain.problem, VariantTextProblem::kNone);
  EXPECT_EQ(plain.bytes, "Custom Car 1");
  EXPECT_EQ(check("").problem, VariantTextProblem::kNone);
  for (const char c : std::string_view("\"!@#$%^&*\\")) {
    EXPECT_EQ(check(std::string("Car") + c).problem, VariantTextProblem::kForbidden) << c;
  }
  // Other punctuation is fine.
  EXPECT_EQ(check("A-B (C), d'e/f.").problem, VariantTextProblem::kNone);

  EXPECT_EQ(check(std::string(20, 'x')).problem, VariantTextProblem::kNone);
  EXPECT_EQ(check(std::string(21, 'x')).problem, VariantTextProblem::kTooLong);
  EXPECT_EQ(check("Production12", CodePage::kWindows1252, kMaxProductionLength).problem,
            VariantTextProblem::kNone);
  EXPECT_EQ(check("Production123", CodePage::kWindows1252, kMaxProductionLength).problem,
            VariantTextProblem::kTooLong);
  // Twenty Polish letters are twenty characters (forty UTF-8 bytes).
  std::string polish;
  for (int i = 0; i < 20; ++i) polish += "ł";
  const VariantText in_1250 = check(polish, CodePage::kWindows1250);
  EXPECT_EQ(in_1250.problem, VariantTextProblem::kNone);
  EXPECT_EQ(in_1250.bytes, std::string(20, '\xB3'));
  EXPECT_EQ(check(polish, CodePage::kWindows1252).problem, VariantTextProblem::kCodePage);
  EXPECT_EQ(check("caf\xC3", CodePage::kWindows1252).problem, VariantTextProblem::kCodePage);
  EXPECT_EQ(check(std::string(21, 'x') + "#").problem, VariantTextProblem::kTooLong);
  EXPECT_TRUE(check(std::string(21, 'x')).bytes.empty());
}

}  // namespace
}  // namespace wizard
