// The advanced window without a screen: start-up, tabs, the group reset, the
// number boxes with their clamps, the text boxes, OK and Cancel.
#include <gtest/gtest.h>

#include <optional>

#include "fake_advanced_view.h"
#include "model/advanced_model.h"

namespace wizard::testing {
namespace {

class AdvancedWindow : public ::testing::Test {
 protected:
  AdvancedWindow() { ResetCarVariants(variants_); }

  AdvancedModel& Open(int paintings = 1, Language language = Language::kEnglish,
                      char separator = '.') {
    model_.emplace(view_, AdvancedOptions{language, separator});
    model_->Open(variants_, "AB1", paintings,
                 [this](const CarVariants& accepted) { accepted_ = accepted; });
    return *model_;
  }

  // The user types `text` into a box: the box shows it, then its handler runs.
  void Type(AdvancedModel& model, int variant, AdvancedText box, const std::string& text) {
    view_.panels.at(variant).texts[box] = text;
    model.OnTextChange(variant, box, text);
  }

  const std::string& Shown(int variant, AdvancedText box) {
    return view_.panels.at(variant).texts[box];
  }

  FakeAdvancedView view_;
  CarVariants variants_{};
  std::optional<AdvancedModel> model_;
  std::optional<CarVariants> accepted_;
};

TEST_F(AdvancedWindow, StartUpFillsEveryPanelFromTheVariants) {
  variants_[2].Enabled = true;
  variants_[2].Group = 6;
  InitCarParams(variants_[2], 6);
  variants_[2].Turbo = true;
  variants_[2].Painting = 2;
  AdvancedModel& model = Open(2);

  EXPECT_TRUE(model.Loaded());
  EXPECT_EQ(view_.caption, "Advanced");
  EXPECT_EQ(view_.centred, 1);
  EXPECT_FALSE(view_.main_enabled);
  EXPECT_EQ(view_.tabs, (std::array<std::string, 5>{"AB11", "AB12", "AB13", "AB14", "AB15"}));
  EXPECT_EQ(view_.selected_tab, 0);
  for (int i = 0; i < 5; ++i) {
    const FakeAdvancedView::Panel& panel = view_.panels.at(i);
    EXPECT_EQ(panel.shown, i == 0) << i;
    EXPECT_EQ(panel.fields_shown, i == 0 || i == 2) << i;
    // Two paintings: every painting list offers 1 and 2.
    EXPECT_EQ(panel.lists.at(AdvancedList::kPainting), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(panel.lists.at(AdvancedList::kCarGroup).size(), 8u);
    EXPECT_EQ(panel.lists.at(AdvancedList::kWheelDrive),
              (std::vector<std::string>{"FWD", "AWD", "RWD"}));
    EXPECT_EQ(panel.lists.at(AdvancedList::kDisplacement),
              (std::vector<std::string>{"1100", "1600", "2000", "2400"}));
    EXPECT_EQ(panel.lists.at(AdvancedList::kEngineType),
              (std::vector<std::string>{"DOHC/4", "SOHC/2"}));
    EXPECT_EQ(panel.tool_tips.at(AdvancedText::kPower), "30 - 700");
    EXPECT_EQ(panel.tool_tips.at(AdvancedText::kWeight), "700 - 1600");
  }
  const FakeAdvancedView::Panel& third = view_.panels.at(2);
  EXPECT_TRUE(third.checks.at(AdvancedCheck::kTurbo));
  EXPECT_EQ(third.selected.at(AdvancedList::kCarGroup), 6);
  EXPECT_EQ(third.selected.at(AdvancedList::kPainting), 1);
  EXPECT_EQ(third.selected.at(AdvancedList::kWheelDrive), 1);
  EXPECT_EQ(third.selected.at(AdvancedList::kDisplacement), 2);
  EXPECT_EQ(Shown(2, AdvancedText::kCarName), "Custom Car 3");
  EXPECT_EQ(Shown(2, AdvancedText::kPower), "300");
  EXPECT_EQ(Shown(2, AdvancedText::kTorque), "480");
  EXPECT_EQ(Shown(2, AdvancedText::kBuyPrice), "50000");
  EXPECT_EQ(Shown(2, AdvancedText::kEngineType), "SOHC/2");
  EXPECT_EQ(Shown(2, AdvancedText::kProduction), "Custom");
}

TEST_F(AdvancedWindow, GroupResetsTheVariantAndShowsTheDefaultsAtOnce) {
  variants_[1].Enabled = true;
  AdvancedModel& model = Open(3);
  Type(model, 1, AdvancedText::kCarName, "Rally Two");
  Type(model, 1, AdvancedText::kHeight, "1234");
  Type(model, 1, AdvancedText::kProduction, "Home");
  model.OnTurboClick(1, true);
  model.OnPaintingClick(1, 2);
  Type(model, 1, AdvancedText::kPower, "99");
  model.OnTextValidate(1, AdvancedText::kPower, "99");

  model.OnCarGroupClick(1, 3);  // O1
  const CarVariant& record = model.Working()[1];
  EXPECT_EQ(record.Group, 3);
  EXPECT_EQ(record.Power, 200);
  EXPECT_EQ(record.Weight, 1070);
  EXPECT_EQ(record.Height, 1400);
  EXPECT_EQ(record.Painting, 1);
  EXPECT_FALSE(record.Turbo);
  EXPECT_EQ(record.Name, "Rally Two");
  EXPECT_TRUE(record.Enabled);

  EXPECT_EQ(Shown(1, AdvancedText::kPower), "200");
  EXPECT_EQ(Shown(1, AdvancedText::kTorque), "230");
  EXPECT_EQ(Shown(1, AdvancedText::kTorqueRPM), "5550");
  EXPECT_EQ(Shown(1, AdvancedText::kWeight), "1070");
  EXPECT_EQ(Shown(1, AdvancedText::kHeight), "1400");
  EXPECT_EQ(Shown(1, AdvancedText::kBuyPrice), "30000");
  EXPECT_EQ(Shown(1, AdvancedText::kEngineType), "SOHC/2");
  EXPECT_EQ(Shown(1, AdvancedText::kProduction), "Custom");
  EXPECT_EQ(Shown(1, AdvancedText::kCarName), "Rally Two");
  const FakeAdvancedView::Panel& panel = view_.panels.at(1);
  EXPECT_EQ(panel.selected.at(AdvancedList::kWheelDrive), 0);
  EXPECT_EQ(panel.selected.at(AdvancedList::kDisplacement), 1);
  EXPECT_EQ(panel.selected.at(AdvancedList::kPainting), 0);
  EXPECT_FALSE(panel.checks.at(AdvancedCheck::kTurbo));
  // Other variants are untouched.
  EXPECT_EQ(model.Working()[0], variants_[0]);
}

TEST_F(AdvancedWindow, GroupChosenBeforeTheWindowIsLoadedIsOnlyRecorded) {
  FakeAdvancedView view;
  AdvancedModel model(view, AdvancedOptions{Language::kEnglish, '.'});
  model.OnCarGroupClick(0, 5);
  EXPECT_EQ(model.Working()[0].Group, 5);
  EXPECT_EQ(model.Working()[0].Power, 0);  // no reset
  EXPECT_EQ(view.text_sets, 0);
}

TEST_F(AdvancedWindow, PowerAndWeightAreClampedWhenTheBoxIsLeft) {
  AdvancedModel& model = Open();
  Type(model, 0, AdvancedText::kPower, "5");
  EXPECT_EQ(model.Working()[0].Power, 70);  // not stored while typing
  model.OnTextValidate(0, AdvancedText::kPower, "5");
  EXPECT_EQ(Shown(0, AdvancedText::kPower), "30");
  EXPECT_EQ(model.Working()[0].Power, 30);

  Type(model, 0, AdvancedText::kPower, "900");
  model.OnTextValidate(0, AdvancedText::kPower, "900");
  EXPECT_EQ(Shown(0, AdvancedText::kPower), "700");
  EXPECT_EQ(model.Working()[0].Power, 700);

  model.OnTextValidate(0, AdvancedText::kPower, "2.5e2");  // 250, within the range
  EXPECT_EQ(model.Working()[0].Power, 250);

  model.OnTextValidate(0, AdvancedText::kWeight, "100");
  EXPECT_EQ(Shown(0, AdvancedText::kWeight), "700");
  EXPECT_EQ(model.Working()[0].Weight, 700);
  model.OnTextValidate(0, AdvancedText::kWeight, "2000");
  EXPECT_EQ(Shown(0, AdvancedText::kWeight), "1600");
  EXPECT_EQ(model.Working()[0].Weight, 1600);
  model.OnTextValidate(0, AdvancedText::kWeight, "1200.5");
  EXPECT_EQ(model.Working()[0].Weight, 1200);
}

TEST_F(AdvancedWindow, NumberBoxesRestoreTheirValueOnTextThatIsNoNumberForTheField) {
  AdvancedModel& model = Open();
  Type(model, 0, AdvancedText::kHeight, "14a0");
  EXPECT_EQ(Shown(0, AdvancedText::kHeight), "1400");
  Type(model, 0, AdvancedText::kHeight, "");
  EXPECT_EQ(Shown(0, AdvancedText::kHeight), "1400");
  Type(model, 0, AdvancedText::kHeight, "1500");
  EXPECT_EQ(model.Working()[0].Height, 1500);

  // A letter in the power box restores the stored power, not the text typed.
  Type(model, 0, AdvancedText::kPower, "12");
  Type(model, 0, AdvancedText::kPower, "12x");
  EXPECT_EQ(Shown(0, AdvancedText::kPower), "70");

  // Numeric, but too large for a 16-bit field or the 32-bit price.
  Type(model, 0, AdvancedText::kTorque, "9e9");
  EXPECT_EQ(Shown(0, AdvancedText::kTorque), "115");
  EXPECT_EQ(model.Working()[0].Torque, 115);
  Type(model, 0, AdvancedText::kPower, "9e9");
  EXPECT_EQ(Shown(0, AdvancedText::kPower), "70");
  Type(model, 0, AdvancedText::kBuyPrice, "3e9");
  EXPECT_EQ(Shown(0, AdvancedText::kBuyPrice), "13000");
  Type(model, 0, AdvancedText::kBuyPrice, "2e9");
  EXPECT_EQ(model.Working()[0].BuyPrice, 2000000000);
  // More characters than the box takes.
  Type(model, 0, AdvancedText::kWidth, "12345");
  EXPECT_EQ(Shown(0, AdvancedText::kWidth), "1800");
  // Halves go to the even neighbour.
  Type(model, 0, AdvancedText::kTorque, "2.5");
  EXPECT_EQ(model.Working()[0].Torque, 2);
  Type(model, 0, AdvancedText::kTorque, "3.5");
  EXPECT_EQ(model.Working()[0].Torque, 4);
}

TEST_F(AdvancedWindow, NumericTestFollowsTheLocaleWhileTheValueIsReadWithAPoint) {
  AdvancedModel& model = Open(1, Language::kPolish, ',');
  Type(model, 0, AdvancedText::kTorque, "1,5");
  EXPECT_EQ(model.Working()[0].Torque, 1);  // read up to the comma
  Type(model, 0, AdvancedText::kTorque, "1.5");
  EXPECT_EQ(Shown(0, AdvancedText::kTorque), "1");
  EXPECT_EQ(model.Working()[0].Torque, 1);
}

TEST_F(AdvancedWindow, TextBoxesRefuseForbiddenAndUnencodableCharacters) {
  AdvancedModel& model = Open();
  Type(model, 0, AdvancedText::kCarName, "Rally");
  for (const char* text : {"Rally\"", "Rally&", "Ral!ly", "*", "Rally\\"}) {
    Type(model, 0, AdvancedText::kCarName, text);
    EXPECT_EQ(Shown(0, AdvancedText::kCarName), "Rally") << text;
  }
  Type(model, 0, AdvancedText::kCarName, "Rallye Ostrów");  // ó is in 1252
  EXPECT_EQ(model.Working()[0].Name, "Rallye Ostr\xF3w");
  Type(model, 0, AdvancedText::kCarName, "Łódź");  // Ł is not
  EXPECT_EQ(Shown(0, AdvancedText::kCarName), "Rallye Ostrów");
  Type(model, 0, AdvancedText::kCarName, "123456789012345678901");
  EXPECT_EQ(model.Working()[0].Name, "Rallye Ostr\xF3w");
  Type(model, 0, AdvancedText::kCarName, "");
  EXPECT_EQ(model.Working()[0].Name, "");

  Type(model, 0, AdvancedText::kProduction, "Somewhere far");  // 13 characters
  EXPECT_EQ(Shown(0, AdvancedText::kProduction), "Custom");
  Type(model, 0, AdvancedText::kEngineType, "V8#");
  EXPECT_EQ(Shown(0, AdvancedText::kEngineType), "DOHC/4");
  Type(model, 0, AdvancedText::kEngineType, "Wankel twin rotor 13B");
  EXPECT_EQ(model.Working()[0].EngineType, "Wankel twin rotor 13B");
}

TEST_F(AdvancedWindow, PolishNamesAreKeptInThePolishCodePage) {
  AdvancedModel& model = Open(1, Language::kPolish, ',');
  Type(model, 0, AdvancedText::kCarName, "Łódź");
  EXPECT_EQ(model.Working()[0].Name, "\xA3\xF3\x64\x9F");
}

TEST_F(AdvancedWindow, HidingAVariantsFieldsKeepsItsValues) {
  variants_[3].Enabled = true;
  AdvancedModel& model = Open();
  Type(model, 3, AdvancedText::kLength, "4100");
  model.OnEnabledClick(3, false);
  EXPECT_FALSE(view_.panels.at(3).fields_shown);
  EXPECT_FALSE(model.Working()[3].Enabled);
  EXPECT_EQ(model.Working()[3].Length, 4100);
  model.OnEnabledClick(3, true);
  EXPECT_TRUE(view_.panels.at(3).fields_shown);
  EXPECT_EQ(model.Working()[3].Length, 4100);
  EXPECT_EQ(Shown(3, AdvancedText::kLength), "4100");
}

TEST_F(AdvancedWindow, CtrlTabCyclesThroughTheTabs) {
  AdvancedModel& model = Open();
  for (int expected : {1, 2, 3, 4, 0}) {
    model.OnCtrlTab();
    EXPECT_EQ(view_.selected_tab, expected);
    EXPECT_EQ(model.SelectedTab(), expected);
    for (int panel = 0; panel < 5; ++panel) {
      EXPECT_EQ(view_.panels.at(panel).shown, panel == expected);
    }
  }
}

TEST_F(AdvancedWindow, CancelDropsTheEditsAndOkHandsThemBack) {
  AdvancedModel& model = Open(2);
  Type(model, 1, AdvancedText::kCarName, "Changed");
  model.OnCarGroupClick(0, 7);
  model.OnCancel();
  EXPECT_FALSE(accepted_);
  EXPECT_TRUE(view_.main_enabled);
  EXPECT_FALSE(view_.open);
  EXPECT_FALSE(model.Loaded());

  // Reopening starts again from the variants.
  view_.open = true;
  AdvancedModel& again = Open(2);
  EXPECT_EQ(again.Working(), variants_);
  Type(again, 4, AdvancedText::kCarName, "Fifth");
  again.OnPaintingClick(4, 1);
  again.OnPaintingClick(4, 2);  // only two paintings: refused
  again.OnOK();
  ASSERT_TRUE(accepted_);
  EXPECT_EQ((*accepted_)[4].Name, "Fifth");
  EXPECT_EQ((*accepted_)[4].Painting, 2);
  EXPECT_EQ(view_.panels.at(4).selected.at(AdvancedList::kPainting), 1);
  EXPECT_EQ((*accepted_)[0], variants_[0]);
  EXPECT_TRUE(view_.main_enabled);
  EXPECT_FALSE(view_.open);
}

}  // namespace
}  // namespace wizard::testing
