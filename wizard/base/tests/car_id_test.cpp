#include "base/car_id.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace wizard {
namespace {

TEST(CarID, AcceptsThreeCharactersOfTheValidSet) {
  const std::vector<std::string> none;
  for (const char* id : {"AB_", "A1B", "___", "ab1", "XY9", "0_Y"}) {
    EXPECT_EQ(CheckCarID(id, none), kCarIDValid) << id;
  }
}

TEST(CarID, RefusesShortLongAndBadCharacters) {
  const std::vector<std::string> none;
  for (const char* id : {"", "AB", "ABZ", "abz", "AB-", "A B", "ABCD", "AB\xC4"}) {
    EXPECT_EQ(CheckCarID(id, none), 10004) << id;
  }
}

// The folder test alone decides which IDs may become a folder below
// "Data\Cars\"; IDs outside the valid set may still pass it.
TEST(CarID, FolderIDsAreThreeCharactersThatAPlainNameMayHold) {
  for (const char* id : {"AB1", "ABZ", "abz", "a_z", "AB-", "AB\xC4", "STC", "CO1"}) {
    EXPECT_TRUE(IsCarFolderID(id)) << id;
  }
  for (const std::string id : {"",     "AB",     "ABCD", "..",  "...", "A.B",  "AB.", "A B", "AB ",
                               "A/B",  "A\\B",   "A:B",  "A*B", "A?B", "A\"B", "A<B", "A>B", "A|B",
                               "A\tB", "AB\x7F", "CON",  "con", "Aux", "NUL",  "prn"}) {
    EXPECT_FALSE(IsCarFolderID(id)) << id;
  }
  EXPECT_FALSE(IsCarFolderID(std::string("A\0B", 3)));
}

TEST(CarID, DeviceNamesAreInvalidIDs) {
  const std::vector<std::string> none;
  for (const char* id : {"CON", "nul", "AUX", "Prn"}) EXPECT_EQ(CheckCarID(id, none), 10004) << id;
}

TEST(CarID, RefusesReservedIDsInAnyCase) {
  const std::vector<std::string> none;
  for (std::string_view id : kReservedCarIDs) EXPECT_EQ(CheckCarID(id, none), 10007) << id;
  EXPECT_EQ(CheckCarID("stc", none), 10007);
  EXPECT_EQ(CheckCarID("Bmx", none), 10007);
}

TEST(CarID, RefusesIDsOfCustomCars) {
  const std::vector<std::string> cars = {"AB1", "", "xy7"};
  EXPECT_EQ(CheckCarID("AB1", cars), 10008);
  EXPECT_EQ(CheckCarID("ab1", cars), 10008);
  EXPECT_EQ(CheckCarID("XY7", cars), 10008);
  EXPECT_EQ(CheckCarID("AB2", cars), 0);
  // The checks run in order: the character set before the reserved list.
  EXPECT_EQ(CheckCarID("STC", std::vector<std::string>{"STC"}), 10007);
}

TEST(CarID, GenerateMapsDrawsOntoTheFirst36Characters) {
  std::vector<double> draws = {0.0, 10.5 / 36, 35.5 / 36};
  std::size_t next = 0;
  EXPECT_EQ(GenerateCarID([&] { return draws[next++]; }), "_9Y");
  // Out-of-range draws are clamped rather than read past the set.
  draws = {-1.0, 1.0, 7.5};
  next = 0;
  EXPECT_EQ(GenerateCarID([&] { return draws[next++]; }), "_YY");
}

TEST(CarID, GeneratedIDsNeverHoldZ) {
  std::mt19937 engine(12345);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  bool saw_underscore_first = false;
  bool saw_digit_first = false;
  for (int i = 0; i < 3000; ++i) {
    const std::string id = GenerateCarID([&] { return unit(engine); });
    ASSERT_EQ(id.size(), 3u);
    ASSERT_EQ(id.find('Z'), std::string::npos) << id;
    ASSERT_TRUE(std::all_of(id.begin(), id.end(), IsValidCarIDChar)) << id;
    saw_underscore_first = saw_underscore_first || id[0] == '_';
    saw_digit_first = saw_digit_first || (id[0] >= '0' && id[0] <= '9');
  }
  EXPECT_TRUE(saw_underscore_first);
  EXPECT_TRUE(saw_digit_first);
  EXPECT_EQ(GenerateCarID().size(), 3u);
}

}  // namespace
}  // namespace wizard

namespace wizard {
namespace {

TEST(CarID, MessagesOfEachResult) {
  EXPECT_EQ(CarIDMessage(kCarIDValid, Language::kEnglish), "");
  EXPECT_EQ(CarIDMessage(kCarIDInvalid, Language::kEnglish),
            "Invalid car's ID. The ID should consist of at least 3 characters.\r\nValid "
            "characters:  _0123456789ABCDEFGHIJKLMNOPQRSTUVWXYX");
  EXPECT_EQ(CarIDMessage(kCarIDReserved, Language::kEnglish), "ID reserved.");
  EXPECT_EQ(CarIDMessage(kCarIDTaken, Language::kPolish), "Identyfikator zastrzeżony.");
}

}  // namespace
}  // namespace wizard
