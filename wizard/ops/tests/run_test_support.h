// Helpers of the operation tests: a copy of the demo game folder, a view that
// records what a run shows, and an asset writer double; with the shared
// scratch folder, file helpers and crafted packages.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "ops/operations.h"
#include "package_test_support.h"
#include "test_support/files.h"
#include "test_support/scratch_folder.h"

namespace wizard_test {

using devuza::testing::CraftedFile;
using devuza::testing::CraftPackage;
using gm_test::ListFolder;
using gm_test::ListTree;
using gm_test::ReadFile;
using gm_test::ScratchFolder;
using gm_test::WriteFile;

// Copies the shipped demo game folder to `tmp`/`name` and returns it as a game
// folder (ending in a separator).
std::string CopyDemoGame(const ScratchFolder& tmp, std::string_view name = "game");

class RecordingRunView : public wizard::RunView {
 public:
  std::vector<double> progress;
  std::vector<std::string> actions;
  std::vector<std::string> errors;
  std::vector<std::string> error_titles;
  int refreshed = 0;

  void SetProgress(double value) override { progress.push_back(value); }
  void SetActionText(std::string_view text) override { actions.emplace_back(text); }
  void RefreshWindow() override { ++refreshed; }
  void ShowErrorBox(std::string_view title, std::string_view text) override {
    error_titles.emplace_back(title);
    errors.emplace_back(text);
  }
};

// An asset writer that writes each asset file as the text
// "<kind> <resource> <painting>" and reports it, recording every request.
struct AssetLog {
  std::vector<wizard::CarFileStep> requests;
};
wizard::AssetWriter TextAssetWriter(AssetLog& log);

// Run services with the text asset writer and no extractor.
wizard::RunServices TestServices(AssetLog& log);

// A state for creating `id` in `game_folder` with two paintings, the bonnet
// and the start wheels.
wizard::WizardState CreateState(const std::string& game_folder, const std::string& id);

// Runs `state` in English with blank variants and `services` (by default
// neither asset writer nor extractor); `state` takes the list after the run.
wizard::RunOutcome RunInEnglish(wizard::WizardState& state, RecordingRunView& view,
                                const wizard::RunServices& services = {});

// Creates `id` in `game_folder` (CreateState) with the text asset writer.
wizard::RunOutcome CreateCar(const std::string& game_folder, const std::string& id,
                             RecordingRunView& view);

}  // namespace wizard_test
