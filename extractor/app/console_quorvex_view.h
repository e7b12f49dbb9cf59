// Quorvex on a console: error boxes and the run's errors on standard error,
// one line each prefixed "quorvex: "; the run's progress and action line as
// one updating line, only when standard error is a terminal; the replace
// question answered by --yes; the window's other controls ignored.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ops/wizard_frame_view.h"

namespace quorvex {

class ConsoleQuorvexView : public wizard::WizardFrameView {
 public:
  explicit ConsoleQuorvexView(bool answer_yes);
  ~ConsoleQuorvexView() override;

  // The question refused for want of --yes, empty when none was.
  const std::string& RefusedQuestion() const { return refused_question_; }
  int ErrorsShown() const { return errors_shown_; }
  const std::string& ActionText() const { return action_; }
  // Clears the progress line, so that what follows starts on a clean line.
  void ClearLine();

  void SetCaption(std::string_view) override {}
  void LocalizeWindow(wizard::Language) override {}
  void EndProgram() override {}
  void SwitchPage(int, int) override {}
  void SetTitles(std::string_view, std::string_view, std::string_view) override {}
  void SetNavButtonEnabled(wizard::NavButton, bool) override {}
  void SetNavButtonVisible(wizard::NavButton, bool) override {}
  void SetGameFolderLabel(std::string_view) override {}
  void ShowErrorBox(std::string_view title, std::string_view text) override;
  bool AskQuestion(std::string_view title, std::string_view text,
                   wizard::QuestionButtons buttons) override;
  std::string PickFolder(std::string_view) override { return {}; }
  std::optional<std::string> SaveFileDialog(const wizard::FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<std::string> OpenFileDialog(const wizard::FileDialogRequest&) override {
    return std::nullopt;
  }

  void SetProgress(double value) override;
  void SetActionText(std::string_view text) override;
  void RefreshWindow() override {}

 private:
  void Draw();

  bool answer_yes_;
  bool terminal_ = false;
  bool drawn_ = false;
  double progress_ = 0;
  std::string refused_question_;
  std::string action_;
  int errors_shown_ = 0;
};

// Prints "quorvex: " + `text` on standard error.
void PrintError(std::string_view text);

}  // namespace quorvex
