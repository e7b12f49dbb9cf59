// The recording UI seam.
#include "host/recording_ui.h"

namespace host {

RecordingUi::~RecordingUi() = default;

int RecordingUi::ShowMessageBox(HWND, const std::string& text, const std::string& caption,
                                UINT type) {
  messages.push_back({text, caption, type});
  if (answers.empty()) return IDOK;
  const int answer = answers.front();
  answers.pop_front();
  return answer;
}

void RecordingUi::RunDialog(DialogWindow& dialog, HWND) {
  DialogState state;
  state.id = dialog.dialog_template().id;
  state.user_data = dialog.user_data;
  for (const DialogControl& c : dialog.dialog_template().controls) {
    if (ControlWindow* window = dialog.control(c.id)) {
      state.checked[c.id] = window->check;
      state.enabled[c.id] = window->enabled;
    }
  }
  dialogs.push_back(state);
  if (dialog_clicks.empty()) return;
  const std::vector<int> clicks = dialog_clicks.front();
  dialog_clicks.pop_front();
  for (int id : clicks) {
    if (dialog.ended()) break;
    if (id == IDCANCEL && dialog.control(IDCANCEL) == nullptr) {
      dialog.Close();
    } else if (!dialog.Click(id)) {
      refused_clicks.push_back(id);
    }
  }
}

}  // namespace host
