// The variants file of carwright create.
#include <gtest/gtest.h>

#include "app/variants_file.h"

namespace {

wizard::CarVariants StartVariants() {
  wizard::CarVariants variants{};
  wizard::ResetCarVariants(variants);
  return variants;
}

TEST(VariantsFile, GroupResetsTheFiguresBeforeTheOtherKeys) {
  wizard::CarVariants variants = StartVariants();
  std::string error;
  ASSERT_TRUE(wizard::ApplyVariantsText(
      "; two variants\r\n[variant2]\r\nPower=250 ; tuned\r\nGroup=P3\r\nName=Custom Car Evo\r\n"
      "Drive=rwd\r\nDisplacement=2400\r\nPainting=2\r\nTurbo=yes\r\n",
      2, wizard::Language::kEnglish, variants, error))
      << error;
  const wizard::CarVariant& v = variants[1];
  EXPECT_TRUE(v.Enabled);
  EXPECT_EQ(v.Group, 2);
  EXPECT_EQ(v.Power, 250);   // set after the group's 180
  EXPECT_EQ(v.Torque, 230);  // the P3 default
  EXPECT_EQ(v.Weight, 1350);
  EXPECT_EQ(v.WheelDrive, 2);
  EXPECT_EQ(v.Displacement, 3);
  EXPECT_EQ(v.Painting, 2);
  EXPECT_TRUE(v.Turbo);
  EXPECT_EQ(v.Name, "Custom Car Evo");
  EXPECT_EQ(variants[0], StartVariants()[0]);
  EXPECT_FALSE(variants[2].Enabled);
}

TEST(VariantsFile, ASectionCanDisableItsVariantAndTextsUseTheCodePage) {
  wizard::CarVariants variants = StartVariants();
  std::string error;
  ASSERT_TRUE(wizard::ApplyVariantsText("[Variant1]\nEnabled=no\nProduction=K\xC3\xB6ln\n", 1,
                                        wizard::Language::kEnglish, variants, error))
      << error;
  EXPECT_FALSE(variants[0].Enabled);
  EXPECT_EQ(variants[0].Production, "K\xF6ln");
}

TEST(VariantsFile, ErrorsNameTheLineAndLeaveTheVariantsAlone) {
  const wizard::CarVariants start = StartVariants();
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"[Variant1]\nName=Mine\n[Variant6]\n", "line 3: unknown section [Variant6]"},
      {"Power=100\n", "line 1: a key before the first [VariantN] section"},
      {"[Variant1]\nPower=701\n", "line 2: POWER must be a whole number from 30 to 700"},
      {"[Variant1]\nWeight=heavy\n", "line 2: WEIGHT must be a whole number from 700 to 1600"},
      {"[Variant1]\nPainting=3\n", "line 2: PAINTING must be a whole number from 1 to 2"},
      {"[Variant1]\nName=Fast & Loud\n", "line 2: NAME must not hold any of"},
      {"[Variant1]\nProduction=Pozna\\\n", "line 2: PRODUCTION must not hold any of"},
      {"[Variant2]\nEngineType=DOHC\\4\n", "line 2: ENGINETYPE must not hold any of"},
      {"[Variant1]\nName=A name of twenty-ones\n", "line 2: NAME is longer than 20 characters"},
      {"[Variant1]\nGroup=Z9\n", "line 2: Group must be one of"},
      {"[Variant1]\nColour=red\n", "line 2: unknown key COLOUR"},
      {"[Variant1]\njust words\n", "line 2: expected KEY=VALUE"},
      {"[Variant1]\nName=\xE4\xB8\xAD\n", "line 2: NAME holds a character"},
  };
  for (const auto& c : cases) {
    wizard::CarVariants variants = start;
    std::string error;
    EXPECT_FALSE(wizard::ApplyVariantsText(c.text, 2, wizard::Language::kEnglish, variants, error))
        << c.text;
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.text << " gave " << error;
    EXPECT_EQ(variants, start) << c.text;
  }
}

}  // namespace
