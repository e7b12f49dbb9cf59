// The wizard's start state, the page order of each operation forward and
// back, every check that gates Next, and the close question.
#include <gtest/gtest.h>

#include "wizard_fixture.h"

namespace wizard::testing {
namespace {

constexpr std::string_view kInvalidIDText =
    "Invalid car's ID. The ID should consist of at least 3 characters.\r\nValid characters:  "
    "_0123456789ABCDEFGHIJKLMNOPQRSTUVWXYX";

using WizardStart = WizardTest;

TEST_F(WizardStart, shows_page_zero_with_the_documented_state) {
  WizardModel& model = Start();
  const WizardState& s = model.State();

  EXPECT_EQ(view_.caption, "Carwright v0.961a");
  EXPECT_EQ(view_.pages_shown, std::vector<int>{0});
  EXPECT_EQ(view_.title, "Select game's directory");
  EXPECT_EQ(view_.subtitle, "Please select the directory where Gravelmoor is installed.");
  EXPECT_EQ(view_.localized, 1);
  EXPECT_FALSE(view_.NavEnabled(NavButton::kBack));
  EXPECT_FALSE(view_.NavEnabled(NavButton::kFinish));
  EXPECT_TRUE(view_.NavEnabled(NavButton::kNext));
  EXPECT_TRUE(view_.NavEnabled(NavButton::kCancel));
  EXPECT_FALSE(view_.NavEnabled(NavButton::kHelp));
  EXPECT_FALSE(view_.nav_visible[0]);

  EXPECT_EQ(view_.selected_task, 0);
  EXPECT_FALSE(view_.task_visible[2]);
  EXPECT_FALSE(view_.task_enabled[2]);
  EXPECT_EQ(view_.game_folder_label, GameFolder());

  // Gravel, Slick and Snow checked; Evo3 grey and disabled; the rest clear.
  for (int i = 0; i < 12; ++i) {
    const bool on = i == 2 || i == 9 || i == 10;
    EXPECT_EQ(view_.Box(CheckGroup::kWheels, i).state,
              on ? CheckState::kChecked : CheckState::kUnchecked)
        << "wheel " << i;
  }
  EXPECT_EQ(view_.Box(CheckGroup::kWheels, 12).state, CheckState::kGrey);
  EXPECT_FALSE(view_.Box(CheckGroup::kWheels, 12).enabled);
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(view_.Box(CheckGroup::kParts, i).state, CheckState::kUnchecked);

  EXPECT_EQ(s.Step, 0);
  EXPECT_EQ(s.Task, 0);
  EXPECT_EQ(s.GameFolder, GameFolder());
  EXPECT_EQ(s.CarID, "AB1");
  EXPECT_EQ(view_.car_id_text, "AB1");
  EXPECT_EQ(s.CarPaintingsCount, 1);
  EXPECT_EQ(view_.paintings_slider, 1);
  EXPECT_EQ(s.CarParts, 0);
  EXPECT_EQ(s.CarAnimParts, 0);
  EXPECT_EQ(s.CarWheels, 5636);
  EXPECT_EQ(s.CarDefaultWheels, 4096);
  EXPECT_TRUE(s.DEVUZA_FileName.empty());
  EXPECT_TRUE(s.DEVUZA_CarID.empty());
  EXPECT_TRUE(s.CustomCars.empty());
  EXPECT_FALSE(s.MakeSFX);

  EXPECT_EQ(view_.car_groups,
            (std::vector<std::string>{"P1", "P2", "P3", "O1", "O2", "O3,R1", "W1,R2", "B1"}));
  EXPECT_EQ(view_.selected_group, 0);
  EXPECT_EQ(view_.car_name_text, "Custom Car 1");
  const CarVariants& v = model.Variants();
  EXPECT_TRUE(v[0].Enabled);
  for (std::size_t i = 1; i < v.size(); ++i) {
    EXPECT_FALSE(v[i].Enabled);
    EXPECT_EQ(v[i].Name, "Custom Car " + std::to_string(i + 1));
    EXPECT_EQ(v[i].EngineType, "DOHC/4");
  }
}

TEST_F(WizardStart, without_a_game_folder_shows_not_installed_and_refuses_next) {
  Start(Language::kEnglish, std::string());
  EXPECT_EQ(view_.game_folder_label, "<Game not installed>");
  Next();
  EXPECT_EQ(Step(), 0);
  ASSERT_EQ(view_.errors.size(), 1u);
  EXPECT_EQ(view_.errors[0].title, "Error");
  EXPECT_EQ(view_.errors[0].text, "The selected directory does not contain Gravelmoor!");
}

using WizardOperations = WizardTest;

TEST_F(WizardOperations, create_car_passes_its_pages_and_back_again) {
  WriteCustomCars({"XY7"});
  WizardModel& model = Start();
  Next();  // 1
  Next();  // 2
  Next();  // 3
  Next();  // 5
  Next();  // 6
  EXPECT_EQ(view_.pages_shown, (std::vector<int>{0, 1, 2, 3, 5, 6}));
  EXPECT_EQ(view_.title, "Ready");
  EXPECT_TRUE(launcher_.calls.empty());

  for (int i = 0; i < 5; ++i) Back();
  EXPECT_EQ(view_.pages_shown, (std::vector<int>{0, 1, 2, 3, 5, 6, 5, 3, 2, 1, 0}));
  EXPECT_FALSE(view_.NavEnabled(NavButton::kBack));
  Back();  // nothing on page 0
  EXPECT_EQ(Step(), 0);

  for (int i = 0; i < 6; ++i) Next();
  EXPECT_EQ(Step(), 4);
  EXPECT_EQ(std::vector<int>(view_.pages_shown.end() - 7, view_.pages_shown.end()),
            std::vector<int>(OperationPages(0).begin(), OperationPages(0).end()));
  EXPECT_EQ(view_.title, "Operation in progress");
  ASSERT_EQ(launcher_.calls.size(), 1u);
  EXPECT_EQ(launcher_.calls[0].step, 4);
  EXPECT_EQ(launcher_.calls[0].task, 0);
  // After the run only Finish is enabled.
  for (NavButton b : {NavButton::kBack, NavButton::kNext, NavButton::kCancel}) {
    EXPECT_FALSE(view_.NavEnabled(b));
  }
  EXPECT_TRUE(view_.NavEnabled(NavButton::kFinish));
  Back();
  Next();
  EXPECT_EQ(Step(), 4);
  EXPECT_EQ(launcher_.calls.size(), 1u);

  // Finish ends without a question.
  model.OnFinishClick();
  EXPECT_EQ(view_.ended, 1);
  EXPECT_TRUE(view_.questions.empty());
  EXPECT_TRUE(model.OnCloseRequest());
}

TEST_F(WizardOperations, delete_needs_a_selected_car_and_opens_no_dialog) {
  WriteCustomCars({"AB7", "XY7"});
  WizardModel& model = Start();
  Next();
  EXPECT_EQ(view_.car_list, (std::vector<std::string>{"AB7", "XY7"}));
  EXPECT_TRUE(view_.task_enabled[1]);
  model.OnTaskOptionSelect(1);
  Next();
  EXPECT_EQ(Step(), 7);
  EXPECT_EQ(view_.title, "Selecting a car");
  EXPECT_FALSE(view_.sfx_visible);
  EXPECT_FALSE(view_.NavEnabled(NavButton::kNext));
  Next();  // disabled: nothing
  EXPECT_EQ(Step(), 7);

  model.OnCarListClick(1);
  EXPECT_TRUE(view_.NavEnabled(NavButton::kNext));
  Next();
  EXPECT_EQ(Step(), 6);
  EXPECT_TRUE(view_.save_requests.empty());
  EXPECT_TRUE(view_.open_requests.empty());
  Back();
  EXPECT_EQ(Step(), 7);
  Back();
  EXPECT_EQ(Step(), 1);
  Next();
  Next();
  Next();
  EXPECT_EQ(view_.pages_shown, (std::vector<int>{0, 1, 7, 6, 7, 1, 7, 6, 4}));
  ASSERT_EQ(launcher_.calls.size(), 1u);
  EXPECT_EQ(launcher_.calls[0].task, 1);
  EXPECT_EQ(model.State().SelectedCar, 1);
}

TEST_F(WizardOperations, pack_asks_for_the_package_name_and_stays_when_cancelled) {
  WriteCustomCars({"AB7", "XY7"});
  WizardModel& model = Start();
  Next();
  model.OnTaskOptionSelect(3);
  Next();
  EXPECT_TRUE(view_.sfx_visible);
  model.OnCarListClick(0);

  view_.file_picks = {std::nullopt};
  Next();
  EXPECT_EQ(Step(), 7);
  ASSERT_EQ(view_.save_requests.size(), 1u);
  EXPECT_EQ(view_.save_requests[0].file_name, "AB7.devuza");
  EXPECT_EQ(view_.save_requests[0].filter, "DEVUZA (*.devuza)|*.devuza|");
  EXPECT_EQ(view_.save_requests[0].folder, (root_ / "program").string());
  EXPECT_TRUE(model.State().DEVUZA_FileName.empty());
  EXPECT_TRUE(model.State().DEVUZA_CarID.empty());
  EXPECT_TRUE(view_.errors.empty());

  model.OnSFXClick(true);
  model.OnCarListClick(1);
  const std::string path = (root_ / "out" / "XY7.devuza.exe").string();
  view_.file_picks = {path};
  Next();
  ASSERT_EQ(view_.save_requests.size(), 2u);
  EXPECT_EQ(view_.save_requests[1].file_name, "XY7.devuza.exe");
  EXPECT_EQ(view_.save_requests[1].filter, "DEVUZA SFX (*.exe)|*.exe|");
  EXPECT_EQ(Step(), 6);
  EXPECT_EQ(model.State().DEVUZA_FileName, path);
  EXPECT_EQ(model.State().DEVUZA_CarID, "XY7");
  EXPECT_TRUE(model.State().MakeSFX);

  Back();
  EXPECT_EQ(Step(), 7);
  EXPECT_TRUE(view_.NavEnabled(NavButton::kNext));  // the car is still selected
  view_.file_picks = {path};
  Next();
  Next();
  EXPECT_EQ(Step(), 4);
  ASSERT_EQ(launcher_.calls.size(), 1u);
  EXPECT_EQ(launcher_.calls[0].task, 3);
}

TEST_F(WizardOperations, extract_reads_the_header_and_goes_to_ready) {
  WriteCustomCars({"XY7"});
  WizardModel& model = Start();
  const std::string package = (root_ / "car.devuza").string();
  WriteFile(package, "DEVUZA");
  packages_.headers[package] = {true, "QW3"};

  Next();
  model.OnTaskOptionSelect(4);
  view_.file_picks = {package};
  Next();
  ASSERT_EQ(view_.open_requests.size(), 1u);
  EXPECT_EQ(view_.open_requests[0].file_name, ".devuza");
  EXPECT_EQ(view_.open_requests[0].filter, "DEVUZA (*.devuza)|*.devuza|");
  EXPECT_EQ(Step(), 6);
  EXPECT_EQ(model.State().CarID, "QW3");
  EXPECT_EQ(view_.car_id_text, "QW3");
  EXPECT_EQ(model.State().DEVUZA_FileName, package);
  EXPECT_TRUE(view_.questions.empty());

  Back();
  EXPECT_EQ(Step(), 1);
  view_.file_picks = {package};
  Next();
  Next();
  EXPECT_EQ(view_.pages_shown, (std::vector<int>{0, 1, 6, 1, 6, 4}));
  ASSERT_EQ(launcher_.calls.size(), 1u);
  EXPECT_EQ(launcher_.calls[0].task, 4);
}

using WizardGates = WizardTest;

TEST_F(WizardGates, a_folder_without_the_game_stays_on_page_zero) {
  std::filesystem::remove(game_ / "Gravelmoor.exe");
  Start();
  Next();
  EXPECT_EQ(Step(), 0);
  ASSERT_EQ(view_.errors.size(), 1u);
  EXPECT_EQ(view_.errors[0].text, "The selected directory does not contain Gravelmoor!");
}

// A game folder found at start-up without its trailing separator fails too;
// the folder picker adds the separator.
TEST_F(WizardGates, the_game_folder_needs_its_trailing_separator) {
  Start(Language::kEnglish, game_.string());
  Next();
  EXPECT_EQ(Step(), 0);
  ASSERT_EQ(view_.errors.size(), 1u);
  EXPECT_EQ(view_.errors[0].text, "The selected directory does not contain Gravelmoor!");
  view_.folder_picks = {game_.string()};
  model_->OnBrowseClick();
  Next();
  EXPECT_EQ(Step(), 1);
}

// The same registries the command line refuses: one that exists but cannot be
// read, and one whose count is beyond what the wizard accepts. Leaving page 0
// names the file and goes no further, so nothing can write over it.
TEST_F(WizardGates, a_registry_it_cannot_take_stays_on_page_zero) {
  const stdfs::path ini = game_ / "Carwright.ini";
  stdfs::create_directories(ini);
  Start();
  Next();
  EXPECT_EQ(Step(), 0);
  ASSERT_EQ(view_.errors.size(), 1u);
  EXPECT_EQ(view_.errors[0].title, "Error");
  EXPECT_NE(view_.errors[0].text.find(ini.string()), std::string::npos) << view_.errors[0].text;

  stdfs::remove(ini);
  WriteFile(ini, "[Cars]\r\nCarsCount=50654\r\nCarID1=XY7\r\n");
  Next();
  EXPECT_EQ(Step(), 0);
  ASSERT_EQ(view_.errors.size(), 2u);
  EXPECT_NE(view_.errors[1].text.find(ini.string()), std::string::npos) << view_.errors[1].text;

  // A registry saved with a UTF-8 byte-order mark is read.
  WriteFile(ini, "\xEF\xBB\xBF[Cars]\r\nCarsCount=1\r\nCarID1=XY7\r\n");
  Next();
  EXPECT_EQ(Step(), 1);
  EXPECT_EQ(model_->State().CustomCars, std::vector<std::string>{"XY7"});
  EXPECT_EQ(view_.car_list, std::vector<std::string>{"XY7"});
}

TEST_F(WizardGates, each_car_id_result_has_its_message) {
  WriteCustomCars({"AB1"});
  WizardModel& model = Start();
  Next();
  Next();
  ASSERT_EQ(Step(), 2);

  struct Case {
    const char* typed;
    std::string_view message;
  };
  const Case cases[] = {
      {"AB", kInvalidIDText},  {"ABZ", kInvalidIDText},
      {"A-1", kInvalidIDText}, {"stc", "ID reserved."},  // reserved, upper-cased by the box
      {"AB1", "ID reserved."},                           // already a custom car
  };
  for (const Case& c : cases) {
    view_.errors.clear();
    model.OnCarIDChange(c.typed);
    Next();
    EXPECT_EQ(Step(), 2) << c.typed;
    ASSERT_EQ(view_.errors.size(), 1u) << c.typed;
    EXPECT_EQ(view_.errors[0].title, "Error");
    EXPECT_EQ(view_.errors[0].text, c.message) << c.typed;
  }

  view_.errors.clear();
  model.OnCarIDChange("a_1");
  Next();
  EXPECT_EQ(Step(), 3);
  EXPECT_TRUE(view_.errors.empty());
}

TEST_F(WizardGates, wheels_page_needs_a_wheel_type) {
  WizardModel& model = Start();
  for (int i = 0; i < 4; ++i) Next();
  ASSERT_EQ(Step(), 5);

  // Unchecking every box leaves Evo3, which passes.
  for (int i = 0; i < 13; ++i) model.OnWheelClick(i, false);
  EXPECT_EQ(model.State().CarWheels, 4096);
  Next();
  EXPECT_EQ(Step(), 6);
  Back();

  model.SetCarWheels(0);
  Next();
  EXPECT_EQ(Step(), 5);
  ASSERT_EQ(view_.errors.size(), 1u);
  EXPECT_EQ(view_.errors[0].text, "Please choose at least one wheels type!");
}

TEST_F(WizardGates, delete_and_pack_stay_disabled_without_custom_cars) {
  WizardModel& model = Start();
  model.OnTaskOptionSelect(3);  // chosen before the registry was read
  Next();
  EXPECT_FALSE(view_.task_enabled[1]);
  EXPECT_FALSE(view_.task_enabled[3]);
  EXPECT_TRUE(view_.task_enabled[0]);
  EXPECT_TRUE(view_.task_enabled[4]);
  EXPECT_EQ(model.State().Task, 0);
  EXPECT_EQ(view_.selected_task, 0);

  // Cars appear in the registry; going back and on does not bring the choices back.
  WriteCustomCars({"AB7"});
  Back();
  Next();
  EXPECT_EQ(model.State().CustomCars, std::vector<std::string>{"AB7"});
  EXPECT_FALSE(view_.task_enabled[1]);
  EXPECT_FALSE(view_.task_enabled[3]);
  model.OnTaskOptionSelect(1);
  EXPECT_EQ(model.State().Task, 0);
  model.OnTaskOptionSelect(2);
  EXPECT_EQ(model.State().Task, 0);
  Next();
  EXPECT_EQ(Step(), 2);
}

TEST_F(WizardGates, extract_stays_on_page_one_for_unusable_packages) {
  WriteCustomCars({"XY7"});
  WizardModel& model = Start();
  Next();
  model.OnTaskOptionSelect(4);

  // Cancelled dialog: nothing changes, nothing is read.
  view_.file_picks = {std::nullopt};
  Next();
  EXPECT_EQ(Step(), 1);
  EXPECT_TRUE(model.State().DEVUZA_FileName.empty());

  // A file that does not exist is not read.
  view_.file_picks = {(root_ / "missing.devuza").string()};
  Next();
  EXPECT_EQ(Step(), 1);
  EXPECT_TRUE(packages_.reads.empty());

  // A file that is not a package.
  const std::string junk = (root_ / "junk.devuza").string();
  WriteFile(junk, "not a package");
  view_.file_picks = {junk};
  Next();
  EXPECT_EQ(Step(), 1);
  EXPECT_EQ(packages_.reads, std::vector<std::string>{junk});
  EXPECT_TRUE(view_.errors.empty());
  EXPECT_TRUE(view_.questions.empty());
  EXPECT_EQ(model.State().CarID, "AB1");
}

TEST_F(WizardGates, extract_of_a_taken_id_asks_to_replace) {
  WriteCustomCars({"XY7"});
  WizardModel& model = Start();
  const std::string package = (root_ / "car.devuza").string();
  WriteFile(package, "DEVUZA");
  packages_.headers[package] = {true, "XY7"};
  Next();
  model.OnTaskOptionSelect(4);

  view_.file_picks = {package};
  view_.answers = {false};
  Next();
  EXPECT_EQ(Step(), 1);
  ASSERT_EQ(view_.questions.size(), 1u);
  EXPECT_EQ(view_.questions[0].title, "Warning");
  EXPECT_EQ(view_.questions[0].text,
            "A car with this ID already exists. Do you want to replace it?");
  EXPECT_EQ(view_.questions[0].buttons, QuestionButtons::kOkCancel);

  view_.file_picks = {package};
  view_.answers = {true};
  Next();
  EXPECT_EQ(Step(), 6);
  EXPECT_EQ(model.State().CarID, "XY7");

  // A reserved ID and one with a letter outside the set ask as well.
  for (const char* id : {"STC", "ABZ", "a_z"}) {
    Back();
    packages_.headers[package] = {true, id};
    view_.file_picks = {package};
    view_.answers = {true};
    Next();
    EXPECT_EQ(Step(), 6) << id;
  }
  EXPECT_EQ(view_.questions.size(), 5u);
}

TEST_F(WizardGates, extract_refuses_an_id_that_is_no_plain_folder_name) {
  WriteCustomCars({"XY7"});
  WizardModel& model = Start();
  const std::string package = (root_ / "evil.devuza").string();
  WriteFile(package, "DEVUZA");
  Next();
  model.OnTaskOptionSelect(4);

  for (const std::string& id :
       {std::string("..\\"), std::string("../"), std::string("A\0B", 3), std::string("AB"),
        std::string("AB12"), std::string("CON"), std::string("nul"), std::string("A.B"),
        std::string("A B"), std::string("A:B")}) {
    view_.errors.clear();
    packages_.headers[package] = {true, id};
    view_.file_picks = {package};
    Next();
    EXPECT_EQ(Step(), 1);
    ASSERT_EQ(view_.errors.size(), 1u);
    EXPECT_EQ(view_.errors[0].text, "File:" + package + "\n" + std::string(kInvalidIDText));
    EXPECT_EQ(model.State().CarID, "AB1");
  }
  EXPECT_TRUE(view_.questions.empty());
}

using WizardClose = WizardTest;

TEST_F(WizardClose, cancel_asks_and_only_yes_ends) {
  WizardModel& model = Start();
  Next();
  view_.answers = {false};
  model.OnCancelClick();
  ASSERT_EQ(view_.questions.size(), 1u);
  EXPECT_EQ(view_.questions[0].title, "Carwright");
  EXPECT_EQ(view_.questions[0].text, "Are you sure?");
  EXPECT_EQ(view_.questions[0].buttons, QuestionButtons::kYesNo);
  EXPECT_EQ(view_.ended, 0);
  EXPECT_EQ(Step(), 1);

  // The close box asks the same question.
  view_.answers = {false};
  EXPECT_FALSE(model.OnCloseRequest());
  EXPECT_EQ(view_.questions.size(), 2u);

  view_.answers = {true};
  model.OnCancelClick();
  EXPECT_EQ(view_.ended, 1);
  // The window closing after the confirmation is not asked again.
  EXPECT_TRUE(model.OnCloseRequest());
  EXPECT_EQ(view_.questions.size(), 3u);
}

// A window processes events while the operation runs: nothing may end the
// program or leave page 4 until the run returns.
TEST_F(WizardClose, ARunningOperationRefusesCloseAndNavigation) {
  WizardModel& model = Start();
  Next();
  model.OnTaskOptionSelect(kTaskExtractPackage);
  view_.file_picks = {GameFolder() + "AB1.devuza"};
  WriteFile(game_ / "AB1.devuza", "x");
  packages_.headers[GameFolder() + "AB1.devuza"] = {true, "AB1"};
  Next();
  ASSERT_EQ(Step(), kPageReady);

  bool checked = false;
  launcher_.during_run = [&] {
    WizardModel& running = model;
    checked = true;
    EXPECT_TRUE(running.Busy());
    // Refused even with every button enabled.
    running.SetNavButton(NavButton::kFinish, true);
    running.SetNavButton(NavButton::kCancel, true);
    running.SetNavButton(NavButton::kBack, true);
    running.SetNavButton(NavButton::kNext, true);
    EXPECT_FALSE(running.OnCloseRequest());
    running.OnCancelClick();
    running.OnFinishClick();
    running.OnBackClick();
    running.OnNextClick();
    running.GoBack();
    running.GoNext();
    running.RunOperation();
    EXPECT_EQ(running.State().Step, kPageProgress);
  };
  Next();
  EXPECT_TRUE(checked);
  EXPECT_EQ(launcher_.calls.size(), 1u);  // the second RunOperation did nothing
  EXPECT_TRUE(view_.questions.empty());
  EXPECT_EQ(view_.ended, 0);
  EXPECT_EQ(Step(), kPageProgress);

  // After the run, Finish ends the program and the close needs no question.
  EXPECT_FALSE(model.Busy());
  model.OnFinishClick();
  EXPECT_EQ(view_.ended, 1);
  EXPECT_TRUE(model.OnCloseRequest());
  EXPECT_TRUE(view_.questions.empty());
}

}  // namespace
}  // namespace wizard::testing

