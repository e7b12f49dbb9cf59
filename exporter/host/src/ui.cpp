// Windows, message boxes and modal dialogs over the installed UI seam.
#include "host/ui.h"

#include <atomic>

namespace {

std::atomic<UiSeam*> current_seam{nullptr};
std::atomic<int> custom_controls_inits{0};

DialogWindow* as_dialog(HWND window) {
  return dynamic_cast<DialogWindow*>(window);
}

}  // namespace

Window::~Window() = default;
ControlWindow::~ControlWindow() = default;
UiSeam::~UiSeam() = default;

DialogWindow::DialogWindow(const DialogTemplate& dialog, DLGPROC proc)
    : template_(dialog), proc_(proc) {
  for (const DialogControl& c : dialog.controls) {
    auto window = std::make_unique<ControlWindow>();
    window->control = c;
    window->enabled = !c.disabled;
    if (c.id >= 0) controls_[c.id] = std::move(window);
  }
}

DialogWindow::~DialogWindow() = default;

ControlWindow* DialogWindow::control(int id) {
  const auto found = controls_.find(id);
  return found != controls_.end() ? found->second.get() : nullptr;
}

bool DialogWindow::Click(int id) {
  ControlWindow* c = control(id);
  if (c == nullptr || !c->enabled || ended_) return false;
  if (c->control.kind == ControlKind::kAutoRadioButton) {
    // The group runs from the radio button that starts it to the next one.
    const auto& list = template_.controls;
    size_t at = 0;
    while (at < list.size() && list[at].id != id) ++at;
    size_t first = at;
    while (first > 0 && !list[first].group) --first;
    for (size_t i = first; i < list.size(); ++i) {
      if (i > first && list[i].group) break;
      if (list[i].kind == ControlKind::kAutoRadioButton) control(list[i].id)->check = BST_UNCHECKED;
    }
    c->check = BST_CHECKED;
  } else if (c->control.kind == ControlKind::kAutoCheckBox) {
    c->check = c->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
  }
  Send(WM_COMMAND, MAKEWPARAM(UINT(id), BN_CLICKED), 0);
  return true;
}

void DialogWindow::Close() {
  if (!ended_) Send(WM_COMMAND, MAKEWPARAM(UINT(IDCANCEL), BN_CLICKED), 0);
}

INT_PTR DialogWindow::Send(UINT message, WPARAM w, LPARAM l) {
  return proc_ != nullptr ? proc_(this, message, w, l) : 0;
}

void DialogWindow::End(INT_PTR result) {
  ended_ = true;
  result_ = result;
}

UiSeam* SetUiSeam(UiSeam* seam) {
  return current_seam.exchange(seam);
}

int MessageBox(HWND parent, const char* text, const char* caption, UINT type) {
  UiSeam* seam = current_seam.load();
  if (seam == nullptr) return IDOK;
  return seam->ShowMessageBox(parent, text != nullptr ? text : "",
                              caption != nullptr ? caption : "", type);
}

INT_PTR DialogBoxParam(HINSTANCE, const DialogTemplate& dialog, HWND parent, DLGPROC proc,
                       LPARAM param) {
  DialogWindow window(dialog, proc);
  window.Send(WM_INITDIALOG, 0, param);
  if (!window.ended()) {
    if (UiSeam* seam = current_seam.load()) seam->RunDialog(window, parent);
  }
  window.Close();
  window.Send(WM_DESTROY, 0, 0);
  return window.ended() ? window.result() : 0;
}

bool EndDialog(HWND dialog, INT_PTR result) {
  DialogWindow* d = as_dialog(dialog);
  if (d == nullptr) return false;
  d->End(result);
  return true;
}

HWND GetDlgItem(HWND dialog, int id) {
  DialogWindow* d = as_dialog(dialog);
  return d != nullptr ? d->control(id) : nullptr;
}

bool CheckDlgButton(HWND dialog, int id, UINT check) {
  auto* c = dynamic_cast<ControlWindow*>(GetDlgItem(dialog, id));
  if (c == nullptr) return false;
  c->check = check;
  return true;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  auto* c = dynamic_cast<ControlWindow*>(GetDlgItem(dialog, id));
  return c != nullptr ? c->check : BST_UNCHECKED;
}

bool EnableWindow(HWND window, bool enable) {
  if (window == nullptr) return false;
  const bool was_disabled = !window->enabled;
  window->enabled = enable;
  return was_disabled;
}

bool IsWindowEnabled(HWND window) {
  return window != nullptr && window->enabled;
}

LONG_PTR SetWindowLongPtr(HWND window, int index, LONG_PTR value) {
  DialogWindow* d = as_dialog(window);
  if (d == nullptr || index != GWLP_USERDATA) return 0;
  const LONG_PTR old = d->user_data;
  d->user_data = value;
  return old;
}

LONG_PTR GetWindowLongPtr(HWND window, int index) {
  DialogWindow* d = as_dialog(window);
  return d != nullptr && index == GWLP_USERDATA ? d->user_data : 0;
}

void InitCustomControls(HINSTANCE) {
  ++custom_controls_inits;
}

void InitCommonControls() {}

int CustomControlsInitCount() {
  return custom_controls_inits.load();
}
