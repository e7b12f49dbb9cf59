// Shared by the operations: the run's setting, its view and the ends of a run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ops/operations.h"

namespace wizard::detail {

class RunContext {
 public:
  RunContext(const RunSetting& setting, RunView& view, const RunServices& services)
      : game_folder(setting.game_folder),
        custom_cars(setting.custom_cars),
        language(setting.language),
        view(view),
        services(services) {}

  std::string_view Text(std::uint16_t id) const { return StringText(id, language); }

  void SetProgress(double value);
  // One finished file: progress + 1 and its CreatingFileStatus in the action
  // line.
  void Step(std::string_view file_name);
  ProgressStep StepFunction() {
    return [this](std::string_view file_name) { Step(file_name); };
  }
  void AddProgress(double amount) { SetProgress(progress_ + amount); }
  double Progress() const { return progress_; }

  // Shows one error message and counts it.
  void Error(std::string_view text);
  // Message `id` followed by a line feed and `path`.
  void ErrorWithPath(std::uint16_t id, std::string_view path);
  // The package error: "File:" + path + line feed + `detail`.
  void PackageError(std::string_view path, std::string_view detail);

  // The success end: action 111, progress 200, WriteINI of custom_cars.
  RunOutcome SuccessEnd();
  // The error end: action 116; the registry is left alone.
  RunOutcome ErrorEnd();

  const std::string game_folder;
  std::vector<std::string> custom_cars;  // the list as the run changes it
  const Language language;
  RunView& view;
  const RunServices& services;

 private:
  double progress_ = 0;
  int failures_ = 0;
};

// "<id>: " followed by text 10007 "ID reserved.".
std::string ReservedIDText(const RunContext& run, std::string_view id);

// The native path of a game path, for messages.
std::string ShownPath(std::string_view game_path);

// The four registrations of car `car_id` in the game's master scripts, in
// order, with `between` added to the progress between two of them. A failed
// one is shown like a failed file, naming the file that failed.
void RegisterCar(RunContext& run, std::string_view car_id, double between);

}  // namespace wizard::detail
