// Shared by the parts of the operation runner: the run's state, its view and
// the ends of a run.
#pragma once

#include <string>
#include <string_view>

#include "ops/operations.h"

namespace wizard::detail {

class RunContext {
 public:
  RunContext(WizardState& state, const CarVariants& variants, RunView& view, Language language,
             const RunServices& services)
      : state(state), variants(variants), view(view), language(language), services(services) {}

  std::string_view Text(std::uint16_t id) const { return StringText(id, language); }

  void SetProgress(double value);
  // One finished file: progress + 1 and `status` in the action line.
  void Step(std::string_view status);
  ProgressStep StepFunction() {
    return [this](std::string_view status) { Step(status); };
  }
  void AddProgress(double amount) { SetProgress(progress_ + amount); }
  double Progress() const { return progress_; }

  // Shows one error message and counts it.
  void Error(std::string_view text);
  // Message `id` followed by a line feed and `path`.
  void ErrorWithPath(std::uint16_t id, std::string_view path);
  // The package error: "File:" + path + line feed + `detail`.
  void PackageError(std::string_view path, std::string_view detail);

  // The success end: action 111, progress 200, WriteINI.
  RunOutcome SuccessEnd();
  // The error end: action 116; the registry is left alone.
  RunOutcome ErrorEnd();

  WizardState& state;
  const CarVariants& variants;
  RunView& view;
  Language language;
  const RunServices& services;

 private:
  double progress_ = 0;
  int failures_ = 0;
};

// "<id>: " followed by text 10007 "ID reserved.".
std::string ReservedIDText(const RunContext& run, std::string_view id);

// The native path of a game path, for messages.
std::string ShownPath(std::string_view game_path);

// The four registrations in the game's master scripts, in order, with
// `between` added to the progress between two of them. A failed one is shown
// like a failed file, naming the file that failed.
void RegisterCar(RunContext& run, double between);

// The parts of PerformOperation, one per operation.
RunOutcome RunCreateCar(RunContext& run);
RunOutcome RunDeleteCar(RunContext& run);
RunOutcome RunCreatePackage(RunContext& run);
RunOutcome RunExtractPackage(RunContext& run);

}  // namespace wizard::detail
