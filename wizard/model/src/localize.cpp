// LocalizeForm over a tree of controls.
#include "model/localize.h"

#include <limits>

namespace wizard {

namespace {

// Sets `target` to the text of the id held in `source`, when the control has
// both properties, the source holds an id and the table has its text.
void ReplaceById(const std::optional<std::string>& source, std::optional<std::string>& target,
                 const StringLookup& lookup) {
  if (!source || !target) return;
  const std::optional<std::uint16_t> id = NumericId(*source);
  if (!id) return;
  if (std::optional<std::string> text = lookup(*id)) target = std::move(*text);
}

void LocalizeControl(FormControl& control, const StringLookup& lookup) {
  switch (control.kind) {
    case ControlKind::kMenuItem:
      ReplaceById(std::optional<std::string>(control.caption), control.caption, lookup);
      return;
    case ControlKind::kTabStrip:
      for (ControlItem& tab : control.items) {
        ReplaceById(tab.tag, tab.caption, lookup);
        ReplaceById(std::optional<std::string>(tab.tool_tip), tab.tool_tip, lookup);
      }
      return;
    case ControlKind::kToolBar:
      for (ControlItem& button : control.items) ReplaceById(button.tag, button.tool_tip, lookup);
      return;
    case ControlKind::kListView:
      for (ControlItem& header : control.items) ReplaceById(header.tag, header.caption, lookup);
      return;
    case ControlKind::kOther:
      ReplaceById(control.tag, control.caption, lookup);
      ReplaceById(std::optional<std::string>(control.tool_tip), control.tool_tip, lookup);
      return;
  }
}

}  // namespace

std::optional<std::uint16_t> NumericId(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  if (begin == end) return std::nullopt;
  unsigned value = 0;
  for (std::size_t i = begin; i < end; ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
    if (value > std::numeric_limits<std::uint16_t>::max()) return std::nullopt;
  }
  return static_cast<std::uint16_t>(value);
}

void LocalizeForm(FormWindow& window, const StringLookup& lookup) {
  ReplaceById(window.tag, window.caption, lookup);
  for (FormControl& control : window.controls) LocalizeControl(control, lookup);
}

void LocalizeForm(FormWindow& window, Language language) {
  LocalizeForm(window, [language](std::uint16_t id) -> std::optional<std::string> {
    if (!HasString(id, language)) return std::nullopt;
    return std::string(StringText(id, language));
  });
}

}  // namespace wizard
