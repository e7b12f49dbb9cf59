// The screen of Carwright's wizard, seen from its model: everything the model
// shows, enables, asks or lets the user pick goes through this interface. The
// Qt window implements it; tests implement it with a scripted fake.
//
// Texts handed to the view are UTF-8. Calls that set a control's value must not
// call back into the model (the window blocks its change signals while the
// model sets a control).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/string_table.h"

namespace wizard {

// The navigation buttons cmdNav(0) .. cmdNav(4).
enum class NavButton { kHelp = 0, kCancel = 1, kBack = 2, kNext = 3, kFinish = 4 };
inline constexpr int kNavButtonCount = 5;

// The arrays of check boxes: chkParts, chkAnimParts, chkWheels.
enum class CheckGroup { kParts, kAnimParts, kWheels };

// A check box's state; kGrey is the indeterminate state of the fixed Evo3 box.
enum class CheckState { kUnchecked, kChecked, kGrey };

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

class WizardView {
 public:
  virtual ~WizardView() = default;

  // The window.
  virtual void SetCaption(std::string_view caption) = 0;
  // Fills the window's fixed texts from the string table (LocalizeForm).
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

  // Page 1: optTask(0) .. optTask(4).
  virtual void SelectTaskOption(int task) = 0;
  virtual void SetTaskOptionEnabled(int task, bool enabled) = 0;
  virtual void SetTaskOptionVisible(int task, bool visible) = 0;

  // Page 2. The text boxes put the caret at the end of the text they are set to.
  virtual void SetCarIDText(std::string_view text) = 0;
  virtual void SetCarNameText(std::string_view text) = 0;
  virtual void SetCarGroups(std::span<const std::string_view> groups) = 0;
  virtual void SelectCarGroup(int index) = 0;
  virtual void SetPaintingsSlider(int value) = 0;
  // Opens the advanced-parameters window (btnAdvanced); the window disables
  // this one while it is open and reports OK through WizardModel::AcceptAdvanced.
  virtual void OpenAdvanced() = 0;

  // Pages 3 and 5: one check box of an array.
  virtual void SetCheckBox(CheckGroup group, int index, CheckState state, bool enabled) = 0;

  // Page 7: lstCarList (cleared, then filled in order, nothing selected) and chkSFX.
  virtual void SetCarList(std::span<const std::string> cars) = 0;
  virtual void SetSFXVisible(bool visible) = 0;

  // Page 4, for the operation runner: prgsAction (0 to 200) and lblAction, and a
  // repaint of the window before long work.
  virtual void SetProgress(double value) = 0;
  virtual void SetActionText(std::string_view text) = 0;
  virtual void RefreshWindow() = 0;

  // Dialogs. An error: OK button and error icon.
  virtual void ShowErrorBox(std::string_view title, std::string_view text) = 0;
  // A question with the question icon; true for OK or Yes.
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
