// Quorvex on a console: error boxes and the run's errors on standard error,
// one line each prefixed "quorvex: "; the run's progress and action line as
// one updating line, only when standard error is a terminal; the replace
// question answered by --yes; the window's other controls ignored.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "extractor/quorvex_view.h"

namespace quorvex {

class ConsoleQuorvexView : public QuorvexView {
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
  void SetNavButtonEnabled(NavButton, bool) override {}
  void SetNavButtonVisible(NavButton, bool) override {}
  void SetGameFolderLabel(std::string_view) override {}
  void SetCarList(std::span<const std::string>) override {}
  void ShowErrorBox(std::string_view title, std::string_view text) override;
  bool AskQuestion(std::string_view title, std::string_view text, QuestionButtons buttons) override;
  std::string PickFolder(std::string_view) override { return {}; }

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
