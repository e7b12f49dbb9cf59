// Which control of Carwright's windows shows which string id: the ids the
// window design holds in the controls' tags. LocalizeWindow gathers the
// controls a table names into the model's form tree, runs LocalizeForm over
// it and writes the texts back into the widgets.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "base/string_table.h"

class QWidget;

namespace wizard::ui {

struct ControlText {
  std::string_view object_name;  // "optTask(3)"; "(i)" stands for every index 0..4
  std::uint16_t id;
};

// The main window's fixed texts.
std::span<const ControlText> MainWindowTexts();
// The advanced window's labels (each row names the control of every panel).
std::span<const ControlText> AdvancedWindowTexts();

// Sets the texts of the controls of `root` that `table` names (buttons, labels,
// check boxes, frames) from the string table in `language`. Controls that do
// not exist are skipped.
void LocalizeWindow(QWidget& root, std::span<const ControlText> table, Language language);

// "name(index)", the object name of one element of a control array.
std::string IndexedName(std::string_view name, int index);

}  // namespace wizard::ui
