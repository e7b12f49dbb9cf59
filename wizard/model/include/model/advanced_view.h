// The screen of the advanced window (frmAdvanced), seen from its model: the
// tab strip tbsOptions, the five panels picOptions(i) with their controls
// (every control an array indexed by the variant 0..4), OK and Cancel. The Qt
// window implements it; tests implement it with a recording fake.
//
// Texts are UTF-8. Calls that set a control must not call back into the model
// (the window blocks its change signals while the model sets a control).
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "base/string_table.h"

namespace wizard {

// The text boxes of a panel (cboEngineType is an editable list whose text is
// free, and counts here).
enum class AdvancedText {
  kCarName,     // txtCarName
  kProduction,  // txtProduction
  kPower,       // txtPower
  kTorque,      // txtTorque
  kTorqueRPM,   // txtTorqueRPM
  kHeight,      // txtHeight
  kLength,      // txtLength
  kWidth,       // txtWidth
  kBuyPrice,    // txtBuyPrice
  kWeight,      // txtWeight
  kEngineType,  // cboEngineType's text
};
inline constexpr int kAdvancedTextCount = 11;

// The drop-down lists of a panel.
enum class AdvancedList {
  kCarGroup,      // cboCarGroup
  kWheelDrive,    // cboWheelDrive
  kDisplacement,  // cboDisplacement
  kPainting,      // cboPainting
  kEngineType,    // cboEngineType's list
};

// The check boxes of a panel.
enum class AdvancedCheck { kEnabled, kTurbo };

class AdvancedView {
 public:
  virtual ~AdvancedView() = default;

  virtual void SetCaption(std::string_view caption) = 0;
  // Fills the window's labels from the string table (LocalizeForm).
  virtual void LocalizeWindow(Language language) = 0;
  // Centres the window on the screen.
  virtual void CentreOnScreen() = 0;
  // Enables or disables the wizard's main window.
  virtual void SetMainWindowEnabled(bool enabled) = 0;
  // Closes this window.
  virtual void CloseWindow() = 0;

  // The tab strip: a tab's caption and the selected tab (0..4).
  virtual void SetTabCaption(int tab, std::string_view caption) = 0;
  virtual void SelectTab(int tab) = 0;
  // picOptions(panel) visible and enabled, or hidden and disabled.
  virtual void SetPanelShown(int panel, bool shown) = 0;
  // fraCarParam(variant) visible and enabled, or hidden and disabled.
  virtual void SetFieldsShown(int variant, bool shown) = 0;

  virtual void SetCheck(int variant, AdvancedCheck check, bool checked) = 0;
  // Sets a text box and puts the caret at the end of the text.
  virtual void SetText(int variant, AdvancedText box, std::string_view text) = 0;
  virtual void SetToolTip(int variant, AdvancedText box, std::string_view text) = 0;
  // Fills a list (cleared first); then selects nothing.
  virtual void SetListItems(int variant, AdvancedList list, std::span<const std::string> items) = 0;
  // Selects entry `index` of a list; -1 selects nothing.
  virtual void SelectListItem(int variant, AdvancedList list, int index) = 0;
};

}  // namespace wizard
