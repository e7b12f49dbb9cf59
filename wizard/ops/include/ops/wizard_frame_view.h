// The frame of a wizard window, seen from its model: caption, pages and their
// titles, the navigation buttons, the game folder of page 0, questions, the
// folder and file dialogs, and the end of the program; and, as a RunView, the
// progress page. The shared Qt frame widget implements it for every wizard
// window, which adds its own texts; Carwright's main window adds the
// WizardView built on it (a virtual base, so that the two meet in one).
// It lives beside RunView, below the wizard model, so that Quorvex, which
// never sees Carwright's model, drives the same frame.
//
// Texts handed to the view are UTF-8. Calls that set a control's value must not
// call back into the model (the window blocks its change signals while the
// model sets a control).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/string_table.h"
#include "ops/run_view.h"

namespace wizard {

// Pages (the value of Step).
inline constexpr int kPageGameFolder = 0;
inline constexpr int kPageOperation = 1;
inline constexpr int kPageCarParameters = 2;
inline constexpr int kPageParts = 3;
inline constexpr int kPageProgress = 4;
inline constexpr int kPageWheels = 5;
inline constexpr int kPageReady = 6;
inline constexpr int kPageCarSelection = 7;
inline constexpr int kPageCount = 8;

// The navigation buttons cmdNav(0) .. cmdNav(4).
enum class NavButton { kHelp = 0, kCancel = 1, kBack = 2, kNext = 3, kFinish = 4 };
inline constexpr int kNavButtonCount = 5;

// The buttons of a question.
enum class QuestionButtons { kOkCancel, kYesNo };

// An open or save dialog: the proposed file name, the filter in the form
// "description|pattern|" (one or more pairs, each part followed by '|'), and
// the folder it starts in (empty: the view's choice).
struct FileDialogRequest {
  std::string file_name;
  std::string filter;
  std::string folder;
};

class WizardFrameView : public RunView {
 public:
  // The window.
  virtual void SetCaption(std::string_view caption) = 0;
  // Fills the window's fixed texts in `language`: each control named in
  // Carwright's control table takes the text of its id, or the window runs
  // LocalizeForm over the ids its design holds.
  virtual void LocalizeWindow(Language language) = 0;
  // Ends the program at once (Finish, or a confirmed close).
  virtual void EndProgram() = 0;

  // Pages and navigation.
  // Hides the frame of `hidden_page` and shows the frame of `shown_page`.
  virtual void SwitchPage(int hidden_page, int shown_page) = 0;
  // lblTitle, lblSubTitle and the page's description line.
  virtual void SetTitles(std::string_view title, std::string_view subtitle,
                         std::string_view description) = 0;
  virtual void SetNavButtonEnabled(NavButton button, bool enabled) = 0;
  virtual void SetNavButtonVisible(NavButton button, bool visible) = 0;

  // Page 0: lblGameFolder.
  virtual void SetGameFolderLabel(std::string_view text) = 0;

  // Dialogs. A question with the question icon; true for OK or Yes.
  virtual bool AskQuestion(std::string_view title, std::string_view text,
                           QuestionButtons buttons) = 0;
  // The folder picker; the picked folder without a trailing separator, empty
  // when cancelled.
  virtual std::string PickFolder(std::string_view title) = 0;
  // The save and open dialogs; the chosen path, nullopt when cancelled.
  virtual std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) = 0;
};

}  // namespace wizard
