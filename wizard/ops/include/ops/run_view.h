// What a running operation shows: the progress bar, the action line and one
// message per failure. Carwright's and Quorvex's wizard windows are run views
// (through their frame view); Carwright's command line gives its own.
#pragma once

#include <string_view>

namespace wizard {

// The progress bar's range.
inline constexpr double kProgressMax = 200.0;

// Texts are UTF-8.
class RunView {
 public:
  virtual ~RunView() = default;

  // prgsAction, 0 to kProgressMax.
  virtual void SetProgress(double value) = 0;
  // lblAction.
  virtual void SetActionText(std::string_view text) = 0;
  // A repaint of the window before long work.
  virtual void RefreshWindow() = 0;
  // An error box: OK button and error icon. A run titles its messages with
  // 10000 "Error" in the run's language and goes on after each is closed.
  virtual void ShowErrorBox(std::string_view title, std::string_view text) = 0;
};

}  // namespace wizard
