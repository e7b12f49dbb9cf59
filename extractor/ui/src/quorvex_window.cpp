// Quorvex's window around its model, and the model's view.
#include "extractor_ui/quorvex_window.h"

#include <vector>

#include "model/control_table.h"
#include "ui/control_texts.h"

namespace quorvex::ui {

namespace {

// The controls of Quorvex's pages that carry a string: those of every page
// and of pages 0, 4 and 6. The car list of page 7 and its chkSFX are not part
// of this window.
std::vector<wizard::ControlString> QuorvexControlStrings() {
  std::vector<wizard::ControlString> table = wizard::PageControlStrings(kPageGameFolder);
  for (const int page : {kPageProgress, kPageReady}) {
    for (const wizard::ControlString& entry : wizard::PageControlStrings(page)) {
      if (entry.page == page) table.push_back(entry);
    }
  }
  return table;
}

}  // namespace

QuorvexWindow::QuorvexWindow(QuorvexOptions options,
                             std::unique_ptr<wizard::ui::WizardDialogs> dialogs)
    : WizardFrame(std::move(dialogs)) {
  setObjectName("frmMain");
  model_ = std::make_unique<QuorvexModel>(*this, std::move(options));
}

QuorvexWindow::~QuorvexWindow() = default;

void QuorvexWindow::Start() {
  model_->Start();
}

void QuorvexWindow::NavigationClicked(NavButton button) {
  switch (button) {
    case NavButton::kHelp:
      return;  // Quorvex has no help; its Help button stays hidden
    case NavButton::kCancel:
      model_->OnCancelClick();
      return;
    case NavButton::kBack:
      model_->OnBackClick();
      return;
    case NavButton::kNext:
      model_->OnNextClick();
      return;
    case NavButton::kFinish:
      model_->OnFinishClick();
      return;
  }
}

void QuorvexWindow::BrowseClicked() {
  model_->OnBrowseClick();
}

bool QuorvexWindow::CloseRequested() {
  return model_->OnCloseRequest();
}

void QuorvexWindow::SetCaption(std::string_view caption) {
  WizardFrame::SetCaption(caption);
}

void QuorvexWindow::LocalizeWindow(wizard::Language language) {
  wizard::ui::LocalizeWindow(*this, QuorvexControlStrings(), language);
}

void QuorvexWindow::EndProgram() {
  EndWindow();
}

void QuorvexWindow::SwitchPage(int /*hidden_page*/, int shown_page) {
  if (shown_page != kPageGameFolder && shown_page != kPageProgress && shown_page != kPageReady) {
    return;  // the window has no other pages
  }
  WizardFrame::SwitchPage(shown_page);
}

void QuorvexWindow::SetTitles(std::string_view title, std::string_view subtitle,
                              std::string_view description) {
  WizardFrame::SetTitles(title, subtitle, description);
}

void QuorvexWindow::SetNavButtonEnabled(NavButton button, bool enabled) {
  WizardFrame::SetNavButtonEnabled(button, enabled);
}

void QuorvexWindow::SetNavButtonVisible(NavButton button, bool visible) {
  WizardFrame::SetNavButtonVisible(button, visible);
}

void QuorvexWindow::SetGameFolderLabel(std::string_view text) {
  WizardFrame::SetGameFolderLabel(text);
}

void QuorvexWindow::SetProgress(double value) {
  WizardFrame::SetProgress(value);
}

void QuorvexWindow::SetActionText(std::string_view text) {
  WizardFrame::SetActionText(text);
}

void QuorvexWindow::RefreshWindow() {
  WizardFrame::RefreshWindow();
}

void QuorvexWindow::ShowErrorBox(std::string_view title, std::string_view text) {
  WizardFrame::ShowErrorBox(title, text);
}

bool QuorvexWindow::AskQuestion(std::string_view title, std::string_view text,
                                QuestionButtons buttons) {
  return WizardFrame::AskQuestion(title, text, buttons);
}

std::string QuorvexWindow::PickFolder(std::string_view title) {
  return WizardFrame::PickFolder(title);
}

std::optional<std::string> QuorvexWindow::SaveFileDialog(const wizard::FileDialogRequest& request) {
  return WizardFrame::SaveFileDialog(request);
}

std::optional<std::string> QuorvexWindow::OpenFileDialog(const wizard::FileDialogRequest& request) {
  return WizardFrame::OpenFileDialog(request);
}

}  // namespace quorvex::ui
