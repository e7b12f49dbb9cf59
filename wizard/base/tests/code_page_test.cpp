#include "base/code_page.h"

#include <gtest/gtest.h>

namespace wizard {
namespace {

TEST(CodePage, ConvertsToTheGamesCodePage) {
  EXPECT_EQ(Utf8ToCodePage("Caf\u00e9 \u20ac", CodePage::kWindows1252), "Caf\xE9 \x80");
  EXPECT_EQ(Utf8ToCodePage("Zak\u0144cz \u0142\u0105", CodePage::kWindows1250),
            "Zak\xF1"
            "cz \xB3\xB9");
  EXPECT_EQ(Utf8ToCodePage("", CodePage::kWindows1252), "");
  EXPECT_EQ(GameCodePage(Language::kPolish), CodePage::kWindows1250);
  EXPECT_EQ(GameCodePage(Language::kEnglish), CodePage::kWindows1252);
}

TEST(CodePage, RefusesWhatTheCodePageCannotHold) {
  EXPECT_EQ(Utf8ToCodePage("\u0142", CodePage::kWindows1252), std::nullopt);    // Polish l
  EXPECT_EQ(Utf8ToCodePage("\u65e5", CodePage::kWindows1250), std::nullopt);    // CJK
  EXPECT_EQ(Utf8ToCodePage("bad \xC3", CodePage::kWindows1252), std::nullopt);  // truncated
  EXPECT_EQ(Utf8ToCodePage("bad \xFF", CodePage::kWindows1252), std::nullopt);
  EXPECT_EQ(CodePageToUtf8("\x81", CodePage::kWindows1252), std::nullopt);
}

TEST(CodePage, RoundTripsEveryDefinedByteOfWindows1250) {
  std::string all;
  for (int b = 0x20; b < 0x100; ++b) {
    const std::string byte(1, static_cast<char>(b));
    if (CodePageToUtf8(byte, CodePage::kWindows1250)) all += byte;
  }
  ASSERT_GT(all.size(), 200u);
  const auto utf8 = CodePageToUtf8(all, CodePage::kWindows1250);
  ASSERT_TRUE(utf8);
  EXPECT_EQ(Utf8ToCodePage(*utf8, CodePage::kWindows1250), all);
  // Long text goes through in several chunks.
  const std::string long_text(5000, 'a');
  EXPECT_EQ(Utf8ToCodePage(long_text, CodePage::kWindows1252), long_text);
}

}  // namespace
}  // namespace wizard