namespace wizard::testing {
namespace {

// The reduced window of the extractor shows pages and asks to close through
// the same helpers.
TEST(WizardPages, show_page_sets_buttons_frame_and_titles) {
  FakeWizardView view;
  view.nav_enabled = {true, true, true, true, true};
  ShowWizardPage(view, Language::kEnglish, 6, 4);
  EXPECT_EQ(view.pages_shown, std::vector<int>{4});
  EXPECT_EQ(view.title, "Operation in progress");
  EXPECT_EQ(view.subtitle, "The chosen operation is in progress");
  EXPECT_EQ(view.description, "When the operation is finished click Finish.");
  for (NavButton b : {NavButton::kBack, NavButton::kNext, NavButton::kFinish, NavButton::kCancel}) {
    EXPECT_FALSE(view.NavEnabled(b));
  }

  ShowWizardPage(view, Language::kPolish, 4, 6);
  EXPECT_EQ(view.title, "Gotowy");
  EXPECT_TRUE(view.NavEnabled(NavButton::kBack));
  EXPECT_TRUE(view.NavEnabled(NavButton::kNext));
  EXPECT_FALSE(view.NavEnabled(NavButton::kCancel));  // left as it was

  ShowWizardPage(view, Language::kEnglish, 6, 8);
  EXPECT_EQ(view.pages_shown.size(), 2u);

  view.answers = {true};
  EXPECT_TRUE(AskToClose(view, Language::kEnglish, "Quorvex"));
  EXPECT_EQ(view.questions.at(0).title, "Quorvex");
}

}  // namespace
}  // namespace wizard::testing
