#include <gtest/gtest.h>

#include <algorithm>

#include "devuza/entry_names.h"

namespace devuza {
namespace {

TEST(EntryNames, AcceptsOrdinaryCarFileNames) {
  for (const char* name :
       {"SKY.3da", "SKY_GlassReflection_MENU.mat", "a..b", " lead", "CONSOLE.txt", "COM10", "LPT",
        "com1x.dds", "AUXILIARY", "Parts", "#1 & (2)"}) {
    EXPECT_EQ(NameProblem(name), "") << name;
  }
}

TEST(EntryNames, RefusesNamesThatCouldLeaveTheFolderOrNameADevice) {
  for (const char* name :
       {"",         ".",    "..",       "a/b",  "a\\b",     "C:",      "x:y",         "a\tb",
        "a\x7F",    "end.", "end ",     "CON",  "con",      "Con.txt", "prn.x.y",     "NUL",
        "aux",      "COM1", "com9.dat", "LPT1", "lpt5.txt", "conin$",  "CONOUT$.log", "COM\xB9",
        "nul .txt", "a<b",  "a?b",      "a*b",  "a|b",      "a\"b"}) {
    EXPECT_NE(NameProblem(name), "") << name;
  }
}

TEST(EntryNames, SortsByUpperCasedNameAsWindowsLists) {
  std::vector<std::string> names = {"_z.txt", "C.txt", "b.txt", "A.txt", "a.txt", "B1"};
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return NameLess(a, b); });
  EXPECT_EQ(names, (std::vector<std::string>{"A.txt", "a.txt", "b.txt", "B1", "C.txt", "_z.txt"}));
}

}  // namespace
}  // namespace devuza
