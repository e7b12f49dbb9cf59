// The wizard model: handlers of the page controls and the painting check.
#include <string>

#include "base/code_page.h"
#include "base/game_folder.h"
#include "base/text_routines.h"
#include "model/wizard_model.h"

namespace wizard {

namespace {

// The number of characters of UTF-8 text (bytes that do not continue one).
std::size_t CharacterCount(std::string_view utf8) {
  std::size_t count = 0;
  for (const char c : utf8) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

std::int16_t WithBit(std::int16_t bits, int index, bool set) {
  const auto mask = static_cast<std::uint16_t>(1u << index);
  auto value = static_cast<std::uint16_t>(bits);
  value =
      set ? static_cast<std::uint16_t>(value | mask) : static_cast<std::uint16_t>(value & ~mask);
  return static_cast<std::int16_t>(value);
}

CheckState BitState(std::int16_t bits, int index) {
  return (static_cast<std::uint16_t>(bits) >> index) & 1u ? CheckState::kChecked
                                                          : CheckState::kUnchecked;
}

// Replaces every "%1" and "%2" of a question text.
std::string FillPlaceholders(std::string_view text, std::string_view first,
                             std::string_view second) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size() && (text[i + 1] == '1' || text[i + 1] == '2')) {
      out += text[i + 1] == '1' ? first : second;
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

void WizardModel::RefreshPartBoxes() {
  for (int i = 0; i < kPartCount; ++i) {
    view_.SetCheckBox(CheckGroup::kParts, i, BitState(state_.CarParts, i), true);
  }
}

void WizardModel::RefreshAnimPartBoxes() {
  for (int i = 0; i < kAnimPartCount; ++i) {
    view_.SetCheckBox(CheckGroup::kAnimParts, i, BitState(state_.CarAnimParts, i), true);
  }
}

void WizardModel::RefreshWheelBoxes() {
  for (int i = 0; i < kEvo3Wheel; ++i) {
    view_.SetCheckBox(CheckGroup::kWheels, i, BitState(state_.CarWheels, i), true);
  }
}

void WizardModel::RefreshTaskOption() {
  view_.SelectTaskOption(state_.Task);
}

void WizardModel::OnBrowseClick() {
  const std::string picked = view_.PickFolder(Text(kStrSelectGameFolder));
  if (picked.empty()) return;  // cancelled
  const std::string folder = AddBackslash(picked);
  if (CheckGameFolder(folder)) {
    state_.GameFolder = folder;
  } else {
    ShowError(Text(kStrNotGameFolder));
  }
  ShowGameFolder();
}

bool WizardModel::TaskSelectable(int task) const {
  if (task < 0 || task >= kTaskCount || task == kTaskEditCar) return false;
  if (car_options_disabled_ && (task == kTaskDeleteCar || task == kTaskCreatePackage)) {
    return false;
  }
  return true;
}

void WizardModel::OnTaskOptionSelect(int task) {
  if (!TaskSelectable(task)) {
    RefreshTaskOption();
    return;
  }
  state_.Task = static_cast<std::int16_t>(task);
}

void WizardModel::OnCarIDChange(std::string_view text) {
  if (CharacterCount(text) > kCarIDLength) {
    view_.SetCarIDText(state_.CarID);
    return;
  }
  std::string upper = ToUpperAscii(text);
  if (upper != text) view_.SetCarIDText(upper);
  state_.CarID = std::move(upper);
}

void WizardModel::OnGenerateClick() {
  state_.CarID = options_.random ? GenerateCarID(options_.random) : GenerateCarID();
  view_.SetCarIDText(state_.CarID);
}

void WizardModel::ShowCarName() {
  const std::optional<std::string> utf8 =
      CodePageToUtf8(variants_[0].Name, GameCodePage(options_.language));
  view_.SetCarNameText(utf8 ? *utf8 : std::string());
}

void WizardModel::OnCarNameChange(std::string_view text) {
  VariantText name = CheckVariantText(text, kMaxCarNameLength, GameCodePage(options_.language));
  if (name.problem != VariantTextProblem::kNone) {
    ShowCarName();
    return;
  }
  variants_[0].Name = std::move(name.bytes);
}

void WizardModel::OnCarGroupClick(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= kCarGroups.size()) {
    view_.SelectCarGroup(variants_[0].Group);
    return;
  }
  variants_[0].Group = index;
}

void WizardModel::OnPaintingsChange(int value) {
  if (in_painting_check_) return;  // the slider being set back
  if (value < kMinPaintings || value > kMaxPaintings) {
    view_.SetPaintingsSlider(state_.CarPaintingsCount);
    return;
  }
  in_painting_check_ = true;
  // Cancel returns to the count the slider had before this change. (Going back
  // to the count as it stands after the earlier variants were checked would
  // keep the lowered value and leave the variant wearing a painting the car
  // no longer has.)
  const std::int16_t previous_count = state_.CarPaintingsCount;
  slider_value_ = value;
  for (std::size_t i = 0; i < variants_.size(); ++i) {
    CarVariant& variant = variants_[i];
    if (variant.Painting > slider_value_) {
      const std::string question =
          FillPlaceholders(Text(kStrPaintingInUse), state_.CarID + std::to_string(i + 1),
                           std::to_string(variant.Painting));
      if (view_.AskQuestion(kProgramName, question, QuestionButtons::kOkCancel)) {
        state_.CarPaintingsCount = static_cast<std::int16_t>(slider_value_);
        variant.Painting = static_cast<std::int16_t>(slider_value_);
      } else {
        state_.CarPaintingsCount = previous_count;
        slider_value_ = previous_count;
        view_.SetPaintingsSlider(slider_value_);
      }
    } else {
      state_.CarPaintingsCount = static_cast<std::int16_t>(slider_value_);
    }
  }
  in_painting_check_ = false;
}

void WizardModel::OnAdvancedClick() {
  view_.OpenAdvanced();
}

void WizardModel::AcceptAdvanced(const CarVariants& variants) {
  variants_ = variants;
  ShowCarName();
  view_.SelectCarGroup(variants_[0].Group);
}

void WizardModel::OnPartClick(int index, bool checked) {
  if (index < 0 || index >= kPartCount) return;
  state_.CarParts = WithBit(state_.CarParts, index, checked);
}

void WizardModel::OnAnimPartClick(int index, bool checked) {
  if (index < 0 || index >= kAnimPartCount) return;
  state_.CarAnimParts = WithBit(state_.CarAnimParts, index, checked);
}

void WizardModel::OnWheelClick(int index, bool checked) {
  if (index == kEvo3Wheel) {
    view_.SetCheckBox(CheckGroup::kWheels, kEvo3Wheel, CheckState::kGrey, false);
    return;
  }
  if (index < 0 || index >= kWheelTypeCount) return;
  state_.CarWheels = WithBit(state_.CarWheels, index, checked);
}

void WizardModel::OnCarListClick(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= state_.CustomCars.size()) return;
  state_.SelectedCar = index;
  if (state_.Step == kPageCarSelection) SetNavButton(NavButton::kNext, true);
}

void WizardModel::OnSFXClick(bool checked) {
  state_.MakeSFX = checked;
}

}  // namespace wizard
