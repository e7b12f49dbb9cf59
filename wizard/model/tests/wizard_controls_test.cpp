// The page controls: ID and name boxes, group, slider with its painting check,
// check boxes, folder picker, generated ID, advanced window, and the texts in
// both languages.
#include <gtest/gtest.h>

#include "wizard_fixture.h"

namespace wizard::testing {
namespace {

using WizardControls = WizardTest;

TEST_F(WizardControls, id_box_upper_cases_and_takes_three_characters) {
  WizardModel& model = Start();
  model.OnCarIDChange("ab");
  EXPECT_EQ(view_.car_id_text, "AB");
  model.OnCarIDChange("ab1");
  EXPECT_EQ(view_.car_id_text, "AB1");
  EXPECT_EQ(model.State().CarID, "AB1");
  model.OnCarIDChange("AB1C");
  EXPECT_EQ(view_.car_id_text, "AB1");
  EXPECT_EQ(model.State().CarID, "AB1");
  // Three characters that are four bytes are still three characters.
  model.OnCarIDChange(
      "\xC3\xA9"
      "AB");
  EXPECT_EQ(model.State().CarID,
            "\xC3\xA9"
            "AB");
  model.OnCarIDChange("");
  EXPECT_EQ(model.State().CarID, "");
}

TEST_F(WizardControls, generate_draws_a_new_id_into_the_box) {
  WizardModel& model = Start();
  draws_ = {0.0, 10.5 / 36, 35.5 / 36};
  model.OnGenerateClick();
  EXPECT_EQ(model.State().CarID, "_9Y");
  EXPECT_EQ(view_.car_id_text, "_9Y");
}

TEST_F(WizardControls, name_box_refuses_forbidden_and_over_long_text) {
  WizardModel& model = Start();
  model.OnCarNameChange("Rally 2000");
  EXPECT_EQ(model.Variants()[0].Name, "Rally 2000");

  // The backslash as well: the game's strings read it as an escape.
  for (const char* bad :
       {"Rally #2", "\"Q\"", "A!", "a@b", "$", "50%", "^", "R&D", "x*", "Rally\\", "A\\B"}) {
    view_.car_name_text.clear();
    model.OnCarNameChange(bad);
    EXPECT_EQ(model.Variants()[0].Name, "Rally 2000") << bad;
    EXPECT_EQ(view_.car_name_text, "Rally 2000") << bad;
  }

  model.OnCarNameChange("12345678901234567890");
  EXPECT_EQ(model.Variants()[0].Name, "12345678901234567890");
  model.OnCarNameChange("123456789012345678901");
  EXPECT_EQ(model.Variants()[0].Name, "12345678901234567890");
  model.OnCarNameChange("");
  EXPECT_EQ(model.Variants()[0].Name, "");
}

TEST_F(WizardControls, name_box_keeps_the_game_code_page) {
  // "Łada" fits the Polish game's code page but not the English one.
  WizardModel& polish = Start(Language::kPolish);
  polish.OnCarNameChange(
      "\xC5\x81"
      "ada");
  EXPECT_EQ(polish.Variants()[0].Name,
            "\xA3"
            "ada");
  view_.car_name_text.clear();
  polish.OnCarNameChange(
      "\xC5\x81"
      "ada!");
  EXPECT_EQ(view_.car_name_text,
            "\xC5\x81"
            "ada");

  WizardModel& english = Start(Language::kEnglish);
  english.OnCarNameChange(
      "\xC5\x81"
      "ada");
  EXPECT_EQ(english.Variants()[0].Name, "Custom Car 1");
  EXPECT_EQ(view_.car_name_text, "Custom Car 1");
  english.OnCarNameChange("Caf\xC3\xA9");
  EXPECT_EQ(english.Variants()[0].Name, "Caf\xE9");
}

TEST_F(WizardControls, group_list_sets_variant_zero_group) {
  WizardModel& model = Start();
  model.OnCarGroupClick(5);
  EXPECT_EQ(model.Variants()[0].Group, 5);
  model.OnCarGroupClick(8);
  EXPECT_EQ(model.Variants()[0].Group, 5);
  EXPECT_EQ(view_.selected_group, 5);
  model.OnCarGroupClick(-1);
  EXPECT_EQ(model.Variants()[0].Group, 5);
}

TEST_F(WizardControls, check_boxes_set_their_bits_and_evo3_stays) {
  WizardModel& model = Start();
  model.OnPartClick(0, true);
  model.OnPartClick(4, true);
  model.OnPartClick(5, true);
  EXPECT_EQ(model.State().CarParts, 0b10001);
  model.OnPartClick(0, false);
  EXPECT_EQ(model.State().CarParts, 0b10000);
  model.OnAnimPartClick(1, true);
  model.OnAnimPartClick(2, true);
  EXPECT_EQ(model.State().CarAnimParts, 0b10);

  model.OnWheelClick(0, true);
  model.OnWheelClick(2, false);
  EXPECT_EQ(model.State().CarWheels, 5636 - 4 + 1);
  model.OnWheelClick(12, false);
  EXPECT_EQ(model.State().CarWheels, 5636 - 4 + 1);
  EXPECT_EQ(view_.Box(CheckGroup::kWheels, 12).state, CheckState::kGrey);

  // The boxes show the state again after a refresh.
  model.RefreshPartBoxes();
  model.RefreshAnimPartBoxes();
  model.RefreshWheelBoxes();
  EXPECT_EQ(view_.Box(CheckGroup::kParts, 4).state, CheckState::kChecked);
  EXPECT_EQ(view_.Box(CheckGroup::kParts, 0).state, CheckState::kUnchecked);
  EXPECT_EQ(view_.Box(CheckGroup::kAnimParts, 1).state, CheckState::kChecked);
  EXPECT_EQ(view_.Box(CheckGroup::kWheels, 0).state, CheckState::kChecked);
  EXPECT_EQ(view_.Box(CheckGroup::kWheels, 2).state, CheckState::kUnchecked);
  EXPECT_EQ(view_.Box(CheckGroup::kWheels, 12).state, CheckState::kGrey);
}

TEST_F(WizardControls, values_survive_back_and_next) {
  WizardModel& model = Start();
  Next();
  Next();
  model.OnCarIDChange("qq7");
  model.OnCarNameChange("Kestrel");
  Next();
  model.OnPartClick(1, true);
  Next();
  model.OnWheelClick(4, true);
  Back();
  Back();
  Back();
  EXPECT_EQ(Step(), 1);
  Next();
  Next();
  Next();
  Next();
  EXPECT_EQ(Step(), 6);
  EXPECT_EQ(model.State().CarID, "QQ7");
  EXPECT_EQ(model.Variants()[0].Name, "Kestrel");
  EXPECT_EQ(model.State().CarParts, 2);
  EXPECT_EQ(model.State().CarWheels, 5636 + 16);
}

TEST_F(WizardControls, car_list_click_ignores_entries_out_of_range) {
  WriteCustomCars({"AB7"});
  WizardModel& model = Start();
  Next();
  model.OnTaskOptionSelect(1);
  Next();
  model.OnCarListClick(1);
  model.OnCarListClick(-1);
  EXPECT_EQ(model.State().SelectedCar, -1);
  EXPECT_FALSE(view_.NavEnabled(NavButton::kNext));
  model.OnCarListClick(0);
  EXPECT_TRUE(view_.NavEnabled(NavButton::kNext));

  // Reading the registry again clears the selection.
  Back();
  Back();
  Next();
  EXPECT_EQ(model.State().SelectedCar, -1);
  Next();
  EXPECT_FALSE(view_.NavEnabled(NavButton::kNext));
}

TEST_F(WizardControls, browse_takes_only_a_game_folder) {
  WizardModel& model = Start(Language::kEnglish, std::string());
  const std::filesystem::path other = root_ / "other";
  std::filesystem::create_directories(other);

  view_.folder_picks = {""};  // cancelled
  model.OnBrowseClick();
  EXPECT_EQ(view_.folder_pick_titles.at(0), "Select Gravelmoor directory");
  EXPECT_TRUE(view_.errors.empty());
  EXPECT_EQ(model.State().GameFolder, "");

  view_.folder_picks = {other.string()};
  model.OnBrowseClick();
  ASSERT_EQ(view_.errors.size(), 1u);
  EXPECT_EQ(view_.errors[0].text, "The selected directory does not contain Gravelmoor!");
  EXPECT_EQ(model.State().GameFolder, "");
  EXPECT_EQ(view_.game_folder_label, "<Game not installed>");

  view_.folder_picks = {game_.string()};
  model.OnBrowseClick();
  EXPECT_EQ(model.State().GameFolder, GameFolder());
  EXPECT_EQ(view_.game_folder_label, GameFolder());
  view_.folder_picks = {other.string()};
  model.OnBrowseClick();
  EXPECT_EQ(model.State().GameFolder, GameFolder());
  EXPECT_EQ(view_.game_folder_label, GameFolder());
  Next();
  EXPECT_EQ(Step(), 1);
}

TEST_F(WizardControls, advanced_is_a_request_and_its_ok_shows_variant_zero) {
  WizardModel& model = Start();
  model.OnAdvancedClick();
  EXPECT_EQ(view_.advanced_opened, 1);

  CarVariants edited = model.Variants();
  edited[0].Name = "Kestrel";
  edited[0].Group = 6;
  edited[3].Enabled = true;
  model.AcceptAdvanced(edited);
  EXPECT_EQ(model.Variants(), edited);
  EXPECT_EQ(view_.car_name_text, "Kestrel");
  EXPECT_EQ(view_.selected_group, 6);
}

using PaintingCheck = WizardTest;

// The advanced window's OK with painting `painting` for `variants` (0..4).
void PaintVariants(WizardModel& model, std::initializer_list<std::size_t> variants,
                   std::int16_t painting) {
  CarVariants edited = model.Variants();
  for (const std::size_t variant : variants) edited[variant].Painting = painting;
  model.AcceptAdvanced(edited);
}

TEST_F(PaintingCheck, raising_the_count_asks_nothing) {
  WizardModel& model = Start();
  model.OnPaintingsChange(3);
  EXPECT_EQ(model.State().CarPaintingsCount, 3);
  model.OnPaintingsChange(6);
  model.OnPaintingsChange(0);
  EXPECT_EQ(model.State().CarPaintingsCount, 3);
  EXPECT_EQ(view_.paintings_slider, 3);
  EXPECT_TRUE(view_.questions.empty());
}

TEST_F(PaintingCheck, lowering_below_a_used_painting_asks_once_for_that_variant) {
  WizardModel& model = Start();
  model.OnPaintingsChange(3);
  PaintVariants(model, {1}, 3);

  view_.answers = {true};
  model.OnPaintingsChange(2);
  ASSERT_EQ(view_.questions.size(), 1u);
  EXPECT_EQ(view_.questions[0].title, "Carwright");
  EXPECT_EQ(view_.questions[0].text,
            "The car with the ID AB12 uses the painting no 3. Are you sure you want to change "
            "the number of painings?");
  EXPECT_EQ(view_.questions[0].buttons, QuestionButtons::kOkCancel);
  EXPECT_EQ(model.State().CarPaintingsCount, 2);
  EXPECT_EQ(model.Variants()[1].Painting, 2);
}

TEST_F(PaintingCheck, cancel_puts_the_slider_back) {
  WizardModel& model = Start();
  model.OnPaintingsChange(3);
  PaintVariants(model, {1, 4}, 3);

  // Cancelled for variant 2: the slider is back at 3, so variant 5 no longer
  // exceeds it and is not asked about.
  view_.answers = {false};
  model.OnPaintingsChange(2);
  EXPECT_EQ(view_.questions.size(), 1u);
  EXPECT_EQ(view_.paintings_slider, 3);
  EXPECT_EQ(model.State().CarPaintingsCount, 3);
  EXPECT_EQ(model.Variants()[1].Painting, 3);
  EXPECT_EQ(model.Variants()[4].Painting, 3);

  // OK for both: each is asked about in turn.
  view_.answers = {true, true};
  model.OnPaintingsChange(1);
  ASSERT_EQ(view_.questions.size(), 3u);
  EXPECT_NE(view_.questions[2].text.find("AB15"), std::string::npos);
  EXPECT_EQ(model.Variants()[1].Painting, 1);
  EXPECT_EQ(model.Variants()[4].Painting, 1);
  EXPECT_EQ(model.State().CarPaintingsCount, 1);
}

using WizardTexts = WizardTest;

TEST_F(WizardTexts, polish_window_uses_polish_texts) {
  WizardModel& model = Start(Language::kPolish, std::string());
  EXPECT_EQ(view_.title, "Wybór katalogu z grą");
  EXPECT_EQ(view_.subtitle, "Wskaż katalog  w którym znajduje się gra Gravelmoor.");
  EXPECT_EQ(view_.game_folder_label, "<Gra nie jest zainstalowana>");
  Next();
  ASSERT_EQ(view_.errors.size(), 1u);
  EXPECT_EQ(view_.errors[0].title, "Błąd");
  EXPECT_EQ(view_.errors[0].text, "Wskazany katalog nie zawiera gry Gravelmoor!");

  view_.folder_picks = {game_.string()};
  model.OnBrowseClick();
  Next();
  Next();
  model.OnCarIDChange("AB");
  Next();
  ASSERT_EQ(view_.errors.size(), 2u);
  EXPECT_EQ(view_.errors[1].text,
            "Nieprawidłowy identyfikator samochodu. Identyfikator samochodu powinien zawierac "
            "minimum 3 znaki.\r\nDozwolone znaki:  _0123456789ABCDEFGHIJKLMNOPQRSTUVWXYX");

  view_.answers = {false};
  model.OnCancelClick();
  EXPECT_EQ(view_.questions.at(0).text, "Czy jesteś pewien?");
  EXPECT_EQ(view_.questions.at(0).title, "Carwright");
}

TEST_F(WizardTexts, english_page_titles_follow_the_page_number) {
  WriteCustomCars({"AB7"});
  Start();
  Next();
  EXPECT_EQ(view_.title, "Choosing operation");
  EXPECT_EQ(view_.description, "Choose an operation and click Next.");
  Next();
  EXPECT_EQ(view_.title, "Choosing car's parameters");
  Next();
  EXPECT_EQ(view_.title, "Choosing parts");
  Next();
  EXPECT_EQ(view_.title, "Choosing wheels");
  EXPECT_EQ(view_.subtitle, "What type of wheels should the car have?");
  Next();
  EXPECT_EQ(view_.title, "Ready");
  EXPECT_EQ(view_.description, "Click Next to continue.");
}

}  // namespace
}  // namespace wizard::testing
