// frmMain driven through its widgets on a copy of the demo game: each
// operation by clicks and typing, navigation, the Cancel and close questions,
// the busy state during a run, the advanced window from the main window, and
// the Polish texts.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QRadioButton>
#include <QSlider>
#include <QStackedWidget>
#include <filesystem>
#include <set>

#include "base/string_table.h"
#include "model/ops_wiring.h"
#include "run_test_support.h"
#include "test_support/program_run.h"
#include "ui/advanced_window.h"
#include "ui/main_window.h"
#include "ui_test_support.h"

namespace wizard::ui::testing {
namespace {

namespace stdfs = std::filesystem;

class MainWindowUi : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    game_ = wizard_test::CopyDemoGame(tmp_, "game");
  }

  void TearDown() override { window_.reset(); }

  frmMain& Start(Language language = Language::kEnglish,
                 RunServices services = DefaultRunServices()) {
    WizardOptions options;
    options.language = language;
    const std::string folder = game_;
    options.find_game_folder = [folder] {
      return GameFolderLookup{folder, GameFolderOrigin::kEnvironment};
    };
    options.random = [] { return 0.5; };
    options.dialog_folder = tmp_.path().string();
    auto dialogs = std::make_unique<ScriptedDialogs>();
    dialogs_ = dialogs.get();
    window_ = std::make_unique<frmMain>(options, std::move(dialogs), std::move(services));
    window_->Start();
    window_->show();
    return *window_;
  }

  void Next() { Click(*window_, "cmdNav(3)"); }
  void Back() { Click(*window_, "cmdNav(2)"); }
  int Page() { return Find<QStackedWidget>(*window_, "stkPages")->currentIndex(); }
  bool Enabled(const std::string& name) { return Find<QWidget>(*window_, name)->isEnabled(); }

  // Registers a car `id` in the game with the command line.
  void CreateWithCommandLine(const std::string& game, const std::vector<std::string>& more) {
#ifdef CARWRIGHT_PATH
    std::vector<std::string> arguments = {"--lang", "en", "create", "--game-folder", game};
    arguments.insert(arguments.end(), more.begin(), more.end());
    const gm_test::ProgramRun run = gm_test::RunProgram(CARWRIGHT_PATH, arguments);
    ASSERT_EQ(run.exit_code, 0) << run.err;
#else
    (void)game;
    (void)more;
    GTEST_SKIP() << "built without the carwright program";
#endif
  }

  gm_test::ScratchFolder tmp_;
  std::string game_;
  ScriptedDialogs* dialogs_ = nullptr;
  std::unique_ptr<frmMain> window_;
};

TEST_F(MainWindowUi, StartsOnTheGameFolderPage) {
  frmMain& window = Start();
  EXPECT_EQ(window.windowTitle().toStdString(), "Carwright v0.961a");
  EXPECT_EQ(Page(), 0);
  EXPECT_EQ(TextOf(window, "lblTitle"), "Select game's directory");
  EXPECT_EQ(TextOf(window, "lblSubTitle"),
            "Please select the directory where Gravelmoor is installed.");
  EXPECT_EQ(TextOf(window, "lblGameFolder"), game_);
  EXPECT_FALSE(Enabled("cmdNav(2)"));
  EXPECT_TRUE(Enabled("cmdNav(3)"));
  EXPECT_FALSE(Enabled("cmdNav(4)"));
  EXPECT_FALSE(Find<QWidget>(window, "cmdNav(0)")->isVisible());
  EXPECT_TRUE(Find<QRadioButton>(window, "optTask(0)")->isChecked());
  EXPECT_FALSE(Find<QWidget>(window, "optTask(2)")->isVisibleTo(&window));
  EXPECT_EQ(Find<QCheckBox>(window, "chkWheels(12)")->checkState(), Qt::PartiallyChecked);
  EXPECT_FALSE(Enabled("chkWheels(12)"));
  EXPECT_TRUE(Find<QCheckBox>(window, "chkWheels(2)")->isChecked());
  EXPECT_EQ(TextOf(window, "chkWheels(1)"), "FullGrip356");
  EXPECT_FALSE(Find<QLabel>(window, "picLogo")->pixmap().isNull());
}

