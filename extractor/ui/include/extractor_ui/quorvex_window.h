// Quorvex's window: the wizard frame with only its own pages 0 (game folder),
// 6 (ready) and 4 (progress), no car list and no SFX box. A thin Qt shell over
// QuorvexModel: user actions go to the model, the model shows everything
// through the frame, which is its frame view. Dialogs go through a WizardDialogs, which tests
// replace.
#pragma once

#include <memory>

#include "extractor/quorvex_model.h"
#include "ui/wizard_dialogs.h"
#include "ui/wizard_frame.h"

namespace quorvex::ui {

class QuorvexWindow : public wizard::ui::WizardFrame {
 public:
  QuorvexWindow(QuorvexOptions options, std::unique_ptr<wizard::ui::WizardDialogs> dialogs);
  ~QuorvexWindow() override;

  // The model's start-up: caption, page 0, texts, game folder.
  void Start();

  QuorvexModel& Model() { return *model_; }
  using WizardFrame::Busy;

  // The texts of Quorvex's pages; the rest of the frame view is the frame's.
  void LocalizeWindow(wizard::Language language) override;

 protected:
  void NavigationClicked(NavButton button) override;
  void BrowseClicked() override;
  bool CloseRequested() override;

 private:
  std::unique_ptr<QuorvexModel> model_;
};

}  // namespace quorvex::ui
