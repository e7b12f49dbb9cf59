// The frame of a wizard window, in Qt: the header with the page's title,
// subtitle and the logo, the description line, the stack of the eight pages
// (fraStep(0) .. fraStep(7)), and the navigation buttons cmdNav(0) .. cmdNav(4);
// with the pages every wizard shares (0 the game folder, 4 the progress of a
// run, 6 ready), the dialogs, and the busy state of a run. It is the model's
// WizardFrameView; Carwright's frmMain and Quorvex's window put their own
// pages into it and add their texts (LocalizeWindow) and button handlers.
#pragma once

#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "ops/wizard_frame_view.h"
#include "ui/wizard_dialogs.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QStackedWidget;

namespace wizard::ui {

inline constexpr int kWizardPageCount = 8;

class WizardFrame : public QWidget, public virtual WizardFrameView {
 public:
  explicit WizardFrame(std::unique_ptr<WizardDialogs> dialogs, QWidget* parent = nullptr);
  ~WizardFrame() override;

  // Puts the window's own page into slot `index` (1, 2, 3, 5 or 7; the frame
  // owns pages 0, 4 and 6).
  void SetPage(int index, QWidget* page);

  // True from the progress page's showing until the Next click that started
  // the run has returned: closing and navigation are refused meanwhile.
  bool Busy() const { return busy_; }

  // WizardFrameView, but for LocalizeWindow. A page whose slot the window
  // left empty is never shown.
  void SetCaption(std::string_view caption) override;
  // Closes the window without asking (Finish, a confirmed close).
  void EndProgram() override;
  void SwitchPage(int hidden_page, int shown_page) override;
  void SetTitles(std::string_view title, std::string_view subtitle,
                 std::string_view description) override;
  void SetNavButtonEnabled(NavButton button, bool enabled) override;
  void SetNavButtonVisible(NavButton button, bool visible) override;
  void SetGameFolderLabel(std::string_view text) override;
  void SetProgress(double value) override;
  void SetActionText(std::string_view text) override;
  void RefreshWindow() override;
  void ShowErrorBox(std::string_view title, std::string_view text) override;
  bool AskQuestion(std::string_view title, std::string_view text, QuestionButtons buttons) override;
  std::string PickFolder(std::string_view title) override;
  std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override;
  std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override;

 protected:
  // A navigation button or btnBrowse was clicked (never while busy).
  virtual void NavigationClicked(NavButton button) = 0;
  virtual void BrowseClicked() = 0;
  // The window is to close (its close box, or close()): true to let it.
  virtual bool CloseRequested() = 0;

  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* BuildHeader();
  QWidget* BuildGameFolderPage();
  QWidget* BuildProgressPage();
  QWidget* BuildReadyPage();
  void Navigate(NavButton button);
  void KeepPainted();

  std::unique_ptr<WizardDialogs> dialogs_;
  bool busy_ = false;
  bool ended_ = false;
  QLabel* title_ = nullptr;
  QLabel* subtitle_ = nullptr;
  QLabel* description_ = nullptr;
  QStackedWidget* pages_ = nullptr;
  std::array<QWidget*, kWizardPageCount> slots_{};
  std::array<QPushButton*, kNavButtonCount> nav_{};
  QLabel* game_folder_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* action_ = nullptr;
};

// Hands a navigation button's click to the model's handler of that button
// (OnHelpClick, OnCancelClick, OnBackClick, OnNextClick, OnFinishClick). A
// model without OnHelpClick has no help, and its Help button stays hidden.
template <class Model>
void ClickNavButton(Model& model, NavButton button) {
  switch (button) {
    case NavButton::kHelp:
      if constexpr (requires { model.OnHelpClick(); }) model.OnHelpClick();
      return;
    case NavButton::kCancel:
      model.OnCancelClick();
      return;
    case NavButton::kBack:
      model.OnBackClick();
      return;
    case NavButton::kNext:
      model.OnNextClick();
      return;
    case NavButton::kFinish:
      model.OnFinishClick();
      return;
  }
}

}  // namespace wizard::ui
