// The advanced window's model: start-up, tabs, and the handlers of the panels.
#include "model/advanced_model.h"

#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "base/code_page.h"
#include "base/text_routines.h"
#include "model/numeric_text.h"

namespace wizard {

namespace {

constexpr AdvancedText kAllTexts[] = {
    AdvancedText::kCarName, AdvancedText::kProduction, AdvancedText::kPower,
    AdvancedText::kTorque,  AdvancedText::kTorqueRPM,  AdvancedText::kHeight,
    AdvancedText::kLength,  AdvancedText::kWidth,      AdvancedText::kBuyPrice,
    AdvancedText::kWeight,  AdvancedText::kEngineType};

// The number of characters of UTF-8 text (bytes that do not continue one).
std::size_t CharacterCount(std::string_view utf8) {
  std::size_t count = 0;
  for (const char c : utf8) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

bool IsWordBox(AdvancedText box) {
  return box == AdvancedText::kCarName || box == AdvancedText::kProduction ||
         box == AdvancedText::kEngineType;
}

// The field behind a box; const for a const record.
template <typename Record>
auto WordField(Record& record, AdvancedText box) -> decltype(&record.Name) {
  switch (box) {
    case AdvancedText::kCarName:
      return &record.Name;
    case AdvancedText::kProduction:
      return &record.Production;
    case AdvancedText::kEngineType:
      return &record.EngineType;
    default:
      return nullptr;
  }
}

template <typename Record>
auto ShortField(Record& record, AdvancedText box) -> decltype(&record.Power) {
  switch (box) {
    case AdvancedText::kPower:
      return &record.Power;
    case AdvancedText::kTorque:
      return &record.Torque;
    case AdvancedText::kTorqueRPM:
      return &record.TorqueRPM;
    case AdvancedText::kHeight:
      return &record.Height;
    case AdvancedText::kLength:
      return &record.Length;
    case AdvancedText::kWidth:
      return &record.Width;
    case AdvancedText::kWeight:
      return &record.Weight;
    default:
      return nullptr;
  }
}

// The whole number a number box may take: numeric in the user's locale, and
// fitting the field it goes to.
std::optional<std::int64_t> FieldNumber(AdvancedText box, std::string_view text, char separator) {
  if (!IsNumericText(text, separator)) return std::nullopt;
  if (box == AdvancedText::kBuyPrice) {
    return ReadWholeNumber(text, std::numeric_limits<std::int32_t>::min(),
                           std::numeric_limits<std::int32_t>::max());
  }
  return ReadWholeNumber(text, std::numeric_limits<std::int16_t>::min(),
                         std::numeric_limits<std::int16_t>::max());
}

std::vector<std::string> NumberTexts(int first, int last) {
  std::vector<std::string> texts;
  for (int n = first; n <= last; ++n) texts.push_back(std::to_string(n));
  return texts;
}

template <typename Texts>
std::vector<std::string> Strings(const Texts& texts) {
  return std::vector<std::string>(std::begin(texts), std::end(texts));
}

}  // namespace

int AdvancedTextLimit(AdvancedText box) {
  switch (box) {
    case AdvancedText::kCarName:
      return 20;
    case AdvancedText::kProduction:
      return 12;
    case AdvancedText::kPower:
    case AdvancedText::kTorque:
      return 3;
    case AdvancedText::kWeight:
    case AdvancedText::kTorqueRPM:
    case AdvancedText::kHeight:
    case AdvancedText::kLength:
    case AdvancedText::kWidth:
      return 4;
    case AdvancedText::kBuyPrice:
      return 6;
    case AdvancedText::kEngineType:
      return 0;
  }
  return 0;
}

bool AdvancedTextRightAligned(AdvancedText box) {
  return !IsWordBox(box);
}

AdvancedModel::AdvancedModel(AdvancedView& view, AdvancedOptions options)
    : view_(view), options_(options) {}

bool AdvancedModel::ValidIndex(int variant) {
  return variant >= 0 && variant < static_cast<int>(kCarVariantCount);
}

std::string AdvancedModel::FieldText(const CarVariant& record, AdvancedText box) const {
  if (const std::string* word = WordField(record, box)) {
    std::optional<std::string> utf8 = CodePageToUtf8(*word, GameCodePage(options_.language));
    return utf8 ? *utf8 : std::string();
  }
  if (box == AdvancedText::kBuyPrice) return std::to_string(record.BuyPrice);
  if (const std::int16_t* number = ShortField(record, box)) return std::to_string(*number);
  return {};
}

void AdvancedModel::ShowText(int variant, AdvancedText box) {
  view_.SetText(variant, box, FieldText(working_[static_cast<std::size_t>(variant)], box));
}

void AdvancedModel::Open(const CarVariants& variants, std::string_view car_id, int paintings_count,
                         AcceptVariants accept) {
  loaded_ = false;
  view_.LocalizeWindow(options_.language);
  working_ = variants;
  accept_ = std::move(accept);
  paintings_count_ = paintings_count < 1 ? 1 : paintings_count;
  view_.SetCaption(StringText(kStrAdvanced, options_.language));
  view_.CentreOnScreen();
  view_.SetMainWindowEnabled(false);
  for (int tab = 0; tab < kAdvancedTabCount; ++tab) {
    view_.SetTabCaption(tab, std::string(car_id) + std::to_string(tab + 1));
  }
  for (int i = 0; i < static_cast<int>(kCarVariantCount); ++i) ShowVariant(i);
  selected_tab_ = 0;
  view_.SelectTab(0);
  OnTabClick(0);
  loaded_ = true;
}

void AdvancedModel::ShowVariant(int variant) {
  const CarVariant& record = working_[static_cast<std::size_t>(variant)];
  view_.SetListItems(variant, AdvancedList::kCarGroup, Strings(kCarGroups));
  view_.SetListItems(variant, AdvancedList::kPainting, NumberTexts(1, paintings_count_));
  view_.SetListItems(variant, AdvancedList::kWheelDrive, Strings(kWheelDriveTexts));
  view_.SetListItems(variant, AdvancedList::kEngineType, Strings(kEngineTypeChoices));
  std::vector<std::string> classes;
  for (const int ccm : kDisplacementCcm) classes.push_back(std::to_string(ccm));
  view_.SetListItems(variant, AdvancedList::kDisplacement, classes);

  view_.SetCheck(variant, AdvancedCheck::kEnabled, record.Enabled);
  view_.SetFieldsShown(variant, record.Enabled);
  view_.SetCheck(variant, AdvancedCheck::kTurbo, record.Turbo);
  view_.SelectListItem(variant, AdvancedList::kCarGroup, record.Group);
  for (const AdvancedText box : kAllTexts) ShowText(variant, box);
  view_.SetToolTip(variant, AdvancedText::kPower,
                   std::to_string(kMinPower) + " - " + std::to_string(kMaxPower));
  view_.SetToolTip(variant, AdvancedText::kWeight,
                   std::to_string(kMinWeight) + " - " + std::to_string(kMaxWeight));
  view_.SelectListItem(variant, AdvancedList::kWheelDrive, record.WheelDrive);
  view_.SelectListItem(variant, AdvancedList::kPainting, record.Painting - 1);
  view_.SelectListItem(variant, AdvancedList::kDisplacement, record.Displacement);
}

void AdvancedModel::ShowGroupFields(int variant) {
  const CarVariant& record = working_[static_cast<std::size_t>(variant)];
  for (const AdvancedText box :
       {AdvancedText::kHeight, AdvancedText::kLength, AdvancedText::kWidth, AdvancedText::kPower,
        AdvancedText::kTorque, AdvancedText::kTorqueRPM}) {
    ShowText(variant, box);
  }
  view_.SelectListItem(variant, AdvancedList::kWheelDrive, record.WheelDrive);
  ShowText(variant, AdvancedText::kEngineType);
  ShowText(variant, AdvancedText::kBuyPrice);
  ShowText(variant, AdvancedText::kWeight);
  view_.SelectListItem(variant, AdvancedList::kDisplacement, record.Displacement);
  ShowText(variant, AdvancedText::kProduction);
  view_.SelectListItem(variant, AdvancedList::kPainting, record.Painting - 1);
  view_.SetCheck(variant, AdvancedCheck::kTurbo, false);
}

void AdvancedModel::OnTabClick(int tab) {
  if (tab < 0 || tab >= kAdvancedTabCount) return;
  selected_tab_ = tab;
  for (int panel = 0; panel < kAdvancedTabCount; ++panel) {
    view_.SetPanelShown(panel, panel == tab);
  }
}

void AdvancedModel::OnCtrlTab() {
  const int next = (selected_tab_ + 1) % kAdvancedTabCount;
  view_.SelectTab(next);
  OnTabClick(next);
}

void AdvancedModel::OnEnabledClick(int variant, bool checked) {
  if (!ValidIndex(variant)) return;
  view_.SetFieldsShown(variant, checked);
  working_[static_cast<std::size_t>(variant)].Enabled = checked;
}

void AdvancedModel::OnTurboClick(int variant, bool checked) {
  if (!ValidIndex(variant)) return;
  working_[static_cast<std::size_t>(variant)].Turbo = checked;
}

void AdvancedModel::OnCarGroupClick(int variant, int index) {
  if (!ValidIndex(variant)) return;
  CarVariant& record = working_[static_cast<std::size_t>(variant)];
  if (index < 0 || index >= static_cast<int>(kCarGroups.size())) {
    view_.SelectListItem(variant, AdvancedList::kCarGroup, record.Group);
    return;
  }
  record.Group = index;
  if (!loaded_) return;  // start-up filling the list
  InitCarParams(record, index);
  ShowGroupFields(variant);
}

void AdvancedModel::OnWheelDriveClick(int variant, int index) {
  if (!ValidIndex(variant)) return;
  CarVariant& record = working_[static_cast<std::size_t>(variant)];
  if (index < 0 || index >= static_cast<int>(kWheelDriveTexts.size())) {
    view_.SelectListItem(variant, AdvancedList::kWheelDrive, record.WheelDrive);
    return;
  }
  record.WheelDrive = index;
}

void AdvancedModel::OnDisplacementClick(int variant, int index) {
  if (!ValidIndex(variant)) return;
  CarVariant& record = working_[static_cast<std::size_t>(variant)];
  if (index < 0 || index >= static_cast<int>(kDisplacementCcm.size())) {
    view_.SelectListItem(variant, AdvancedList::kDisplacement, record.Displacement);
    return;
  }
  record.Displacement = index;
}

void AdvancedModel::OnPaintingClick(int variant, int index) {
  if (!ValidIndex(variant)) return;
  CarVariant& record = working_[static_cast<std::size_t>(variant)];
  if (index < 0 || index >= paintings_count_) {
    view_.SelectListItem(variant, AdvancedList::kPainting, record.Painting - 1);
    return;
  }
  record.Painting = static_cast<std::int16_t>(index + 1);
}

bool AdvancedModel::StoreText(CarVariant& record, AdvancedText box, std::string_view text) {
  const int limit = AdvancedTextLimit(box);
  if (limit > 0 && CharacterCount(text) > static_cast<std::size_t>(limit)) return false;
  if (std::string* word = WordField(record, box)) {
    const std::optional<std::string> bytes = Utf8ToCodePage(text, GameCodePage(options_.language));
    if (!bytes || ContainsAnyOf(kForbiddenTextChars, *bytes)) return false;
    *word = *bytes;
    return true;
  }
  const std::optional<std::int64_t> number = FieldNumber(box, text, options_.decimal_separator);
  if (!number) return false;
  // Power and weight are stored when their box is left, after the clamp.
  if (box == AdvancedText::kPower || box == AdvancedText::kWeight) return true;
  if (box == AdvancedText::kBuyPrice) {
    record.BuyPrice = static_cast<std::int32_t>(*number);
  } else if (std::int16_t* field = ShortField(record, box)) {
    *field = static_cast<std::int16_t>(*number);
  }
  return true;
}

void AdvancedModel::OnTextChange(int variant, AdvancedText box, std::string_view text) {
  if (!ValidIndex(variant)) return;
  if (!StoreText(working_[static_cast<std::size_t>(variant)], box, text)) ShowText(variant, box);
}

void AdvancedModel::OnTextValidate(int variant, AdvancedText box, std::string_view text) {
  if (!ValidIndex(variant)) return;
  if (box != AdvancedText::kPower && box != AdvancedText::kWeight) return;
  CarVariant& record = working_[static_cast<std::size_t>(variant)];
  if (!FieldNumber(box, text, options_.decimal_separator)) {
    ShowText(variant, box);
    return;
  }
  const bool power = box == AdvancedText::kPower;
  const int low = power ? kMinPower : kMinWeight;
  const int high = power ? kMaxPower : kMaxWeight;
  const double number = ReadLeadingNumber(text).value_or(0.0);
  std::string shown(text);
  if (number < low) {
    shown = std::to_string(low);
    view_.SetText(variant, box, shown);
  } else if (number > high) {
    shown = std::to_string(high);
    view_.SetText(variant, box, shown);
  }
  // Within [low, high] now, and so is its rounded value.
  const std::optional<std::int64_t> value = ReadWholeNumber(shown, low, high);
  (power ? record.Power : record.Weight) = static_cast<std::int16_t>(value.value_or(low));
}

void AdvancedModel::Close() {
  view_.SetMainWindowEnabled(true);
  view_.CloseWindow();
  loaded_ = false;
}

void AdvancedModel::OnOK() {
  Close();
  if (accept_) accept_(working_);
}

void AdvancedModel::OnCancel() {
  Close();
}

}  // namespace wizard
