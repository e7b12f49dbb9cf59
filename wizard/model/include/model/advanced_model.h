// The advanced window (frmAdvanced) without a screen: the working copy of the
// five car variants that the window edits, the loaded flag, and the handler
// of every control. OK hands the working copy back, Cancel drops it. Rejected
// input is never reported: the control returns silently to the last accepted
// value.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/string_table.h"
#include "model/advanced_view.h"
#include "ops/car_variants.h"

namespace wizard {

inline constexpr int kAdvancedTabCount = 5;
inline constexpr std::uint16_t kStrAdvanced = 408;  // the window's caption

// Power and weight are clamped into these ranges when their box is left.
inline constexpr int kMinPower = 30;
inline constexpr int kMaxPower = 700;
inline constexpr int kMinWeight = 700;
inline constexpr int kMaxWeight = 1600;

// The most characters a text box takes; 0 for no limit (cboEngineType).
int AdvancedTextLimit(AdvancedText box);
// True for the boxes aligned to the right (the numbers).
bool AdvancedTextRightAligned(AdvancedText box);

// The engine types the editable list offers.
inline constexpr std::string_view kEngineTypeChoices[] = {"DOHC/4", "SOHC/2"};

struct AdvancedOptions {
  Language language = DetectUserLanguage();
  // The user's decimal separator for the numeric test (the locale's).
  char decimal_separator = '.';
};

class AdvancedModel {
 public:
  // Called by OK with the five working records.
  using AcceptVariants = std::function<void(const CarVariants&)>;

  explicit AdvancedModel(AdvancedView& view, AdvancedOptions options = {});

  // The start-up: texts, the working copy of `variants`, caption, centring, the
  // main window disabled, the tab captions `car_id` + 1 .. 5, every control
  // filled from its record (paintings 1 .. `paintings_count`), the first tab
  // shown; then the loaded flag is set. `accept` receives the records on OK.
  void Open(const CarVariants& variants, std::string_view car_id, int paintings_count,
            AcceptVariants accept);

  // The tab strip: `tab` (0..4) was selected; its panel alone is shown.
  void OnTabClick(int tab);
  // Ctrl+Tab anywhere in the window: the next tab, after the last the first.
  void OnCtrlTab();

  void OnEnabledClick(int variant, bool checked);
  void OnTurboClick(int variant, bool checked);
  // The group list: the group is recorded; once loaded, the variant is reset
  // to the group's defaults (name and enabled state kept) and shown again.
  void OnCarGroupClick(int variant, int index);
  void OnWheelDriveClick(int variant, int index);
  void OnDisplacementClick(int variant, int index);
  void OnPaintingClick(int variant, int index);
  // A text box changed to `text` (UTF-8).
  void OnTextChange(int variant, AdvancedText box, std::string_view text);
  // The focus leaves a text box holding `text`: power and weight are clamped
  // into their ranges and stored. Other boxes ignore it.
  void OnTextValidate(int variant, AdvancedText box, std::string_view text);

  // OK: the main window enabled, this one closed, the loaded flag cleared, the
  // records handed to the accept function.
  void OnOK();
  // Cancel, and any other way of closing the window: the same without the
  // records.
  void OnCancel();

  const CarVariants& Working() const { return working_; }
  bool Loaded() const { return loaded_; }
  int SelectedTab() const { return selected_tab_; }

 private:
  void ShowVariant(int variant);
  void ShowGroupFields(int variant);
  void ShowText(int variant, AdvancedText box);
  std::string FieldText(const CarVariant& record, AdvancedText box) const;
  bool StoreText(CarVariant& record, AdvancedText box, std::string_view text);
  void Close();
  static bool ValidIndex(int variant);

  AdvancedView& view_;
  AdvancedOptions options_;
  CarVariants working_{};
  AcceptVariants accept_;
  int paintings_count_ = 1;
  int selected_tab_ = 0;
  bool loaded_ = false;
};

}  // namespace wizard
