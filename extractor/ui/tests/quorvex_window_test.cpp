// Quorvex's window, offscreen, driven through its widgets by object name, over
// real self-extracting files: the extractor Carwright carries in front of a
// package.
#include <gtest/gtest.h>

#include <QLabel>
#include <QStackedWidget>
#include <string>
#include <vector>

#include "base/custom_cars.h"
#include "devuza/sfx.h"
#include "extractor_ui/quorvex_window.h"
#include "run_test_support.h"
#include "ui_test_support.h"

namespace quorvex::ui {
namespace {

namespace stdfs = std::filesystem;
using wizard::ui::testing::Click;
using wizard::ui::testing::Find;
using wizard::ui::testing::ScriptedDialogs;
using wizard::ui::testing::TestApplication;
using wizard::ui::testing::TextOf;
using wizard_test::CopyDemoGame;
using wizard_test::CraftPackage;
using wizard_test::ReadFile;
using wizard_test::ScratchFolder;
using wizard_test::WriteFile;

class QuorvexWindowTest : public ::testing::Test {
 protected:
  QuorvexWindowTest() : game_(CopyDemoGame(tmp_)) { TestApplication(); }

  // A self-extracting file of the car AB1, renamed as a recipient might.
  stdfs::path MakeProgram() {
    const stdfs::path plain = tmp_ / "plain.devuza";
    WriteFile(plain,
              CraftPackage("AB1", {{"", "AB1.3da", "mesh"}, {"Wheels", "AB1_Ice.3da", "ice"}}));
    const std::string extractor = ReadFile(QUORVEX_EXTRACT_PATH);
    EXPECT_FALSE(extractor.empty());
    const stdfs::path program = tmp_ / "my car.exe";
    std::string error;
    EXPECT_TRUE(devuza::WriteSFXPackage(
        program, plain, true,
        std::span(reinterpret_cast<const std::uint8_t*>(extractor.data()), extractor.size()),
        &error))
        << error;
    return program;
  }

  QuorvexWindow& Open(const std::string& folder,
                      wizard::Language language = wizard::Language::kEnglish) {
    if (program_.empty()) program_ = MakeProgram();
    QuorvexOptions options;
    options.language = language;
    options.program = program_;
    options.find_game_folder = [folder] {
      return wizard::GameFolderLookup{folder, wizard::GameFolderOrigin::kOption};
    };
    auto dialogs = std::make_unique<ScriptedDialogs>();
    dialogs_ = dialogs.get();
    window_ = std::make_unique<QuorvexWindow>(options, std::move(dialogs));
    window_->Start();
    window_->show();
    return *window_;
  }

  int Page() const { return Find<QStackedWidget>(*window_, "stkPages")->currentIndex(); }
  bool Enabled(const std::string& name) const { return Find<QWidget>(*window_, name)->isEnabled(); }

  std::vector<std::string> Registry() const {
    std::vector<std::string> cars;
    wizard::LoadINI(game_, cars);
    return cars;
  }

