// Quorvex's pages and run, driven as the window drives them, over real
// self-extracting files (a stand-in extractor in front of real packages).
#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <vector>

#include "base/custom_cars.h"
#include "devuza/sfx.h"
#include "extractor/quorvex_model.h"
#include "fake_frame_view.h"
#include "run_test_support.h"

namespace quorvex {
namespace {

namespace stdfs = std::filesystem;
using wizard_test::CopyDemoGame;
using wizard_test::CraftPackage;
using wizard_test::ListTree;
using wizard_test::ReadFile;
using wizard_test::ScratchFolder;
using wizard_test::WriteFile;

using wizard::testing::FakeFrameView;

constexpr std::uint8_t kExtractor[] = {'M', 'Z', 'q', 'v', 'x', 0, 1, 2};

class QuorvexModelTest : public ::testing::Test {
 protected:
  QuorvexModelTest() : game_(CopyDemoGame(tmp_)) {}

  // A self-extracting file holding `package`.
  stdfs::path MakeProgram(const std::string& package, std::string_view name = "AB1.exe") {
    const stdfs::path plain = tmp_ / "plain.devuza";
    WriteFile(plain, package);
    const stdfs::path program = tmp_ / name;
    std::string error;
    EXPECT_TRUE(devuza::WriteSFXPackage(program, plain, true, kExtractor, &error)) << error;
    return program;
  }

  std::string CarPackage() {
    return CraftPackage("AB1", {{"", "AB1.3da", "mesh"}, {"Wheels", "AB1_Ice.3da", "ice"}});
  }

  QuorvexModel& Model(const stdfs::path& program, std::string folder) {
    QuorvexOptions options;
    options.language = wizard::Language::kEnglish;
    options.program = program;
    options.find_game_folder = [folder] {
      return wizard::GameFolderLookup{folder, wizard::GameFolderOrigin::kOption};
    };
    model_.emplace(view_, options);
    model_->Start();
    return *model_;
  }

  std::vector<std::string> Registry() {
    std::vector<std::string> cars;
    wizard::LoadINI(game_, cars);
    return cars;
  }

