// The UI seam of the program: message boxes go to standard error as one
// line each ("Error...: <text>"), and the options dialog (103) is answered
// from the command line, as a user would click it.
#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "host/ui.h"
#include "progress_bar.h"

namespace scenepress_app {

// The options dialog and its controls.
inline constexpr int kOptionsDialog = 103;
inline constexpr int kNoLighting = 1005;
inline constexpr int kPerVertexLighting = 1006;
inline constexpr int kPerPixelLighting = 1007;
inline constexpr int kNormalExport = 1011;
inline constexpr int kNoAnimation = 1012;
inline constexpr int kNoGeometry = 1013;
inline constexpr int kMaterialScript = 1014;
inline constexpr int kTexCoord[4] = {1020, 1021, 1023, 1022};
inline constexpr int kMorphSource = 1025;
inline constexpr int kMorphTarget = 1027;

// What the command line answers in the options dialog. Check boxes left
// unset keep the state the dialog opens with.
struct DialogAnswers {
  int lighting = kNoLighting;
  int export_type = kNormalExport;
  bool set_tex_coords = false;
  std::array<bool, 4> tex_coords{};
  bool material_scripts = false;
  int morph = 0;  // 0, kMorphSource or kMorphTarget
};

class CommandLineUi final : public UiSeam {
 public:
  CommandLineUi(DialogAnswers answers, ProgressBar& progress, std::FILE* errors = stderr);

  int ShowMessageBox(HWND parent, const std::string& text, const std::string& caption,
                     UINT type) override;
  void RunDialog(DialogWindow& dialog, HWND parent) override;

  bool options_dialog_shown() const { return options_dialog_shown_; }
  // The control of the options dialog that could not be clicked (it is
  // disabled), or 0; the dialog was then cancelled.
  int refused_control() const { return refused_control_; }
  const std::vector<std::string>& messages() const { return messages_; }

 private:
  bool click(DialogWindow& dialog, int id);
  void hint(const std::string& text);

  DialogAnswers answers_;
  ProgressBar& progress_;
  std::FILE* errors_;
  bool options_dialog_shown_ = false;
  int refused_control_ = 0;
  std::vector<std::string> messages_;
  std::vector<std::string> hints_given_;
};

}  // namespace scenepress_app
