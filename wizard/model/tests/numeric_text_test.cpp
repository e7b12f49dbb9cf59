// The numeric test in the user's locale and the locale-independent read.
#include <gtest/gtest.h>

#include <cstdint>

#include "model/numeric_text.h"

namespace wizard {
namespace {

TEST(NumericText, AcceptsSignDigitsSeparatorAndExponentOfTheLocale) {
  for (const char* text : {"0", "700", "-5", "+12", "1.5", ".5", "5.", "9e9", "1E+2", "2e-1"}) {
    EXPECT_TRUE(IsNumericText(text, '.')) << text;
  }
  for (const char* text : {"", " ", "-", ".", "e5", "1e", "1e+", "1.2.3", "12a", "a12", " 12",
                           "12 ", "1,5", "--1", "0x10"}) {
    EXPECT_FALSE(IsNumericText(text, '.')) << text;
  }
  // With a comma as separator the point is no longer part of a number.
  EXPECT_TRUE(IsNumericText("1,5", ','));
  EXPECT_FALSE(IsNumericText("1.5", ','));
}

TEST(NumericText, ReadsTheLeadingNumberWithAPointAndRoundsHalvesToEven) {
  const std::int64_t lo = INT64_MIN / 2, hi = INT64_MAX / 2;
  EXPECT_EQ(ReadWholeNumber("2.5", lo, hi), 2);
  EXPECT_EQ(ReadWholeNumber("3.5", lo, hi), 4);
  EXPECT_EQ(ReadWholeNumber("-2.5", lo, hi), -2);
  EXPECT_EQ(ReadWholeNumber("-3.5", lo, hi), -4);
  EXPECT_EQ(ReadWholeNumber("2.51", lo, hi), 3);
  EXPECT_EQ(ReadWholeNumber("1e3", lo, hi), 1000);
  EXPECT_EQ(ReadWholeNumber(".5", lo, hi), 0);
  // A comma ends the number: "12,7" (numeric in a Polish locale) reads 12.
  EXPECT_EQ(ReadWholeNumber("12,7", lo, hi), 12);
  EXPECT_EQ(ReadWholeNumber("1e-400", lo, hi), 0);
  EXPECT_FALSE(ReadWholeNumber("", lo, hi));
  EXPECT_FALSE(ReadWholeNumber("x1", lo, hi));
  EXPECT_FALSE(ReadWholeNumber("1e999", lo, hi));
}

TEST(NumericText, RefusesNumbersOutsideTheField) {
  EXPECT_EQ(ReadWholeNumber("32767", INT16_MIN, INT16_MAX), 32767);
  EXPECT_EQ(ReadWholeNumber("-32768", INT16_MIN, INT16_MAX), -32768);
  EXPECT_FALSE(ReadWholeNumber("32768", INT16_MIN, INT16_MAX));
  EXPECT_FALSE(ReadWholeNumber("9e9", INT16_MIN, INT16_MAX));
  // 32767.5 rounds to the even 32768, which no longer fits.
  EXPECT_FALSE(ReadWholeNumber("32767.5", INT16_MIN, INT16_MAX));
  EXPECT_EQ(ReadWholeNumber("32766.5", INT16_MIN, INT16_MAX), 32766);
}

}  // namespace
}  // namespace wizard
