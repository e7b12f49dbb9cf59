// Which control of a wizard window carries which string id. A window
// localises itself from these tables (each named control takes the text of
// its id in the model's language) instead of holding the ids in its design.
// Controls are named as in the wizard's design, one entry per element of an
// array: "optTask(3)", "cmdNav(0)". Titles are not here: the model sets
// lblTitle, lblSubTitle and the description line of each page it shows.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "base/string_table.h"

namespace wizard {

// The page of the controls that every page shows (the navigation buttons).
inline constexpr int kEveryPage = -1;

struct ControlString {
  int page;                  // 0..7, or kEveryPage
  std::string_view control;  // the control's name
  std::uint16_t id;          // the string id of its caption
};

// Every control of Carwright's main window that carries a string, by page.
// Quorvex's window uses the entries of its pages (0, 4, 6 and 7 without
// chkSFX).
std::span<const ControlString> WizardControlStrings();

// The entries of page `page`: those of every page first, then the page's own.
// Pages outside 0..7 have only the former.
std::vector<ControlString> PageControlStrings(int page);

// The id that control `control` of the main window carries; nullopt for a
// control without one.
std::optional<std::uint16_t> WizardControlStringId(std::string_view control);

// The advanced window: "frmAdvanced" (its caption) and the labels and check
// boxes of the five variant panels, index 0..4 ("lblPower(2)", "chkTurbo(4)").
// Each entry's page is kEveryPage.
std::span<const ControlString> AdvancedControlStrings();

// The text of `entry` in `language`.
std::string_view ControlText(const ControlString& entry, Language language);

}  // namespace wizard
