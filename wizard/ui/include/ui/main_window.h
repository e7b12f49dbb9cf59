// frmMain, Carwright's wizard window: Carwright's pages (the operation, the
// car's parameters, parts, wheels, the car list) in the wizard frame. A thin
// Qt shell over WizardModel: user actions go to the model, the model shows
// everything through WizardView. Dialogs go through a WizardDialogs, which
// tests replace.
#pragma once

#include <array>
#include <memory>

#include "model/ops_wiring.h"
#include "model/wizard_model.h"
#include "model/wizard_view.h"
#include "ui/wizard_dialogs.h"
#include "ui/wizard_frame.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QSlider;

namespace wizard::ui {

class frmAdvanced;

class frmMain : public WizardFrame, public WizardView {
 public:
  frmMain(WizardOptions options, std::unique_ptr<WizardDialogs> dialogs,
          RunServices services = DefaultRunServices());
  ~frmMain() override;

  // The model's start-up: caption, page 0, texts, game folder, ID, variants.
  void Start();

  WizardModel& Model() { return *model_; }
  // The advanced window, once it was opened; null before.
  frmAdvanced* AdvancedWindow() { return advanced_.get(); }
  using WizardFrame::Busy;

  // WizardView, over the frame's WizardFrameView.
  void LocalizeWindow(Language language) override;
  // Hides the advanced window too.
  void EndProgram() override;
  void SelectTaskOption(int task) override;
  void SetTaskOptionEnabled(int task, bool enabled) override;
  void SetTaskOptionVisible(int task, bool visible) override;
  void SetCarIDText(std::string_view text) override;
  void SetCarNameText(std::string_view text) override;
  void SetCarGroups(std::span<const std::string_view> groups) override;
  void SelectCarGroup(int index) override;
  void SetPaintingsSlider(int value) override;
  void OpenAdvanced() override;
  void SetCheckBox(CheckGroup group, int index, CheckState state, bool enabled) override;
  void SetCarList(std::span<const std::string> cars) override;
  void SetSFXVisible(bool visible) override;

 protected:
  void NavigationClicked(NavButton button) override;
  void BrowseClicked() override;
  bool CloseRequested() override;

 private:
  QWidget* BuildOperationPage();
  QWidget* BuildCarParametersPage();
  QWidget* BuildPartsPage();
  QWidget* BuildWheelsPage();
  QWidget* BuildCarSelectionPage();
  QCheckBox* Box(CheckGroup group, int index) const;

  WizardOptions options_;
  OpsOperationLauncher launcher_;
  DevuzaHeaderSource packages_;
  std::unique_ptr<WizardModel> model_;
  std::unique_ptr<frmAdvanced> advanced_;

  std::array<QRadioButton*, kTaskCount> tasks_{};
  QButtonGroup* task_group_ = nullptr;
  QLineEdit* car_id_ = nullptr;
  QLineEdit* car_name_ = nullptr;
  QComboBox* car_group_ = nullptr;
  QSlider* paintings_ = nullptr;
  QLabel* paintings_value_ = nullptr;
  std::array<QCheckBox*, kPartCount> parts_{};
  std::array<QCheckBox*, kAnimPartCount> anim_parts_{};
  std::array<QCheckBox*, kWheelTypeCount> wheels_{};
  QListWidget* car_list_ = nullptr;
  QCheckBox* sfx_ = nullptr;
};

}  // namespace wizard::ui