  ScratchFolder tmp_;
  std::string game_;
  stdfs::path program_;
  ScriptedDialogs* dialogs_ = nullptr;
  std::unique_ptr<QuorvexWindow> window_;
};

TEST_F(QuorvexWindowTest, ShowsQuorvexsCaptionPagesAndTexts) {
  QuorvexWindow& window = Open(game_);
  EXPECT_EQ(window.windowTitle().toStdString(), "Quorvex (Carwright 0.96a)");
  EXPECT_EQ(Page(), 0);
  EXPECT_EQ(TextOf(window, "lblGameFolder"), game_);
  EXPECT_EQ(TextOf(window, "lblTitle"), "Select game's directory");
  EXPECT_EQ(TextOf(window, "cmdNav(3)"), "Next >");
  EXPECT_FALSE(Find<QWidget>(window, "cmdNav(0)")->isVisible());
  EXPECT_FALSE(Enabled("cmdNav(2)"));
  EXPECT_TRUE(Enabled("cmdNav(3)"));
  // Carwright's own controls are not part of this window.
  EXPECT_EQ(window.findChild<QWidget*>("chkSFX"), nullptr);
  EXPECT_EQ(window.findChild<QWidget*>("lstCarList"), nullptr);
  EXPECT_EQ(window.findChild<QWidget*>("optTask(0)"), nullptr);
  // Nor are their pages: the frame shows none of them.
  for (const int page : {1, 2, 3, 5, 7}) {
    window.SwitchPage(0, page);
    EXPECT_EQ(Page(), 0) << page;
  }
  window.SwitchPage(0, kPageReady);
  EXPECT_EQ(Page(), kPageReady);

  QuorvexWindow& polish = Open(game_, wizard::Language::kPolish);
  EXPECT_EQ(polish.windowTitle().toStdString(), "Quorvex (Carwright 0.96a)");
  EXPECT_EQ(TextOf(polish, "cmdNav(3)"), "Dalej >");
}

TEST_F(QuorvexWindowTest, PagesZeroSixFourAndFinishInstallTheCar) {
  QuorvexWindow& window = Open(game_);
  Click(window, "cmdNav(3)");
  ASSERT_EQ(Page(), 6);
  EXPECT_TRUE(Enabled("cmdNav(2)"));

  // Back from the ready page leads to the game folder, and on again.
  Click(window, "cmdNav(2)");
  EXPECT_EQ(Page(), 0);
  EXPECT_FALSE(Enabled("cmdNav(2)"));
  Click(window, "cmdNav(3)");
  ASSERT_EQ(Page(), 6);

  Click(window, "cmdNav(3)");
  EXPECT_EQ(Page(), 4);
  EXPECT_EQ(TextOf(window, "lblAction"), "Successfully completed");
  EXPECT_FALSE(Enabled("cmdNav(1)"));
  EXPECT_FALSE(Enabled("cmdNav(2)"));
  EXPECT_FALSE(Enabled("cmdNav(3)"));
  EXPECT_TRUE(Enabled("cmdNav(4)"));
  EXPECT_TRUE(dialogs_->errors.empty());
  EXPECT_TRUE(dialogs_->questions.empty());
  EXPECT_EQ(ReadFile(stdfs::path(game_) / "Data/Cars/AB1/AB1.3da"), "mesh");
  EXPECT_EQ(ReadFile(stdfs::path(game_) / "Data/Cars/AB1/Wheels/AB1_Ice.3da"), "ice");
  EXPECT_NE(ReadFile(stdfs::path(game_) / "Data/Cars/cars.scr").find("AB1"), std::string::npos);
  EXPECT_EQ(Registry(), std::vector<std::string>{"AB1"});

  // Finish closes without a question.
  Click(window, "cmdNav(4)");
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(dialogs_->questions.empty());
}

TEST_F(QuorvexWindowTest, AFolderWithoutTheGameIsRefusedWithTenThousandTwo) {
  const std::string empty = (tmp_.path() / "nogame").string() + "/";
  stdfs::create_directories(empty);
  QuorvexWindow& window = Open(empty);
  Click(window, "cmdNav(3)");
  EXPECT_EQ(Page(), 0);
  ASSERT_EQ(dialogs_->errors.size(), 1u);
  EXPECT_EQ(dialogs_->errors[0].text, "The selected directory does not contain Gravelmoor!");

  // Browsing to the real game lets Next through.
  dialogs_->folders.push_back(QString::fromStdString(game_.substr(0, game_.size() - 1)));
  Click(window, "btnBrowse");
  Click(window, "cmdNav(3)");
  EXPECT_EQ(Page(), 6);
  EXPECT_EQ(dialogs_->errors.size(), 1u);
}

TEST_F(QuorvexWindowTest, ATakenIDAsksOneSeventeenCancelStaysOKReplaces) {
  QuorvexWindow& first = Open(game_);
  Click(first, "cmdNav(3)");
  Click(first, "cmdNav(3)");
  ASSERT_EQ(TextOf(first, "lblAction"), "Successfully completed");
  const std::string scripts = ReadFile(stdfs::path(game_) / "Data/Cars/cars.scr");
  WriteFile(stdfs::path(game_) / "Data/Cars/AB1/AB1.3da", "changed");

  QuorvexWindow& window = Open(game_);
  dialogs_->answers = {false};
  Click(window, "cmdNav(3)");
  ASSERT_EQ(dialogs_->questions.size(), 1u);
  EXPECT_EQ(dialogs_->questions[0].title, "Warning");
  EXPECT_EQ(dialogs_->questions[0].text,
            "A car with this ID already exists. Do you want to replace it?");
  EXPECT_EQ(dialogs_->questions[0].buttons, wizard::QuestionButtons::kOkCancel);
  EXPECT_EQ(Page(), 0);
  EXPECT_EQ(ReadFile(stdfs::path(game_) / "Data/Cars/AB1/AB1.3da"), "changed");

  dialogs_->answers = {true};
  Click(window, "cmdNav(3)");
  ASSERT_EQ(Page(), 6);
  Click(window, "cmdNav(3)");
  EXPECT_EQ(Page(), 4);
  EXPECT_EQ(TextOf(window, "lblAction"), "Successfully completed");
  EXPECT_EQ(ReadFile(stdfs::path(game_) / "Data/Cars/AB1/AB1.3da"), "mesh");
  EXPECT_EQ(ReadFile(stdfs::path(game_) / "Data/Cars/cars.scr"), scripts);
  EXPECT_EQ(Registry(), std::vector<std::string>{"AB1"});
}

TEST_F(QuorvexWindowTest, ClosingAsksAreYouSureTitledQuorvex) {
  QuorvexWindow& window = Open(game_);
  dialogs_->answers = {false, true};
  window.close();
  EXPECT_TRUE(window.isVisible());
  window.close();
  EXPECT_FALSE(window.isVisible());
  ASSERT_EQ(dialogs_->questions.size(), 2u);
  EXPECT_EQ(dialogs_->questions[0].title, "Quorvex");
  EXPECT_EQ(dialogs_->questions[0].text, "Are you sure?");
}

}  // namespace
}  // namespace quorvex::ui