  ScratchFolder tmp_;
  std::string game_;
  FakeFrameView view_;
  std::optional<QuorvexModel> model_;
};

TEST_F(QuorvexModelTest, StartsOnTheGameFolderPage) {
  QuorvexModel& model = Model(MakeProgram(CarPackage()), game_);
  EXPECT_EQ(view_.caption, "Quorvex (Carwright 0.96a)");
  EXPECT_EQ(view_.localized, 1);
  EXPECT_EQ(model.State().Step, kPageGameFolder);
  EXPECT_EQ(model.State().Task, 0);
  EXPECT_EQ(view_.game_folder_label, game_);
  EXPECT_EQ(view_.title, "Select game's directory");
  EXPECT_FALSE(view_.NavEnabled(NavButton::kBack));
  EXPECT_TRUE(view_.NavEnabled(NavButton::kNext));
  EXPECT_FALSE(view_.NavEnabled(NavButton::kFinish));
  EXPECT_TRUE(view_.NavEnabled(NavButton::kCancel));

  Model(MakeProgram(CarPackage()), "");
  EXPECT_EQ(view_.game_folder_label, "<Game not installed>");
}

TEST_F(QuorvexModelTest, PagesZeroSixFourInstallTheCar) {
  const stdfs::path program = MakeProgram(CarPackage());
  QuorvexModel& model = Model(program, game_);
  model.OnNextClick();
  EXPECT_EQ(model.State().Step, kPageReady);
  EXPECT_EQ(model.State().Task, 4);
  EXPECT_EQ(model.State().CarID, "AB1");
  EXPECT_EQ(model.State().DEVUZA_FileName, program.string());
  EXPECT_TRUE(view_.questions.empty());
  EXPECT_TRUE(view_.NavEnabled(NavButton::kBack));

  // Back from 6 leads to 0, and on again.
  model.OnBackClick();
  EXPECT_EQ(model.State().Step, kPageGameFolder);
  EXPECT_EQ(model.State().Task, 4);
  model.OnNextClick();
  ASSERT_EQ(model.State().Step, kPageReady);

  model.OnNextClick();
  EXPECT_EQ(model.State().Step, kPageProgress);
  ASSERT_TRUE(model.HasRun());
  EXPECT_TRUE(model.Outcome().completed);
  EXPECT_EQ(view_.pages_shown, (std::vector<int>{0, 6, 0, 6, 4}));
  EXPECT_EQ(view_.actions.front(), "Extracting DEVUZA...");
  EXPECT_EQ(view_.actions.back(), "Successfully completed");
  EXPECT_EQ(view_.progress.front(), 100);
  EXPECT_EQ(view_.progress.back(), 200);
  EXPECT_TRUE(view_.errors.empty());
  // Only Finish remains.
  EXPECT_FALSE(view_.NavEnabled(NavButton::kBack));
  EXPECT_FALSE(view_.NavEnabled(NavButton::kNext));
  EXPECT_FALSE(view_.NavEnabled(NavButton::kCancel));
  EXPECT_TRUE(view_.NavEnabled(NavButton::kFinish));

  EXPECT_EQ(ReadFile(stdfs::path(game_) / "Data/Cars/AB1/Wheels/AB1_Ice.3da"), "ice");
  EXPECT_EQ(Registry(), std::vector<std::string>{"AB1"});
  EXPECT_NE(ReadFile(stdfs::path(game_) / "Data/Cars/cars.scr").find("AB1"), std::string::npos);
  EXPECT_EQ(model.State().CustomCars, std::vector<std::string>{"AB1"});

  model.OnFinishClick();
  EXPECT_EQ(view_.ended, 1);
  EXPECT_TRUE(view_.questions.empty());
}

TEST_F(QuorvexModelTest, AFolderWithoutTheGameStaysWithTenThousandTwo) {
  QuorvexModel& model = Model(MakeProgram(CarPackage()), (tmp_.path() / "nogame").string() + "/");
  model.OnNextClick();
  EXPECT_EQ(model.State().Step, kPageGameFolder);
  ASSERT_EQ(view_.errors.size(), 1u);
  EXPECT_EQ(view_.errors[0].title, "Error");
  EXPECT_EQ(view_.errors[0].text, "The selected directory does not contain Gravelmoor!");
}

TEST_F(QuorvexModelTest, ATakenIDAsksOneSeventeenAndKeepsItsRegistration) {
  const stdfs::path program = MakeProgram(CarPackage());
  Model(program, game_).OnNextClick();
  model_->OnNextClick();
  ASSERT_TRUE(model_->Outcome().completed);
  const std::string scripts = ReadFile(stdfs::path(game_) / "Data/Cars/cars.scr");
  WriteFile(stdfs::path(game_) / "Data/Cars/AB1/AB1.3da", "changed");

  view_ = FakeFrameView();
  QuorvexModel& model = Model(program, game_);
  view_.answers = {false};
  model.OnNextClick();  // Cancel
  ASSERT_EQ(view_.questions.size(), 1u);
  EXPECT_EQ(view_.questions[0].title, "Warning");
  EXPECT_EQ(view_.questions[0].text,
            "A car with this ID already exists. Do you want to replace it?");
  EXPECT_EQ(view_.questions[0].buttons, QuestionButtons::kOkCancel);
  EXPECT_EQ(model.State().Step, kPageGameFolder);

  view_.answers = {true};
  model.OnNextClick();
  ASSERT_EQ(model.State().Step, kPageReady);
  model.OnNextClick();
  EXPECT_TRUE(model.Outcome().completed);
  // The files are replaced; the scripts and the registry stay as they were.
  EXPECT_EQ(ReadFile(stdfs::path(game_) / "Data/Cars/AB1/AB1.3da"), "mesh");
  EXPECT_EQ(ReadFile(stdfs::path(game_) / "Data/Cars/cars.scr"), scripts);
  EXPECT_EQ(Registry(), std::vector<std::string>{"AB1"});
}

TEST_F(QuorvexModelTest, AFileWithoutAPackageStaysSilentlyOnPageZero) {
  const stdfs::path program = tmp_ / "bare";
  WriteFile(program, std::string(200, 'x'));
  QuorvexModel& model = Model(program, game_);
  model.OnNextClick();
  EXPECT_EQ(model.State().Step, kPageGameFolder);
  EXPECT_TRUE(view_.errors.empty());
  EXPECT_TRUE(view_.questions.empty());
  EXPECT_EQ(model.PackageProblem(), "No DEVUZA File!");

  // A version other than 1.0 behind a sound trailer stays too.
  std::string package = CarPackage();
  devuza::testing::PatchInt16(package, devuza::testing::kVersionOffset, 2);
  Model(MakeProgram(package, "v2.exe"), game_).OnNextClick();
  EXPECT_EQ(model_->State().Step, kPageGameFolder);
  EXPECT_EQ(model_->PackageProblem(), "Wrong DEVUZA version");
}

TEST_F(QuorvexModelTest, AHostileEntryEndsTheRunBeforeAnythingIsWritten) {
  const stdfs::path program =
      MakeProgram(CraftPackage("AB1", {{"", "AB1.3da", "mesh"}, {"..", "evil.3da", "x"}}));
  const std::vector<std::string> before = ListTree(tmp_.path());
  QuorvexModel& model = Model(program, game_);
  model.OnNextClick();
  ASSERT_EQ(model.State().Step, kPageReady);
  model.OnNextClick();
  EXPECT_FALSE(model.Outcome().completed);
  ASSERT_EQ(view_.errors.size(), 1u);
  EXPECT_EQ(view_.errors[0].title, "Error");
  // The message names the program file the package was read from.
  EXPECT_EQ(view_.errors[0].text.rfind("File:" + program.string() + "\n", 0), 0u)
      << view_.errors[0].text;
  EXPECT_EQ(view_.actions.back(), "Error!");
  EXPECT_TRUE(view_.NavEnabled(NavButton::kFinish));
  EXPECT_EQ(ListTree(tmp_.path()), before);
  EXPECT_TRUE(Registry().empty());
}

// The header reader refuses an ID that cannot name a car folder, so such a
// file stays on page 0 like any damaged header, without a question.
TEST_F(QuorvexModelTest, AnIDThatCannotNameACarFolderStaysOnPageZero) {
  const stdfs::path program = MakeProgram(CraftPackage("A/B", {{"", "x.3da", "x"}}));
  const std::vector<std::string> before = ListTree(tmp_.path());
  QuorvexModel& model = Model(program, game_);
  model.OnNextClick();
  EXPECT_EQ(model.State().Step, kPageGameFolder);
  EXPECT_NE(model.PackageProblem().find("cannot name a car folder"), std::string::npos);
  EXPECT_TRUE(view_.questions.empty());
  EXPECT_EQ(ListTree(tmp_.path()), before);
}

TEST_F(QuorvexModelTest, TheCloseQuestionIsTitledQuorvex) {
  QuorvexModel& model = Model(MakeProgram(CarPackage()), game_);
  view_.answers = {false};
  model.OnCancelClick();  // No
  ASSERT_EQ(view_.questions.size(), 1u);
  EXPECT_EQ(view_.questions[0].title, "Quorvex");
  EXPECT_EQ(view_.questions[0].text, "Are you sure?");
  EXPECT_EQ(view_.questions[0].buttons, QuestionButtons::kYesNo);
  EXPECT_EQ(view_.ended, 0);
  view_.answers = {true};
  model.OnCancelClick();
  EXPECT_EQ(view_.ended, 1);
  EXPECT_TRUE(model.OnCloseRequest());
}

}  // namespace
}  // namespace quorvex