TEST_F(MainWindowUi, CreatingACarByClicksWritesWhatTheCommandLineWrites) {
  frmMain& window = Start();
  Next();
  ASSERT_EQ(Page(), 1);
  EXPECT_FALSE(Enabled("optTask(1)"));  // no custom cars yet
  EXPECT_FALSE(Enabled("optTask(3)"));
  Next();
  ASSERT_EQ(Page(), 2);
  TypeOver(window, "txtCarID", "ab1x");
  EXPECT_EQ(TextOf(window, "txtCarID"), "AB1");
  auto* slider = Find<QSlider>(window, "sldPaintings");
  QTest::keyClick(slider, Qt::Key_Right);
  EXPECT_EQ(slider->value(), 2);
  EXPECT_EQ(window.Model().State().CarPaintingsCount, 2);
  Next();
  ASSERT_EQ(Page(), 3);
  Click(window, "chkParts(1)");
  Next();
  ASSERT_EQ(Page(), 5);
  Next();
  ASSERT_EQ(Page(), 6);
  EXPECT_NE(TextOf(window, "lblInfo").find("WARNING!"), std::string::npos);
  Next();
  ASSERT_EQ(Page(), 4);
  EXPECT_EQ(TextOf(window, "lblAction"), "Successfully completed");
  EXPECT_EQ(Find<QProgressBar>(window, "prgsAction")->value(), 200);
  EXPECT_TRUE(Enabled("cmdNav(4)"));
  EXPECT_FALSE(Enabled("cmdNav(1)"));
  EXPECT_FALSE(Enabled("cmdNav(2)"));
  EXPECT_FALSE(Enabled("cmdNav(3)"));
  EXPECT_TRUE(dialogs_->errors.empty());

  const std::string cli_game = wizard_test::CopyDemoGame(tmp_, "cli");
  CreateWithCommandLine(cli_game, {"--id", "AB1", "--paintings", "2", "--parts", "bonnet"});
  const std::vector<std::string> files = gm_test::ListTree(game_);
  const std::vector<std::string> cli_files = gm_test::ListTree(cli_game);
  std::vector<std::string> only_gui, only_cli;
  std::set_difference(files.begin(), files.end(), cli_files.begin(), cli_files.end(),
                      std::back_inserter(only_gui));
  std::set_difference(cli_files.begin(), cli_files.end(), files.begin(), files.end(),
                      std::back_inserter(only_cli));
  EXPECT_EQ(only_gui, std::vector<std::string>());
  ASSERT_EQ(only_cli, std::vector<std::string>());
  EXPECT_TRUE(std::count(files.begin(), files.end(), "Data/Cars/AB1/Parts/AB1_Bonnet.3da"));
  EXPECT_TRUE(std::count(files.begin(), files.end(), "Data/Cars/AB1/AB12/"));
  for (const std::string& file : files) {
    if (file.back() == '/') continue;
    EXPECT_EQ(gm_test::ReadFile(stdfs::path(game_) / file),
              gm_test::ReadFile(stdfs::path(cli_game) / file))
        << file;
  }

  Click(window, "cmdNav(4)");  // Finish: no question
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(dialogs_->questions.empty());
}

