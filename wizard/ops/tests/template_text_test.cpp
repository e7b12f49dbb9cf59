#include "ops/template_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using wizard::ApplySubstitutions;
using wizard::Substitution;

TEST(ApplySubstitutions, ReplacesEveryOccurrenceCaseSensitively) {
  const Substitution passes[] = {{"TMP", "AB1"}};
  EXPECT_EQ(ApplySubstitutions("TMP_Blob.mat TMP tmp TMPTMP", passes),
            "AB1_Blob.mat AB1 tmp AB1AB1");
}

TEST(ApplySubstitutions, EarlierPassWinsWhereTokensStartAlike) {
  // "TMP1" runs before "TMP", so TMP1_MENU keeps its painting number.
  const Substitution passes[] = {{"TMP1", "AB13"}, {"TMP", "AB1"}};
  EXPECT_EQ(ApplySubstitutions("SkinMenu(\"TMP1_MENU\") TMP_Blob", passes),
            "SkinMenu(\"AB13_MENU\") AB1_Blob");
  // The other order lets "TMP" take every one.
  const Substitution reversed[] = {{"TMP", "AB1"}, {"TMP1", "AB13"}};
  EXPECT_EQ(ApplySubstitutions("TMP1_MENU", reversed), "AB11_MENU");
}

TEST(ApplySubstitutions, TorqueTokenDoesNotMatchInsideTorqueRpm) {
  const Substitution passes[] = {{"#TORQUE#", "115"}, {"#TORQUERPM#", "3300"}};
  EXPECT_EQ(ApplySubstitutions("\"#TORQUE#\" \"#TORQUERPM#\"", passes), "\"115\" \"3300\"");
}

TEST(ApplySubstitutions, InsertedValuesAreNotScannedAgain) {
  // Car ID "TMP": the car name TMP1 must not be taken for the painting token.
  const Substitution passes[] = {{"#CARID#", "TMP1"}, {"TMP1", "TMP3"}, {"TMP", "TMP"}};
  EXPECT_EQ(ApplySubstitutions("Car( \"#CARID#\" ) Skin(\"TMP1\")", passes),
            "Car( \"TMP1\" ) Skin(\"TMP3\")");
  const Substitution texts[] = {{"#ENGINETYPE#", "#TORQUE#"}, {"#TORQUE#", "115"}};
  EXPECT_EQ(ApplySubstitutions("#ENGINETYPE# #TORQUE#", texts), "#TORQUE# 115");
}

TEST(ApplySubstitutions, EmptyTokensAndTextAreHarmless) {
  const Substitution passes[] = {{"", "x"}, {"A", "B"}};
  EXPECT_EQ(ApplySubstitutions("AAA", passes), "BBB");
  EXPECT_EQ(ApplySubstitutions("", passes), "");
}

TEST(ReplaceNuls, TurnsEachNulIntoOneBlank) {
  std::string text("}\r\n\0\0\0", 6);
  wizard::ReplaceNuls(text);
  EXPECT_EQ(text, "}\r\n   ");
}

}  // namespace
