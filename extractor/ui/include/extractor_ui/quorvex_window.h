// Quorvex's window: the wizard frame with only its own pages 0 (game folder),
// 6 (ready) and 4 (progress), no car list and no SFX box. A thin Qt shell over
// QuorvexModel: user actions go to the model, the model shows everything
// through the frame view. Dialogs go through a WizardDialogs, which tests
// replace.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "extractor/quorvex_model.h"
#include "ops/wizard_frame_view.h"
#include "ui/wizard_dialogs.h"
#include "ui/wizard_frame.h"

namespace quorvex::ui {

class QuorvexWindow : public wizard::ui::WizardFrame, public wizard::WizardFrameView {
 public:
  QuorvexWindow(QuorvexOptions options, std::unique_ptr<wizard::ui::WizardDialogs> dialogs);
  ~QuorvexWindow() override;

  // The model's start-up: caption, page 0, texts, game folder.
  void Start();

  QuorvexModel& Model() { return *model_; }
  using WizardFrame::Busy;

  // WizardFrameView.
  void SetCaption(std::string_view caption) override;
  void LocalizeWindow(wizard::Language language) override;
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
  std::optional<std::string> SaveFileDialog(const wizard::FileDialogRequest& request) override;
  std::optional<std::string> OpenFileDialog(const wizard::FileDialogRequest& request) override;

 protected:
  void NavigationClicked(NavButton button) override;
  void BrowseClicked() override;
  bool CloseRequested() override;

 private:
  std::unique_ptr<QuorvexModel> model_;
};

}  // namespace quorvex::ui
