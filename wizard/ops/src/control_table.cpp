// The control tables of the main and the advanced window.
#include "ops/control_table.h"

#include <algorithm>
#include <array>
#include <string>

#include "ops/wizard_frame_view.h"

namespace wizard {

namespace {

constexpr ControlString kWizardControls[] = {
    {kEveryPage, "cmdNav(0)", 100},
    {kEveryPage, "cmdNav(1)", 101},
    {kEveryPage, "cmdNav(2)", 102},
    {kEveryPage, "cmdNav(3)", 103},
    {kEveryPage, "cmdNav(4)", 104},
    {kPageGameFolder, "fraGameFolder", 203},
    {kPageGameFolder, "btnBrowse", 204},
    {kPageOperation, "optTask(0)", 303},
    {kPageOperation, "optTask(1)", 304},
    {kPageOperation, "optTask(2)", 305},
    {kPageOperation, "optTask(3)", 306},
    {kPageOperation, "optTask(4)", 307},
    {kPageCarParameters, "lblCarID", 403},
    {kPageCarParameters, "lblCarName", 404},
    {kPageCarParameters, "lblCarGroup", 405},
    {kPageCarParameters, "lblPaintings", 406},
    {kPageCarParameters, "btnGenerate", 407},
    {kPageCarParameters, "btnAdvanced", 408},
    {kPageParts, "fraParts", 510},
    {kPageParts, "chkParts(0)", 511},
    {kPageParts, "chkParts(1)", 512},
    {kPageParts, "chkParts(2)", 513},
    {kPageParts, "chkParts(3)", 514},
    {kPageParts, "chkParts(4)", 515},
    {kPageParts, "fraAnimParts", 520},
    {kPageParts, "chkAnimParts(0)", 521},
    {kPageParts, "chkAnimParts(1)", 522},
    {kPageReady, "lblInfo", 803},
    {kPageCarSelection, "chkSFX", 903},
};

// A control of each variant panel and its string.
struct PanelControl {
  std::string_view name;
  std::uint16_t id;
};

constexpr PanelControl kPanelControls[] = {
    {"chkEnabled", 11001},    {"lblCarName", 404},        {"lblCarGroup", 405},
    {"chkTurbo", 11002},      {"lblHeight", 11003},       {"lblLength", 11004},
    {"lblWidth", 11005},      {"lblProduction", 11006},   {"lblPower", 11007},
    {"lblTorque", 11008},     {"lblTorqueRPM", 11009},    {"lblWheelDrive", 11010},
    {"lblEngineType", 11011}, {"lblPainting", 11012},     {"lblBuyPrice", 11013},
    {"lblWeight", 11014},     {"lblDisplacement", 11015},
};
constexpr int kPanels = 5;

// The names "name(i)" live as long as the program: entries hold views of them.
struct AdvancedTable {
  std::vector<std::string> names;
  std::vector<ControlString> entries;

  AdvancedTable() {
    names.reserve(std::size(kPanelControls) * kPanels);
    for (const PanelControl& control : kPanelControls) {
      for (int i = 0; i < kPanels; ++i) {
        names.push_back(std::string(control.name) + "(" + std::to_string(i) + ")");
      }
    }
    entries.push_back({kEveryPage, "frmAdvanced", 408});
    std::size_t n = 0;
    for (const PanelControl& control : kPanelControls) {
      for (int i = 0; i < kPanels; ++i) entries.push_back({kEveryPage, names[n++], control.id});
    }
  }
};

}  // namespace

std::span<const ControlString> WizardControlStrings() {
  return kWizardControls;
}

std::vector<ControlString> PageControlStrings(int page) {
  std::vector<ControlString> out;
  for (const ControlString& entry : kWizardControls) {
    if (entry.page == kEveryPage) out.push_back(entry);
  }
  if (page < 0 || page >= kPageCount) return out;
  for (const ControlString& entry : kWizardControls) {
    if (entry.page == page) out.push_back(entry);
  }
  return out;
}

std::optional<std::uint16_t> WizardControlStringId(std::string_view control) {
  const auto it = std::find_if(std::begin(kWizardControls), std::end(kWizardControls),
                               [&](const ControlString& e) { return e.control == control; });
  if (it == std::end(kWizardControls)) return std::nullopt;
  return it->id;
}

std::span<const ControlString> AdvancedControlStrings() {
  static const AdvancedTable table;
  return table.entries;
}

std::string_view ControlText(const ControlString& entry, Language language) {
  return StringText(entry.id, language);
}

}  // namespace wizard
