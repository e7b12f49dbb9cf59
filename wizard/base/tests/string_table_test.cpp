#include "base/string_table.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#if defined(_WIN32)
// The C runtime's way to change the environment (an empty value removes the
// variable, which the locale rules treat alike).
int setenv(const char* name, const char* value, int) {
  return ::_putenv_s(name, value);
}
#endif

namespace wizard {
namespace {

TEST(StringTable, HoldsTheTextsInBothLanguages) {
  EXPECT_EQ(StringText(10002, Language::kEnglish),
            "The selected directory does not contain Gravelmoor!");
  EXPECT_EQ(StringText(10002, Language::kPolish), "Wskazany katalog nie zawiera gry Gravelmoor!");
  EXPECT_EQ(StringText(104, Language::kPolish), "Zakończ");
  EXPECT_EQ(StringText(10006, Language::kEnglish), "<Game not installed>");
  EXPECT_EQ(StringText(803, Language::kEnglish),
            "WARNING! Before completing the operation you should backup your existing profiles "
            "(Data\\Profiles\\). They may not work correctly. After finishing the operation a "
            "new profile should be created.");
  EXPECT_EQ(StringText(201, Language::kPolish),
            "Wskaż katalog  w którym znajduje się gra Gravelmoor.");
  EXPECT_EQ(StringText(11015, Language::kPolish), "Pojemność [ccm]");
  EXPECT_EQ(StringText(11008, Language::kPolish), "Moment obr.[Nm]");
}

TEST(StringTable, InvalidIDMessageEndsInALineBreakAndTwoBlanks) {
  EXPECT_EQ(StringText(10004, Language::kEnglish),
            "Invalid car's ID. The ID should consist of at least 3 characters.\r\n"
            "Valid characters:  ");
  EXPECT_EQ(StringText(10004, Language::kPolish),
            "Nieprawidłowy identyfikator samochodu. Identyfikator samochodu powinien zawierac "
            "minimum 3 znaki.\r\nDozwolone znaki:  ");
}

TEST(StringTable, CoversEveryIDOfBothWindows) {
  const std::uint16_t ids[] = {
      100,   101,   102,   103,   104,   105,   110,   111,   112,   113,   114,   115,
      116,   117,   118,   119,   200,   201,   202,   203,   204,   205,   206,   300,
      301,   302,   303,   304,   305,   306,   307,   308,   400,   401,   402,   403,
      404,   405,   406,   407,   408,   409,   500,   501,   502,   510,   511,   512,
      513,   514,   515,   520,   521,   522,   523,   600,   601,   602,   700,   701,
      702,   703,   800,   801,   802,   803,   804,   900,   901,   902,   903,   10000,
      10001, 10002, 10003, 10004, 10005, 10006, 10007, 10008, 11001, 11002, 11003, 11004,
      11005, 11006, 11007, 11008, 11009, 11010, 11011, 11012, 11013, 11014, 11015};
  for (std::uint16_t id : ids) {
    EXPECT_FALSE(StringText(id, Language::kEnglish).empty()) << id;
    EXPECT_FALSE(StringText(id, Language::kPolish).empty()) << id;
  }
  // The advanced window's separator exists in Polish only; unknown ids are empty.
  EXPECT_TRUE(HasString(11000, Language::kPolish));
  EXPECT_FALSE(HasString(11000, Language::kEnglish));
  EXPECT_EQ(StringText(11000, Language::kEnglish), "");
  EXPECT_FALSE(HasString(99, Language::kEnglish));
  EXPECT_FALSE(HasString(11016, Language::kPolish));
}

TEST(StringTable, LanguageFollowsTheLocaleUnlessOverridden) {
  EXPECT_EQ(LanguageFromLocale("pl_PL.UTF-8"), Language::kPolish);
  EXPECT_EQ(LanguageFromLocale("PL"), Language::kPolish);
  EXPECT_EQ(LanguageFromLocale("pl"), Language::kPolish);
  EXPECT_EQ(LanguageFromLocale("plx_XX"), Language::kEnglish);
  EXPECT_EQ(LanguageFromLocale("en_US.UTF-8"), Language::kEnglish);
  EXPECT_EQ(LanguageFromLocale("C"), Language::kEnglish);
  EXPECT_EQ(LanguageFromLocale(""), Language::kEnglish);

  ::setenv("LC_ALL", "", 1);
  ::setenv("LC_MESSAGES", "pl_PL.UTF-8", 1);
  ::setenv("LANG", "en_GB.UTF-8", 1);
  EXPECT_EQ(DetectUserLanguage(), Language::kPolish);
  ::setenv("LC_ALL", "C", 1);
  EXPECT_EQ(DetectUserLanguage(), Language::kEnglish);
}

// Every id the code names has its text in both languages.
TEST(StringTable, NamedIdsHaveTheirTexts) {
  for (const std::uint16_t id : {kStrCreatingFile,
                                 kStrSuccess,
                                 kStrAreYouSure,
                                 kStrRemovingCar,
                                 kStrCreatingPackage,
                                 kStrExtractingPackage,
                                 kStrRunError,
                                 kStrReplaceCar,
                                 kStrWarning,
                                 kStrPaintingInUse,
                                 kStrSelectGameFolder,
                                 kStrError,
                                 kStrErrorCreatingFile,
                                 kStrNotGameFolder,
                                 kStrNoWheels,
                                 kStrInvalidCarID,
                                 kStrErrorCreatingFolder,
                                 kStrGameNotInstalled,
                                 kStrIDReserved,
                                 kStrIDTaken}) {
    EXPECT_TRUE(HasString(id, Language::kEnglish)) << id;
    EXPECT_TRUE(HasString(id, Language::kPolish)) << id;
  }
  EXPECT_EQ(StringText(kStrCreatingFile, Language::kPolish), "Tworzenie pliku:");
  EXPECT_EQ(StringText(kStrSelectGameFolder, Language::kEnglish), "Select Gravelmoor directory");
  EXPECT_EQ(StringText(kStrError, Language::kPolish), "Błąd");
}

}  // namespace
}  // namespace wizard
