// The screen of Quorvex, seen from its model: the reduced wizard window (pages
// 0, 6 and 4) or the console. Everything the model shows, enables or asks goes
// through this interface; the run's progress, action line and errors arrive
// through the RunView part, as they do for Carwright's runner.
//
// Texts handed to the view are UTF-8.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "base/string_table.h"
#include "ops/operations.h"

namespace quorvex {

// The navigation buttons cmdNav(0) .. cmdNav(4).
enum class NavButton { kHelp = 0, kCancel = 1, kBack = 2, kNext = 3, kFinish = 4 };
inline constexpr int kNavButtonCount = 5;

// The buttons of a question.
enum class QuestionButtons { kOkCancel, kYesNo };

class QuorvexView : public wizard::RunView {
 public:
  virtual void SetCaption(std::string_view caption) = 0;
  // Fills the window's fixed texts from the string table (LocalizeForm).
  virtual void LocalizeWindow(wizard::Language language) = 0;
  // Ends the program at once (Finish, or a confirmed close).
  virtual void EndProgram() = 0;
  // Hides the frame of `hidden_page` and shows that of `shown_page`.
  virtual void SwitchPage(int hidden_page, int shown_page) = 0;
  // lblTitle, lblSubTitle and the page's description line.
  virtual void SetTitles(std::string_view title, std::string_view subtitle,
                         std::string_view description) = 0;
  virtual void SetNavButtonEnabled(NavButton button, bool enabled) = 0;
  virtual void SetNavButtonVisible(NavButton button, bool visible) = 0;
  // Page 0: lblGameFolder.
  virtual void SetGameFolderLabel(std::string_view text) = 0;
  // Page 7 (never shown): lstCarList, filled in order when page 0 is left.
  virtual void SetCarList(std::span<const std::string> cars) = 0;
  // An error box: OK button and error icon.
  virtual void ShowErrorBox(std::string_view title, std::string_view text) = 0;
  // A question with the question icon; true for OK or Yes.
  virtual bool AskQuestion(std::string_view title, std::string_view text,
                           QuestionButtons buttons) = 0;
  // The folder picker; the picked folder without a trailing separator, empty
  // when cancelled.
  virtual std::string PickFolder(std::string_view title) = 0;
};

}  // namespace quorvex
