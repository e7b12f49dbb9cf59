// Quorvex's window around its model, and the model's view.
#include "extractor_ui/quorvex_window.h"

#include <vector>

#include "ops/control_table.h"
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
  wizard::ui::ClickNavButton(*model_, button);
}

void QuorvexWindow::BrowseClicked() {
  model_->OnBrowseClick();
}

bool QuorvexWindow::CloseRequested() {
  return model_->OnCloseRequest();
}

void QuorvexWindow::LocalizeWindow(wizard::Language language) {
  wizard::ui::LocalizeWindow(*this, QuorvexControlStrings(), language);
}

}  // namespace quorvex::ui
