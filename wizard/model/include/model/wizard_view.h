// The screen of Carwright's wizard, seen from its model: the controls of
// Carwright's own pages (the operations, the car's ID, name, group and
// paintings, the check boxes, the car list and the SFX box) on top of the
// wizard frame (wizard_frame_view.h), which brings the pages, navigation,
// dialogs and the progress page. The Qt window implements it, taking the frame
// view from its shared frame widget (hence the virtual base); tests implement
// it with a scripted fake.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "ops/wizard_frame_view.h"

namespace wizard {

// The arrays of check boxes: chkParts, chkAnimParts, chkWheels.
enum class CheckGroup { kParts, kAnimParts, kWheels };

// A check box's state; kGrey is the indeterminate state of the fixed Evo3 box.
enum class CheckState { kUnchecked, kChecked, kGrey };

class WizardView : public virtual WizardFrameView {
 public:
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
};

}  // namespace wizard
