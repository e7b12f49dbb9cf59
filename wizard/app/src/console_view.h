// How Carwright's sub-commands show a run: error messages on standard error,
// one each; progress and the action line as one updating line, only when
// standard error is a terminal, a few updates per second.
#pragma once

#include <chrono>
#include <string>

#include "ops/run_view.h"

namespace carwright {

class ConsoleView : public wizard::RunView {
 public:
  ConsoleView();
  ~ConsoleView() override;

  void SetProgress(double value) override;
  void SetActionText(std::string_view text) override;
  void RefreshWindow() override {}
  // The title is left out: every message of a run is an error.
  void ShowErrorBox(std::string_view title, std::string_view text) override;

 private:
  void Draw(bool force);
  void ClearLine();

  bool terminal_ = false;
  bool drawn_ = false;
  double progress_ = 0;
  std::string action_;
  std::chrono::steady_clock::time_point last_draw_{};
};

}  // namespace carwright
