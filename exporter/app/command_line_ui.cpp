// Message boxes on standard error and the options dialog from the command
// line.
#include "command_line_ui.h"

#include <algorithm>

namespace scenepress_app {
namespace {

std::string one_line(std::string text) {
  std::replace(text.begin(), text.end(), '\n', ' ');
  std::replace(text.begin(), text.end(), '\r', ' ');
  return text;
}

bool starts_with(const std::string& text, const char* start) {
  return text.rfind(start, 0) == 0;
}

}  // namespace

CommandLineUi::CommandLineUi(DialogAnswers answers, ProgressBar& progress, std::FILE* errors)
    : answers_(answers), progress_(progress), errors_(errors) {}

int CommandLineUi::ShowMessageBox(HWND, const std::string& text, const std::string& caption,
                                  UINT type) {
  progress_.clear();
  const std::string line = one_line(text);
  std::fprintf(errors_, "%s: %s\n", caption.c_str(), line.c_str());
  messages_.push_back(line);
  // The failures a modeller can fix from the command line.
  if (starts_with(line, "No mapping applied for mesh:")) {
    hint(
        "the mesh has no texture coordinates; --uvw-map box gives such meshes a "
        "box-projected map");
  } else if (starts_with(line, "Node name lenght") || starts_with(line, "Material name [") ||
             (starts_with(line, "Node name ") && line.find("LOD postfix") != std::string::npos)) {
    hint("the name is longer than the file holds; --shorten-names shortens such names");
  }
  std::fflush(errors_);
  // Nobody is there to choose: the first button.
  return (type & 0xF) == MB_YESNO ? IDYES : IDOK;
}

void CommandLineUi::hint(const std::string& text) {
  if (std::find(hints_given_.begin(), hints_given_.end(), text) != hints_given_.end()) return;
  hints_given_.push_back(text);
  std::fprintf(errors_, "scenepress: %s\n", text.c_str());
}

bool CommandLineUi::click(DialogWindow& dialog, int id) {
  if (dialog.ended()) return false;
  if (dialog.Click(id)) return true;
  refused_control_ = id;
  dialog.Close();
  return false;
}

void CommandLineUi::RunDialog(DialogWindow& dialog, HWND) {
  if (dialog.dialog_template().id != kOptionsDialog) {
    dialog.Close();
    return;
  }
  options_dialog_shown_ = true;
  const auto checked = [&](int id) {
    const ControlWindow* control = dialog.control(id);
    return control != nullptr && control->check == BST_CHECKED;
  };
  // Check boxes are clicked only where their state must change.
  const auto set_check = [&](int id, bool on) { return checked(id) == on || click(dialog, id); };
  bool ok = click(dialog, answers_.lighting) && click(dialog, answers_.export_type);
  if (ok && answers_.set_tex_coords) {
    for (int slot = 0; slot < 4 && ok; ++slot) {
      ok = set_check(kTexCoord[slot], answers_.tex_coords[size_t(slot)]);
    }
  }
  ok = ok && set_check(kMaterialScript, answers_.material_scripts);
  // A morph box clicked on disables the other one: clear before setting.
  ok = ok && set_check(kMorphSource, false) && set_check(kMorphTarget, false);
  if (ok && answers_.morph != 0) ok = set_check(answers_.morph, true);
  if (ok) click(dialog, IDOK);
}

}  // namespace scenepress_app
