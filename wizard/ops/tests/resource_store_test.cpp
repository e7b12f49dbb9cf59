#include "base/resource_store.h"

#include <gtest/gtest.h>

#include <string>

#include "ops/template_text.h"

namespace {

using wizard::FindEmbeddedResource;
using wizard::LoadResText;

TEST(ResourceStore, FindsTemplatesByNameAndNumberWithoutRegardToCase) {
  ASSERT_TRUE(FindEmbeddedResource("CAR.SCR", "COMMON").has_value());
  ASSERT_TRUE(FindEmbeddedResource("car.scr", "common").has_value());
  EXPECT_EQ(FindEmbeddedResource("CAR.SCR", "COMMON")->data(),
            FindEmbeddedResource("car.scr", "Common")->data());
  ASSERT_TRUE(FindEmbeddedResource("PARTS.SCR", 11u).has_value());
  EXPECT_EQ(FindEmbeddedResource("PARTS.SCR", 11u)->data(),
            FindEmbeddedResource("PARTS.SCR", "11")->data());
}

TEST(ResourceStore, MissingResourceIsNothingAndLoadsAsEmptyText) {
  EXPECT_FALSE(FindEmbeddedResource("CAR.SCR", "NOSUCH").has_value());
  EXPECT_FALSE(FindEmbeddedResource("NOSUCH", "COMMON").has_value());
  EXPECT_FALSE(FindEmbeddedResource("PARTS.SCR", 18u).has_value());
  EXPECT_FALSE(FindEmbeddedResource("PARTS.SCR", 91u).has_value());
  EXPECT_EQ(LoadResText("NOSUCH", "CAR.SCR"), "");
  EXPECT_FALSE(wizard::LoadTemplate("CAR.SCR", "NOSUCH").has_value());
}

TEST(ResourceStore, LoadResTextKeepsEveryByteOfTheResource) {
  const auto bytes = FindEmbeddedResource("ICONS.SCR", "ICONS");
  ASSERT_TRUE(bytes.has_value());
  const std::string text = LoadResText("ICONS", "ICONS.SCR");
  ASSERT_EQ(text.size(), bytes->size());
  EXPECT_EQ(
      0, text.compare(0, text.size(), reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

// Every script template: ASCII, CR LF line ends only, ending in a line end
// followed by 0 to 3 NULs that make the size a multiple of four.
TEST(ScriptTemplates, AreAsciiCrLfTextPaddedWithNulsToFourBytes) {
  std::vector<std::pair<std::string, std::string>> all = {
      {"CAR.SCR", "COMMON"},        {"CAR.SCR", "CAR"},
      {"MODEL.SCR", "COMMON"},      {"TEXTS.SCR", "COMMON"},
      {"ICONS.SCR", "ICONS"},       {"PARTS.SCR", "COMMON"},
      {"PARTS.SCR", "EXHAUST"},     {"PARTS.SCR", "EXHAUSTDUMMY"},
      {"PARTS.SCR", "BONNET"},      {"PARTS.SCR", "SPOILER"},
      {"PARTS.SCR", "BUMPERF"},     {"PARTS.SCR", "BUMPERR"},
      {"PARTS.SCR", "DOORL"},       {"PARTS.SCR", "DOORR"},
      {"PARTS.SCR", "ANTENNAF"},    {"PARTS.SCR", "WIPERL"},
      {"PARTS.SCR", "WIPERR"},      {"PARTS.SCR", "BODY"},
      {"PARTS.SCR", "BRAKESYSTEM"}, {"PARTS.SCR", "ELECTRICS"},
      {"PARTS.SCR", "ENGINE"},      {"PARTS.SCR", "EXHAUSTLOGIC"},
      {"PARTS.SCR", "PAINTING1"}};
  for (const char* wheel :
       {"CONTACTSPORT", "FULLGRIP356", "GRAVEL", "HYPERGRIP200", "ICE", "INTERMEDIATE", "MUD",
        "PROSPORT400S", "PROSPORTWINTER", "SLICK", "SNOW", "WET", "WINTEREVO3"}) {
    all.emplace_back("PARTS.SCR", std::string("WHEEL_") + wheel);
  }
  for (int group = 1; group <= 8; ++group) {
    for (int slot = 1; slot <= 7; ++slot)
      all.emplace_back("PARTS.SCR", std::to_string(group * 10 + slot));
  }
  ASSERT_EQ(all.size(), 92u);
  for (const auto& [type, name] : all) {
    SCOPED_TRACE(type + " " + name);
    const std::string text = LoadResText(name, type);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.size() % 4, 0u);
    const std::size_t end = text.find_last_not_of('\0');
    ASSERT_NE(end, std::string::npos);
    EXPECT_LE(text.size() - 1 - end, 3u);
    ASSERT_GE(end, 1u);
    EXPECT_EQ(text.substr(end - 1, 2), "\r\n") << "does not end with a line end";
    for (std::size_t i = 0; i <= end; ++i) {
      const unsigned char c = static_cast<unsigned char>(text[i]);
      ASSERT_LT(c, 128u) << "at " << i;
      ASSERT_NE(c, 0u) << "at " << i;
      if (c == '\n') {
        ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare line feed at " << i;
      }
      if (c == '\r') {
        ASSERT_TRUE(i + 1 <= end && text[i + 1] == '\n') << "bare CR at " << i;
      }
    }
  }
}

// The value lines of one group piece.
struct GroupValues {
  const char* repair;
  const char* power_add_min;  // nullptr: the slot has none
  const char* gears;          // nullptr: the slot has none
};

std::string SetParamLine(std::string_view key, std::string_view value) {
  return "   SetParam( \"" + std::string(key) + "\", \"" + std::string(value) + "\" )\r\n";
}

// The eight groups differ only in the repair price, the power loss of clutch,
// filter and flywheel, and the gear count; everything else of a slot is the
// same in every group.
TEST(ScriptTemplates, GroupPiecesCarryTheGroupValuesAndDifferInNothingElse) {
  const char* kRepair[8][7] = {{"100", "20", "50", "100", "70", "20", "200"},
                               {"150", "20", "75", "150", "105", "30", "300"},
                               {"200", "40", "100", "200", "140", "40", "400"},
                               {"250", "50", "125", "250", "175", "50", "500"},
                               {"300", "60", "150", "300", "210", "60", "600"},
                               {"350", "70", "175", "350", "245", "70", "700"},
                               {"400", "80", "250", "400", "280", "80", "800"},
                               {"500", "100", "200", "500", "350", "100", "1000"}};
  const char* kPower[8][3] = {{"-0.7", "-7", "-3.5"},   {"-1", "-10", "-5"},
                              {"-1.8", "-18", "-9"},    {"-2.2", "-22", "-11"},
                              {"-1.5", "-15", "-7.5"},  {"-2", "-20", "-10"},
                              {"-2.5", "-25", "-12.5"}, {"-3", "-30", "-15"}};
  const char* kGears[8] = {"5", "5", "6", "6", "6", "6", "6", "6"};
  const char* kHeaders[7] = {"Springs( \"TMP_Springs\" )", "Part( \"TMP_Clutch\" )",
                             "Cooler( \"TMP_Cooler\" )",   "Suspension( \"TMP_Dampers\" )",
                             "Filter( \"TMP_Filter\" )",   "Part( \"TMP_FlyWheel\" )",
                             "Gearbox( \"TMP_Gearbox\" )"};
  for (int slot = 0; slot < 7; ++slot) {
    std::string common_rest;
    for (int group = 0; group < 8; ++group) {
      SCOPED_TRACE("group " + std::to_string(group) + " slot " + std::to_string(slot + 1));
      std::string text = LoadResText(std::to_string((group + 1) * 10 + slot + 1), "PARTS.SCR");
      EXPECT_NE(text.find(std::string("\r\n") + kHeaders[slot] + "\r\n{\r\n"), std::string::npos);
      EXPECT_NE(text.find("   FitsCarModel( \"TMP\" )\r\n"), std::string::npos);
      std::vector<std::string> value_lines = {
          SetParamLine("m_iBaseRepairPrice", kRepair[group][slot])};
      const int power_index = slot == 1 ? 0 : slot == 4 ? 1 : slot == 5 ? 2 : -1;
      if (power_index >= 0)
        value_lines.push_back(SetParamLine("m_fPowerAddMin", kPower[group][power_index]));
      if (slot == 6) value_lines.push_back(SetParamLine("m_nGearsNum", kGears[group]));
      for (const std::string& line : value_lines) {
        const std::size_t at = text.find(line);
        ASSERT_NE(at, std::string::npos) << line;
        text.erase(at, line.size());
      }
      text.erase(text.find_last_not_of('\0') + 1);  // the padding depends on the values
      EXPECT_EQ(text.find("m_iBaseRepairPrice"), std::string::npos);
      EXPECT_EQ(text.find("m_fPowerAddMin"), std::string::npos);
      EXPECT_EQ(text.find("m_nGearsNum"), std::string::npos);
      if (group == 0) {
        common_rest = text;
      } else {
        EXPECT_EQ(text, common_rest);
      }
    }
  }
}

}  // namespace
