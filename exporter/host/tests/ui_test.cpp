// The UI seam: message boxes and modal dialogs played by the recording seam.
#include <gtest/gtest.h>

#include "host/recording_ui.h"

namespace {

DialogTemplate two_groups() {
  DialogTemplate t;
  t.id = 7;
  t.controls = {
      {10, ControlKind::kAutoRadioButton, "a", true, false},
      {11, ControlKind::kAutoRadioButton, "b", false, false},
      {20, ControlKind::kAutoRadioButton, "c", true, false},
      {21, ControlKind::kAutoRadioButton, "d", false, true},
      {30, ControlKind::kAutoCheckBox, "e", false, false},
      {IDOK, ControlKind::kDefPushButton, "OK", false, false},
  };
  return t;
}

std::vector<std::pair<UINT, UINT>> seen;  // (message, control id)

INT_PTR record_proc(HWND dialog, UINT message, WPARAM w, LPARAM l) {
  seen.emplace_back(message, message == WM_COMMAND ? LOWORD(w) : 0);
  if (message == WM_INITDIALOG) {
    SetWindowLongPtr(dialog, GWLP_USERDATA, l);
    CheckDlgButton(dialog, 10, BST_CHECKED);
    return 1;
  }
  if (message == WM_COMMAND && LOWORD(w) == IDOK) {
    EndDialog(dialog, IsDlgButtonChecked(dialog, 11) * 10 + IsDlgButtonChecked(dialog, 30));
  }
  if (message == WM_COMMAND && LOWORD(w) == IDCANCEL) EndDialog(dialog, 0);
  if (message == WM_COMMAND && LOWORD(w) == 30) EnableWindow(GetDlgItem(dialog, 21), true);
  return 0;
}

TEST(UiSeamTest, DialogButtonsBehaveAsAutoControls) {
  host::RecordingUi ui;
  host::ScopedUiSeam scope(&ui);
  seen.clear();
  ui.dialog_clicks.push_back({11, 21, 30, 21, IDOK});
  const INT_PTR result = DialogBoxParam(nullptr, two_groups(), nullptr, record_proc, 42);
  EXPECT_EQ(result, 11);
  ASSERT_EQ(ui.dialogs.size(), 1u);
  EXPECT_EQ(ui.dialogs[0].checked[10], BST_CHECKED);
  EXPECT_FALSE(ui.dialogs[0].enabled[21]);
  EXPECT_EQ(ui.dialogs[0].user_data, 42);
  // The first click on 21 found it disabled; the check box enabled it.
  EXPECT_EQ(ui.refused_clicks, (std::vector<int>{21}));
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(seen.front().first, WM_INITDIALOG);
  EXPECT_EQ(seen.back().first, WM_DESTROY);
}

TEST(UiSeamTest, DialogWithoutAnswersIsClosed) {
  host::RecordingUi ui;
  host::ScopedUiSeam scope(&ui);
  seen.clear();
  EXPECT_EQ(DialogBoxParam(nullptr, two_groups(), nullptr, record_proc, 0), 0);
  EXPECT_EQ(seen[1], std::make_pair(WM_COMMAND, UINT(IDCANCEL)));
  EXPECT_EQ(MessageBox(nullptr, "text", "Error...", MB_OK | MB_ICONERROR), IDOK);
  ui.answers.push_back(IDNO);
  EXPECT_EQ(MessageBox(nullptr, "sure?", "Q", MB_YESNO), IDNO);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].text, "text");
  EXPECT_EQ(ui.messages[0].caption, "Error...");
  EXPECT_EQ(ui.messages[0].type, MB_ICONERROR);
}

TEST(UiSeamTest, WithoutASeamBoxesAnswerOkAndDialogsClose) {
  host::ScopedUiSeam scope(nullptr);
  seen.clear();
  EXPECT_EQ(MessageBox(nullptr, "x", "y", MB_OKCANCEL), IDOK);
  EXPECT_EQ(DialogBoxParam(nullptr, two_groups(), nullptr, record_proc, 0), 0);
}

}  // namespace
