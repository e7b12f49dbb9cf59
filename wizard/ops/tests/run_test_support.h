// Helpers of the runner tests: a copy of the demo game folder, a view that
// records what a run shows, an asset writer double, tree listings and
// packages crafted byte by byte.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "ops/operations.h"
#include "test_support/scratch_folder.h"

namespace wizard_test {

// Copies the shipped demo game folder to `tmp`/`name` and returns it as a game
// folder (ending in a separator).
std::string CopyDemoGame(const TestFolder& tmp, std::string_view name = "game");

class RecordingRunView : public wizard::RunView {
 public:
  std::vector<double> progress;
  std::vector<std::string> actions;
  std::vector<std::string> errors;
  int refreshed = 0;

  void SetProgress(double value) override { progress.push_back(value); }
  void SetActionText(std::string_view text) override { actions.emplace_back(text); }
  void RefreshWindow() override { ++refreshed; }
  void ShowError(std::string_view text) override { errors.emplace_back(text); }
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

// Every file and folder below `root` as sorted relative generic paths, folders
// ending in '/'.
std::vector<std::string> ListTree(const std::filesystem::path& root);

struct CraftedFile {
  std::string folder;  // 16-byte field: folder, NUL, blanks
  std::string name;    // 64-byte field, blank-filled
  std::string data;
};
// A package for `car_id` holding `files`, laid out byte by byte.
std::string CraftPackage(std::string_view car_id, const std::vector<CraftedFile>& files);

}  // namespace wizard_test
