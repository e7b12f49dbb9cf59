// Filling a Qt window's fixed texts from the model's control table: each
// control that the table names takes the text of its string id.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "base/string_table.h"
#include "ops/control_table.h"

class QWidget;

namespace wizard::ui {

// Sets the texts of the controls of `root` that `table` names (buttons, labels,
// check boxes, frames; an entry naming `root` itself sets its caption) in
// `language`. Controls the window does not have are skipped.
void LocalizeWindow(QWidget& root, std::span<const ControlString> table, Language language);

// "name(index)", the object name of one element of a control array.
std::string IndexedName(std::string_view name, int index);

}  // namespace wizard::ui
