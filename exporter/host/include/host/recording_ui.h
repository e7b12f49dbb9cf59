// A UI seam that records every message box and plays scripted answers: the
// seam of tests and of hosts without windows.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "host/host_api.h"
#include "host/ui.h"

namespace host {

class HOSTAPI RecordingUi : public UiSeam {
 public:
  struct Message {
    std::string text;
    std::string caption;
    UINT type = 0;
  };
  // The state of a dialog's buttons after WM_INITDIALOG.
  struct DialogState {
    int id = 0;
    std::map<int, UINT> checked;
    std::map<int, bool> enabled;
    LONG_PTR user_data = 0;
  };

  ~RecordingUi() override;
  int ShowMessageBox(HWND parent, const std::string& text, const std::string& caption,
                     UINT type) override;
  // Records the dialog's opening state, then clicks the next list of
  // `dialog_clicks` in order (a list without IDOK or IDCANCEL leaves the
  // dialog to be closed); IDCANCEL without a button of that id is the close
  // box. With no list left the dialog is closed.
  void RunDialog(DialogWindow& dialog, HWND parent) override;

  std::vector<Message> messages;
  std::deque<int> answers;  // message box answers, IDOK when none is left
  std::deque<std::vector<int>> dialog_clicks;
  std::vector<DialogState> dialogs;
  // Clicks that did nothing (disabled or missing controls).
  std::vector<int> refused_clicks;
};

// Installs a seam for the lifetime of the object and puts the previous one
// back afterwards.
class HOSTAPI ScopedUiSeam {
 public:
  explicit ScopedUiSeam(UiSeam* seam) : previous_(SetUiSeam(seam)) {}
  ~ScopedUiSeam() { SetUiSeam(previous_); }
  ScopedUiSeam(const ScopedUiSeam&) = delete;
  ScopedUiSeam& operator=(const ScopedUiSeam&) = delete;

 private:
  UiSeam* previous_;
};

}  // namespace host
