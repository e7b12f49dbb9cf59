// The UI seam: windows, message boxes and modal dialogs as a plug-in calls
// them, answered by whoever hosts the plug-in.
//
// A plug-in describes each dialog by a DialogTemplate (its resource) and a
// dialog procedure. DialogBoxParam makes the dialog's window from the
// template, sends WM_INITDIALOG to the procedure, lets the installed
// UiSeam play the user's part (clicks go to the procedure as WM_COMMAND,
// auto radio buttons and check boxes change state first, as the system
// does), and sends WM_DESTROY when the procedure has called EndDialog.
// A seam that stops before the dialog ends closes it as the close box does
// (WM_COMMAND with IDCANCEL); a dialog that still does not end gives 0.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/host_api.h"

class HOSTAPI Window {
 public:
  virtual ~Window();
  bool enabled = true;
};
using HWND = Window*;

// A loaded module (the plug-in library), as the host knows it.
struct ModuleHandle;
using HINSTANCE = ModuleHandle*;

using UINT = unsigned;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using INT_PTR = intptr_t;
using LONG_PTR = intptr_t;
using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

// Message box types and answers.
inline constexpr UINT MB_OK = 0x0;
inline constexpr UINT MB_OKCANCEL = 0x1;
inline constexpr UINT MB_YESNO = 0x4;
inline constexpr UINT MB_ICONERROR = 0x10;
inline constexpr UINT MB_ICONQUESTION = 0x20;
inline constexpr UINT MB_ICONWARNING = 0x30;
inline constexpr UINT MB_ICONINFORMATION = 0x40;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// Window messages a dialog procedure receives.
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_INITDIALOG = 0x0110;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT BN_CLICKED = 0;
inline constexpr UINT BST_UNCHECKED = 0;
inline constexpr UINT BST_CHECKED = 1;
inline constexpr int GWLP_USERDATA = -21;

inline constexpr UINT LOWORD(WPARAM w) {
  return UINT(w & 0xFFFF);
}
inline constexpr UINT HIWORD(WPARAM w) {
  return UINT((w >> 16) & 0xFFFF);
}
inline constexpr WPARAM MAKEWPARAM(UINT low, UINT high) {
  return WPARAM((low & 0xFFFF) | ((high & 0xFFFF) << 16));
}

enum class ControlKind {
  kPushButton,
  kDefPushButton,
  kAutoRadioButton,
  kAutoCheckBox,
  kGroupBox,
  kStatic,
};

struct DialogControl {
  int id = -1;
  ControlKind kind = ControlKind::kStatic;
  std::string text;
  bool group = false;     // starts a group (of radio buttons)
  bool disabled = false;  // created disabled
};

struct DialogTemplate {
  int id = 0;
  std::string caption;
  int width = 0, height = 0;  // dialog units
  std::string font;
  int font_size = 0;
  std::vector<DialogControl> controls;
};

// One control of an open dialog.
class HOSTAPI ControlWindow : public Window {
 public:
  ~ControlWindow() override;
  DialogControl control;
  UINT check = BST_UNCHECKED;
};

// An open modal dialog.
class HOSTAPI DialogWindow : public Window {
 public:
  DialogWindow(const DialogTemplate& dialog, DLGPROC proc);
  ~DialogWindow() override;

  const DialogTemplate& dialog_template() const { return template_; }
  ControlWindow* control(int id);
  bool ended() const { return ended_; }
  INT_PTR result() const { return result_; }

  // The user clicks control `id`: a disabled or missing control does
  // nothing and gives false; an auto radio button becomes the checked one of
  // its group, an auto check box flips; then the procedure gets WM_COMMAND.
  bool Click(int id);
  // The user closes the dialog (close box or Escape): WM_COMMAND IDCANCEL.
  void Close();
  // Sends a message to the dialog procedure.
  INT_PTR Send(UINT message, WPARAM w, LPARAM l);

  void End(INT_PTR result);
  LONG_PTR user_data = 0;

 private:
  DialogTemplate template_;
  DLGPROC proc_;
  std::map<int, std::unique_ptr<ControlWindow>> controls_;
  bool ended_ = false;
  INT_PTR result_ = 0;
};

// What the host supplies: message boxes and the user's part in dialogs.
class HOSTAPI UiSeam {
 public:
  virtual ~UiSeam();
  // Shows a message box and returns the answer (IDOK, IDCANCEL, IDYES, IDNO).
  virtual int ShowMessageBox(HWND parent, const std::string& text, const std::string& caption,
                             UINT type) = 0;
  // Plays the user's part in an open dialog (after WM_INITDIALOG).
  virtual void RunDialog(DialogWindow& dialog, HWND parent) = 0;
};

// Installs the seam for the whole process (null: message boxes answer IDOK
// and dialogs are closed at once). Returns the previous one.
HOSTAPI UiSeam* SetUiSeam(UiSeam* seam);

HOSTAPI int MessageBox(HWND parent, const char* text, const char* caption, UINT type);
// Shows the modal dialog `dialog` with `proc`; WM_INITDIALOG carries `param`.
// Returns the value given to EndDialog.
HOSTAPI INT_PTR DialogBoxParam(HINSTANCE instance, const DialogTemplate& dialog, HWND parent,
                               DLGPROC proc, LPARAM param);
HOSTAPI bool EndDialog(HWND dialog, INT_PTR result);
HOSTAPI HWND GetDlgItem(HWND dialog, int id);
HOSTAPI bool CheckDlgButton(HWND dialog, int id, UINT check);
HOSTAPI UINT IsDlgButtonChecked(HWND dialog, int id);
HOSTAPI bool EnableWindow(HWND window, bool enable);
HOSTAPI bool IsWindowEnabled(HWND window);
HOSTAPI LONG_PTR SetWindowLongPtr(HWND window, int index, LONG_PTR value);
HOSTAPI LONG_PTR GetWindowLongPtr(HWND window, int index);

// Control set-up a plug-in does when it is loaded; the calls are counted.
HOSTAPI void InitCustomControls(HINSTANCE instance);
HOSTAPI void InitCommonControls();
HOSTAPI int CustomControlsInitCount();
