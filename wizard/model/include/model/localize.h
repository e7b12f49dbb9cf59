// Filling a window's fixed texts from the string table. A window's design
// holds string ids instead of texts: in a control's tag (optTask(3) has tag
// "306"), a tool tip, or a menu item's caption. LocalizeForm replaces each such
// id by its text. It works on a plain tree that mirrors the window, so any
// toolkit can gather its widgets into one, localize it and apply it back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/string_table.h"

namespace wizard {

enum class ControlKind {
  kMenuItem,  // its caption holds the id
  kTabStrip,  // items: the tabs (tag → caption, tool tip → tool tip)
  kToolBar,   // items: the buttons (tag → tool tip)
  kListView,  // items: the column headers (tag → caption)
  kOther,     // tag → caption, tool tip → tool tip
};

// A property the control lacks is nullopt: LocalizeForm neither reads nor
// writes it (as if the error of a missing property were ignored).

// A tab, a tool bar button or a column header.
struct ControlItem {
  std::optional<std::string> tag;
  std::optional<std::string> caption;
  std::optional<std::string> tool_tip;
};

struct FormControl {
  ControlKind kind = ControlKind::kOther;
  std::optional<std::string> tag;
  std::optional<std::string> caption;
  std::optional<std::string> tool_tip;
  std::vector<ControlItem> items;
  std::size_t handle = 0;  // the caller's own reference to the widget
};

struct FormWindow {
  std::optional<std::string> tag;
  std::optional<std::string> caption;
  std::vector<FormControl> controls;
};

// The text of an id; nullopt when the table has none (the property then stays).
using StringLookup = std::function<std::optional<std::string>(std::uint16_t)>;

// Returns the id a property holds: the whole text is a decimal number of 0 to
// 65535, blanks around it allowed; nullopt otherwise (empty text, letters,
// signs, fractions, numbers out of range).
std::optional<std::uint16_t> NumericId(std::string_view text);

// Replaces the ids in `window` and its controls by their texts: the window's
// caption from its tag, then every control by the rule of its kind. An id the
// table does not hold leaves its property as it was.
void LocalizeForm(FormWindow& window, const StringLookup& lookup);

// The same with the string table in `language`.
void LocalizeForm(FormWindow& window, Language language);

}  // namespace wizard
