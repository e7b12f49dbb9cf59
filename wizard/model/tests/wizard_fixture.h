// A wizard model on a scratch game folder, with the fake view, launcher and
// package headers of fake_wizard_view.h.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "fake_wizard_view.h"
#include "model/wizard_model.h"
#include "test_support/files.h"
#include "test_support/scratch_folder.h"

namespace wizard::testing {

namespace stdfs = std::filesystem;

class WizardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    game_ = root_ / "game";
    stdfs::create_directories(game_);
    WriteFile(game_ / "Gravelmoor.exe", "MZ");
    // Draws that GenerateCarID turns into "AB1".
    draws_ = {11.5 / 36, 12.5 / 36, 2.5 / 36};
  }

  // The model goes before the folder it works in.
  void TearDown() override { model_.reset(); }

  static void WriteFile(const stdfs::path& path, const std::string& bytes) {
    gm_test::WriteFile(path, bytes);
  }

  // The game folder as the wizard keeps it: ending in a separator.
  std::string GameFolder() const { return (game_ / "").string(); }  // native separator last

  // Writes the custom-car registry of the scratch game folder.
  void WriteCustomCars(const std::vector<std::string>& cars) {
    std::string text = "[Cars]\r\nCarsCount=" + std::to_string(cars.size()) + "\r\n";
    for (std::size_t i = 0; i < cars.size(); ++i) {
      text += "CarID" + std::to_string(i + 1) + "=" + cars[i] + "\r\n";
    }
    WriteFile(game_ / "Carwright.ini", text);
  }

  // Creates and starts the model; `folder` is what the game folder source gives.
  WizardModel& Start(Language language = Language::kEnglish,
                     std::optional<std::string> folder = std::nullopt) {
    WizardOptions options;
    options.language = language;
    const std::string start_folder = folder ? *folder : GameFolder();
    options.find_game_folder = [start_folder] {
      return GameFolderLookup{start_folder, start_folder.empty() ? GameFolderOrigin::kNone
                                                                 : GameFolderOrigin::kEnvironment};
    };
    options.random = [this] {
      const double r = draws_.empty() ? 0.0 : draws_.front();
      if (!draws_.empty()) draws_.pop_front();
      return r;
    };
    options.dialog_folder = (root_ / "program").string();
    model_ = std::make_unique<WizardModel>(view_, launcher_, packages_, options);
    model_->Start();
    return *model_;
  }

  // Next and Back as the buttons do them.
  void Next() { model_->OnNextClick(); }
  void Back() { model_->OnBackClick(); }
  int Step() const { return model_->State().Step; }

  gm_test::ScratchFolder folder_;
  const stdfs::path root_ = folder_.path();
  stdfs::path game_;
  std::deque<double> draws_;
  FakeWizardView view_;
  RecordingLauncher launcher_;
  FakePackageHeaders packages_;
  std::unique_ptr<WizardModel> model_;
};

}  // namespace wizard::testing