TEST_F(MainWindowUi, DeletingPackingAndExtractingByClicks) {
  CreateWithCommandLine(game_, {"--id", "AB1"});
  if (::testing::Test::IsSkipped()) return;
  {
    frmMain& window = Start();
    Next();
    EXPECT_TRUE(Enabled("optTask(3)"));
    Click(window, "optTask(3)");
    Next();
    ASSERT_EQ(Page(), 7);
    EXPECT_TRUE(Find<QWidget>(window, "chkSFX")->isVisible());
    EXPECT_FALSE(Enabled("cmdNav(3)"));
    auto* list = Find<QListWidget>(window, "lstCarList");
    ASSERT_EQ(list->count(), 1);
    // The list taking the focus (and so a current row) picks no car.
    list->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(Enabled("cmdNav(3)"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    EXPECT_TRUE(Enabled("cmdNav(3)"));
    const QString package = QString::fromStdString((tmp_.path() / "AB1.devuza").string());
    dialogs_->files = {std::nullopt, package};
    Next();  // cancelled: the page stays
    EXPECT_EQ(Page(), 7);
    Next();
    ASSERT_EQ(Page(), 6);
    ASSERT_EQ(dialogs_->save_requests.size(), 2u);
    EXPECT_EQ(dialogs_->save_requests[0].file_name, "AB1.devuza");
    EXPECT_EQ(QtFileFilter(dialogs_->save_requests[0].filter).toStdString(), "DEVUZA (*.devuza)");
    Next();
    EXPECT_EQ(TextOf(window, "lblAction"), "Successfully completed");
    DevuzaHeaderSource headers;
    const PackageHeaderInfo header = headers.ReadPackageHeader(package.toStdString());
    EXPECT_TRUE(header.valid);
    EXPECT_EQ(header.car_id, "AB1");
  }
#ifdef CARWRIGHT_WITH_EXTRACTOR
  // The same car as a self-extracting program.
  {
    frmMain& window = Start();
    Next();
    Click(window, "optTask(3)");
    Next();
    Click(window, "chkSFX");
    auto* list = Find<QListWidget>(window, "lstCarList");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    const stdfs::path program = tmp_.path() / "AB1.devuza.exe";
    dialogs_->files = {QString::fromStdString(program.string())};
    Next();
    ASSERT_EQ(Page(), 6);
    ASSERT_EQ(dialogs_->save_requests.size(), 1u);
    EXPECT_EQ(dialogs_->save_requests[0].file_name, "AB1.devuza.exe");
    EXPECT_EQ(QtFileFilter(dialogs_->save_requests[0].filter).toStdString(), "DEVUZA SFX (*.exe)");
    Next();
    EXPECT_EQ(TextOf(window, "lblAction"), "Successfully completed") << dialogs_->errors.size();
    const std::string bytes = gm_test::ReadFile(program);
    EXPECT_EQ(bytes.substr(0, 4),
              "\x7F"
              "ELF");  // the extractor program comes first
    EXPECT_GT(bytes.size(), stdfs::file_size(tmp_.path() / "AB1.devuza"));
  }
#endif
  // Extracting it while AB1 is registered asks 117: Cancel stays, OK goes on.
  {
    frmMain& window = Start();
    Next();
    Click(window, "optTask(4)");
    const QString package = QString::fromStdString((tmp_.path() / "AB1.devuza").string());
    dialogs_->files = {package, package};
    dialogs_->answers = {false, true};
    Next();
    EXPECT_EQ(Page(), 1);
    ASSERT_EQ(dialogs_->questions.size(), 1u);
    EXPECT_EQ(dialogs_->questions[0].title, "Warning");
    EXPECT_EQ(dialogs_->questions[0].text,
              "A car with this ID already exists. Do you want to replace it?");
    Next();
    ASSERT_EQ(Page(), 6);
    Back();
    EXPECT_EQ(Page(), 1);
    dialogs_->files = {package};
    dialogs_->answers = {true};
    Next();
    Next();
    EXPECT_EQ(TextOf(window, "lblAction"), "Successfully completed");
  }
  // Deleting it removes its folder and its registry entry.
  {
    frmMain& window = Start();
    Next();
    Click(window, "optTask(1)");
    Next();
    ASSERT_EQ(Page(), 7);
    EXPECT_FALSE(Find<QWidget>(window, "chkSFX")->isVisible());
    auto* list = Find<QListWidget>(window, "lstCarList");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    Next();
    ASSERT_EQ(Page(), 6);
    EXPECT_TRUE(dialogs_->save_requests.empty());
    Next();
    EXPECT_EQ(TextOf(window, "lblAction"), "Successfully completed");
    EXPECT_FALSE(stdfs::exists(stdfs::path(game_) / "Data/Cars/AB1"));
    EXPECT_EQ(gm_test::ReadFile(stdfs::path(game_) / "Carwright.ini").find("AB1"),
              std::string::npos);
  }
}

TEST_F(MainWindowUi, BackAndNextWalkEveryPageOfTheCreateOperation) {
  frmMain& window = Start();
  const std::vector<int> forward = {0, 1, 2, 3, 5, 6};
  for (std::size_t i = 1; i < forward.size(); ++i) {
    Next();
    ASSERT_EQ(Page(), forward[i]);
    EXPECT_EQ(TextOf(window, "lblTitle"), StringText(PageTitleId(forward[i]), Language::kEnglish));
    EXPECT_EQ(TextOf(window, "lblDescription"),
              StringText(PageDescriptionId(forward[i]), Language::kEnglish));
  }
  for (std::size_t i = forward.size() - 1; i > 0; --i) {
    Back();
    ASSERT_EQ(Page(), forward[i - 1]);
  }
  EXPECT_FALSE(Enabled("cmdNav(2)"));
  // Values entered on the pages survive Back and Next.
  Next();
  Next();
  TypeOver(window, "txtCarName", "Stage Hero");
  Back();
  Next();
  EXPECT_EQ(TextOf(window, "txtCarName"), "Stage Hero");
  // The name box refuses the forbidden characters and what the code page lacks:
  // the key is undone and the caret goes to the end.
  auto* name = Find<QLineEdit>(window, "txtCarName");
  name->setCursorPosition(5);
  TypeKeys(name, "#");
  EXPECT_EQ(TextOf(window, "txtCarName"), "Stage Hero");
  EXPECT_EQ(name->cursorPosition(), 10);
  TypeKeys(name, QString::fromUtf8("Ł"));
  EXPECT_EQ(TextOf(window, "txtCarName"), "Stage Hero");
  const std::string id = window.Model().State().CarID;
  TypeOver(window, "txtCarID", QString::fromUtf8("Ł"));
  EXPECT_EQ(window.Model().State().CarID, id);
  EXPECT_EQ(TextOf(window, "txtCarID"), id);
  // An invalid ID keeps the page and names the valid characters.
  TypeOver(window, "txtCarID", "A-1");
  Next();
  EXPECT_EQ(Page(), 2);
  ASSERT_EQ(dialogs_->errors.size(), 1u);
  EXPECT_EQ(dialogs_->errors[0].title, "Error");
}

TEST_F(MainWindowUi, BrowseChecksThePickedFolder) {
  frmMain& window = Start();
  dialogs_->folders = {QString::fromStdString(tmp_.path().string()),
                       QString::fromStdString(stdfs::path(game_).parent_path().string()), ""};
  Click(window, "btnBrowse");
  ASSERT_EQ(dialogs_->folder_titles.size(), 1u);
  EXPECT_EQ(dialogs_->folder_titles[0], "Select Gravelmoor directory");
  ASSERT_EQ(dialogs_->errors.size(), 1u);
  EXPECT_EQ(dialogs_->errors[0].title, "Error");
  EXPECT_EQ(dialogs_->errors[0].text, "The selected directory does not contain Gravelmoor!");
  EXPECT_EQ(TextOf(window, "lblGameFolder"), game_);
  Click(window, "btnBrowse");  // the game folder, picked without its separator
  EXPECT_EQ(TextOf(window, "lblGameFolder"), game_);
  Click(window, "btnBrowse");  // cancelled
  EXPECT_EQ(dialogs_->errors.size(), 1u);
}

TEST_F(MainWindowUi, FewerPaintingsAskForTheVariantsThatWearMore) {
  frmMain& window = Start();
  Next();
  Next();
  TypeOver(window, "txtCarID", "AB1");
  auto* slider = Find<QSlider>(window, "sldPaintings");
  QTest::keyClick(slider, Qt::Key_Right);
  QTest::keyClick(slider, Qt::Key_Right);
  Click(window, "btnAdvanced");
  frmAdvanced* advanced = window.AdvancedWindow();
  ASSERT_NE(advanced, nullptr);
  auto* painting = Find<QComboBox>(*advanced, "cboPainting(0)");
  ASSERT_EQ(painting->count(), 3);
  painting->setCurrentIndex(2);
  emit painting->activated(2);
  Click(*advanced, "cmdOK");
  dialogs_->answers = {false};
  QTest::keyClick(slider, Qt::Key_Left);
  ASSERT_EQ(dialogs_->questions.size(), 1u);
  EXPECT_EQ(dialogs_->questions[0].title, "Carwright");
  EXPECT_EQ(dialogs_->questions[0].text,
            "The car with the ID AB11 uses the painting no 3. Are you sure you want to change "
            "the number of painings?");
  EXPECT_EQ(slider->value(), 3);  // Cancel puts it back
  dialogs_->answers = {true};
  QTest::keyClick(slider, Qt::Key_Left);
  EXPECT_EQ(slider->value(), 2);
  EXPECT_EQ(window.Model().Variants()[0].Painting, 2);
}

TEST_F(MainWindowUi, CancelAndTheCloseBoxAskFirst) {
  frmMain& window = Start();
  dialogs_->answers = {false};
  Click(window, "cmdNav(1)");
  ASSERT_EQ(dialogs_->questions.size(), 1u);
  EXPECT_EQ(dialogs_->questions[0].title, "Carwright");
  EXPECT_EQ(dialogs_->questions[0].text, "Are you sure?");
  EXPECT_EQ(dialogs_->questions[0].buttons, QuestionButtons::kYesNo);
  EXPECT_TRUE(window.isVisible());
  dialogs_->answers = {false, true};
  window.close();
  EXPECT_TRUE(window.isVisible());
  window.close();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(dialogs_->questions.size(), 3u);
}

TEST_F(MainWindowUi, TheRunRefusesClosingAndNavigation) {
  frmMain* window = nullptr;
  int writes = 0;
  bool refused = true;
  RunServices services = DefaultRunServices();
  const AssetWriter real = services.write_asset;
  services.write_asset = [&](const CarScriptSetup& setup, std::string_view folder,
                             const CarFileStep& step, const ProgressStep& progress) {
    if (writes++ == 3) {
      window->close();
      Click(*window, "cmdNav(2)");
      refused = window->isVisible() && window->Busy() && window->Model().State().Step == 4;
    }
    return real(setup, folder, step, progress);
  };
  window = &Start(Language::kEnglish, std::move(services));
  for (int i = 0; i < 6; ++i) Next();
  EXPECT_GT(writes, 3);
  EXPECT_TRUE(refused);
  EXPECT_TRUE(dialogs_->questions.empty());
  EXPECT_FALSE(window->Busy());
  EXPECT_EQ(TextOf(*window, "lblAction"), "Successfully completed");
}

TEST_F(MainWindowUi, AdvancedWindowOkUpdatesTheNameAndGroup) {
  frmMain& window = Start();
  Next();
  Next();
  Click(window, "btnAdvanced");
  frmAdvanced* advanced = window.AdvancedWindow();
  ASSERT_NE(advanced, nullptr);
  EXPECT_TRUE(advanced->isVisible());
  EXPECT_FALSE(window.isEnabled());
  TypeOver(*advanced, "txtCarName(0)", "Tarmac Star");
  auto* group = Find<QComboBox>(*advanced, "cboCarGroup(0)");
  group->setCurrentIndex(5);
  emit group->activated(5);
  Click(*advanced, "cmdOK");
  EXPECT_TRUE(window.isEnabled());
  EXPECT_EQ(TextOf(window, "txtCarName"), "Tarmac Star");
  EXPECT_EQ(Find<QComboBox>(window, "cboCarGroup")->currentText().toStdString(), "O3,R1");
  EXPECT_EQ(window.Model().Variants()[0].Power, 260);
}

TEST_F(MainWindowUi, EveryTextIsPolishWithAPolishLocale) {
  frmMain& window = Start(Language::kPolish);
  std::set<std::string> english_only;
  for (unsigned id = 100; id <= 11015; ++id) {
    const auto key = static_cast<std::uint16_t>(id);
    const std::string english(StringText(key, Language::kEnglish));
    if (!english.empty() && english != StringText(key, Language::kPolish)) {
      english_only.insert(english);
    }
  }
  std::vector<std::string> texts;
  for (int page : {0, 1, 2, 3, 5, 6}) {
    if (page > 0) Next();
    ASSERT_EQ(Page(), page);
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
      std::string text;
      if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        text = button->text().toStdString();
      } else if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        text = label->text().toStdString();
      } else if (const auto* frame = qobject_cast<const QGroupBox*>(widget)) {
        text = frame->title().toStdString();
      }
      EXPECT_FALSE(english_only.count(text)) << text << " on page " << page;
      if (!text.empty()) texts.push_back(text);
    }
  }
  EXPECT_TRUE(std::count(texts.begin(), texts.end(), "Dalej >"));
  EXPECT_TRUE(std::count(texts.begin(), texts.end(), "Wybór kół"));
  EXPECT_TRUE(std::count(texts.begin(), texts.end(), "Tworzenie szablonu samochodu"));
}

}  // namespace
}  // namespace wizard::ui::testing
