#include "ops/template_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using wizard::ApplySubstitutions;
using wizard::Substitution;

TEST(apply_substitutions, replaces_every_occurrence_case_sensitively) {
  const Substitution passes[] = {{"TMP", "AB1"}};
  EXPECT_EQ(ApplySubstitutions("TMP_Blob.mat TMP tmp TMPTMP", passes),
            "AB1_Blob.mat AB1 tmp AB1AB1");
}

TEST(apply_substitutions, earlier_pass_wins_where_tokens_start_alike) {
  // "TMP1" runs before "TMP", so TMP1_MENU keeps its painting number.
  const Substitution passes[] = {{"TMP1", "AB13"}, {"TMP", "AB1"}};
  EXPECT_EQ(ApplySubstitutions("SkinMenu(\"TMP1_MENU\") TMP_Blob", passes),
            "SkinMenu(\"AB13_MENU\") AB1_Blob");
  // The other order lets "TMP" take every one.
  const Substitution reversed[] = {{"TMP", "AB1"}, {"TMP1", "AB13"}};
  EXPECT_EQ(ApplySubstitutions("TMP1_MENU", reversed), "AB11_MENU");
}

TEST(apply_substitutions, torque_token_does_not_match_inside_torque_rpm) {
  const Substitution passes[] = {{"#TORQUE#", "115"}, {"#TORQUERPM#", "3300"}};
  EXPECT_EQ(ApplySubstitutions("\"#TORQUE#\" \"#TORQUERPM#\"", passes), "\"115\" \"3300\"");
}

TEST(apply_substitutions, inserted_values_are_not_scanned_again) {
  // Car ID "TMP": the car name TMP1 must not be taken for the painting token.
  const Substitution passes[] = {{"#CARID#", "TMP1"}, {"TMP1", "TMP3"}, {"TMP", "TMP"}};
  EXPECT_EQ(ApplySubstitutions("Car( \"#CARID#\" ) Skin(\"TMP1\")", passes),
            "Car( \"TMP1\" ) Skin(\"TMP3\")");
  const Substitution texts[] = {{"#ENGINETYPE#", "#TORQUE#"}, {"#TORQUE#", "115"}};
  EXPECT_EQ(ApplySubstitutions("#ENGINETYPE# #TORQUE#", texts), "#TORQUE# 115");
}

TEST(apply_substitutions, empty_tokens_and_text_are_harmless) {
  const Substitution passes[] = {{"", "x"}, {"A", "B"}};
  EXPECT_EQ(ApplySubstitutions("AAA", passes), "BBB");
  EXPECT_EQ(ApplySubstitutions("", passes), "");
}

TEST(replace_nuls, turns_each_nul_into_one_blank) {
  std::string text("}\r\n\0\0\0", 6);
  wizard::ReplaceNuls(text);
  EXPECT_EQ(text, "}\r\n   ");
}

}  // namespace
