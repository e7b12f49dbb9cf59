// LocalizeForm: ids in tags, tool tips and menu captions become texts.
#include "model/localize.h"

#include <gtest/gtest.h>

#include <map>

namespace wizard {
namespace {

const std::map<std::uint16_t, std::string> kTable = {
    {306, "Creating a DEVUZA"}, {408, "Advanced"}, {101, "Cancel"}, {11007, "Power [bhp]"}};

std::optional<std::string> Lookup(std::uint16_t id) {
  auto it = kTable.find(id);
  if (it == kTable.end()) return std::nullopt;
  return it->second;
}

TEST(NumericId, accepts_only_whole_numbers_of_sixteen_bits) {
  EXPECT_EQ(NumericId("306"), 306);
  EXPECT_EQ(NumericId(" 408 "), 408);
  EXPECT_EQ(NumericId("0"), 0);
  EXPECT_EQ(NumericId("65535"), 65535);
  EXPECT_EQ(NumericId("65536"), std::nullopt);
  EXPECT_EQ(NumericId("99999999999999999999"), std::nullopt);
  EXPECT_EQ(NumericId(""), std::nullopt);
  EXPECT_EQ(NumericId("  "), std::nullopt);
  EXPECT_EQ(NumericId("30 - 700"), std::nullopt);
  EXPECT_EQ(NumericId("-1"), std::nullopt);
  EXPECT_EQ(NumericId("3.5"), std::nullopt);
  EXPECT_EQ(NumericId("optTask"), std::nullopt);
}

TEST(LocalizeForm, replaces_ids_by_the_rule_of_each_control_kind) {
  FormWindow window;
  window.tag = "408";
  window.caption = "frmAdvanced";

  FormControl option{.kind = ControlKind::kOther,
                     .tag = "306",
                     .caption = "optTask",
                     .tool_tip = "11007",
                     .items = {},
                     .handle = 1};
  FormControl menu{.kind = ControlKind::kMenuItem,
                   .tag = "306",  // a menu item's tag is not used
                   .caption = "101",
                   .tool_tip = std::nullopt,
                   .items = {},
                   .handle = 2};
  FormControl tabs{.kind = ControlKind::kTabStrip,
                   .tag = "101",
                   .caption = std::nullopt,
                   .tool_tip = std::nullopt,
                   .items = {{"306", "tab1", "408"}, {"", "AB12", "tip"}},
                   .handle = 3};
  FormControl toolbar{.kind = ControlKind::kToolBar,
                      .tag = std::nullopt,
                      .caption = std::nullopt,
                      .tool_tip = std::nullopt,
                      .items = {{"101", "caption", "old tip"}},
                      .handle = 4};
  FormControl columns{.kind = ControlKind::kListView,
                      .tag = std::nullopt,
                      .caption = std::nullopt,
                      .tool_tip = std::nullopt,
                      .items = {{"408", "header", std::nullopt}, {"abc", "Name", std::nullopt}},
                      .handle = 5};
  window.controls = {option, menu, tabs, toolbar, columns};

  LocalizeForm(window, Lookup);

  EXPECT_EQ(window.caption, "Advanced");
  const auto& c = window.controls;
  EXPECT_EQ(c[0].caption, "Creating a DEVUZA");
  EXPECT_EQ(c[0].tool_tip, "Power [bhp]");
  EXPECT_EQ(c[0].tag, "306");
  EXPECT_EQ(c[1].caption, "Cancel");
  EXPECT_EQ(c[2].items[0].caption, "Creating a DEVUZA");
  EXPECT_EQ(c[2].items[0].tool_tip, "Advanced");
  EXPECT_EQ(c[2].items[1].caption, "AB12");
  EXPECT_EQ(c[2].items[1].tool_tip, "tip");
  EXPECT_EQ(c[3].items[0].tool_tip, "Cancel");
  EXPECT_EQ(c[3].items[0].caption, "caption");
  EXPECT_EQ(c[4].items[0].caption, "Advanced");
  EXPECT_EQ(c[4].items[1].caption, "Name");
}

TEST(LocalizeForm, leaves_missing_properties_and_unknown_ids_alone) {
  FormWindow window;  // no tag: the caption stays
  window.caption = "Carwright v0.961a";
  FormControl frame{.kind = ControlKind::kOther,
                    .tag = "408",
                    .caption = std::nullopt,  // a control without a caption
                    .tool_tip = "101",
                    .items = {},
                    .handle = 0};
  FormControl label{.kind = ControlKind::kOther,
                    .tag = "12345",  // not in the table
                    .caption = "lblInfo",
                    .tool_tip = std::nullopt,
                    .items = {},
                    .handle = 0};
  FormControl text{.kind = ControlKind::kOther,
                   .tag = std::nullopt,
                   .caption = "txtPower",
                   .tool_tip = "30 - 700",
                   .items = {},
                   .handle = 0};
  window.controls = {frame, label, text};

  LocalizeForm(window, Lookup);

  EXPECT_EQ(window.caption, "Carwright v0.961a");
  EXPECT_EQ(window.controls[0].caption, std::nullopt);
  EXPECT_EQ(window.controls[0].tool_tip, "Cancel");
  EXPECT_EQ(window.controls[1].caption, "lblInfo");
  EXPECT_EQ(window.controls[2].caption, "txtPower");
  EXPECT_EQ(window.controls[2].tool_tip, "30 - 700");
}

TEST(LocalizeForm, takes_texts_from_the_string_table_in_either_language) {
  FormWindow window;
  window.controls = {FormControl{.kind = ControlKind::kOther,
                                 .tag = "104",
                                 .caption = "cmdNav4",
                                 .tool_tip = std::nullopt,
                                 .items = {},
                                 .handle = 0},
                     FormControl{.kind = ControlKind::kOther,
                                 .tag = "11000",  // a separator in Polish only
                                 .caption = "sep",
                                 .tool_tip = std::nullopt,
                                 .items = {},
                                 .handle = 0}};
  FormWindow polish = window;
  LocalizeForm(window, Language::kEnglish);
  LocalizeForm(polish, Language::kPolish);
  EXPECT_EQ(window.controls[0].caption, "Finish");
  EXPECT_EQ(polish.controls[0].caption, "Zakończ");
  EXPECT_EQ(window.controls[1].caption, "sep");
  EXPECT_NE(polish.controls[1].caption, "sep");
}

}  // namespace
}  // namespace wizard
