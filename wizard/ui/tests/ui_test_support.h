// Helpers of the window tests: the application object, dialogs answered from
// a script, and finding widgets by their object names.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/wizard_dialogs.h"

namespace wizard::ui::testing {

// The one application object of the test program (offscreen platform).
inline QApplication& TestApplication() {
  static int argc = 1;
  static char name[] = "wizard_ui_test";
  static char* argv[] = {name, nullptr};
  static QApplication* application = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *application;
}

struct Shown {
  std::string title;
  std::string text;
  QuestionButtons buttons = QuestionButtons::kOkCancel;
};

// Answers every dialog from the queues; a dialog without an answer fails the
// test and is cancelled.
class ScriptedDialogs : public WizardDialogs {
 public:
  std::deque<bool> answers;
  std::deque<QString> folders;
  std::deque<std::optional<QString>> files;

  std::vector<Shown> errors;
  std::vector<Shown> questions;
  std::vector<std::string> folder_titles;
  std::vector<FileDialogRequest> save_requests, open_requests;

  void ShowError(QWidget*, const QString& title, const QString& text) override {
    errors.push_back({title.toStdString(), text.toStdString()});
  }
  bool Ask(QWidget*, const QString& title, const QString& text, QuestionButtons buttons) override {
    questions.push_back({title.toStdString(), text.toStdString(), buttons});
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected question: " << text.toStdString();
      return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  QString PickFolder(QWidget*, const QString& title) override {
    folder_titles.push_back(title.toStdString());
    if (folders.empty()) return {};
    const QString folder = folders.front();
    folders.pop_front();
    return folder;
  }
  std::optional<QString> SaveFile(QWidget*, const FileDialogRequest& request) override {
    save_requests.push_back(request);
    return NextFile();
  }
  std::optional<QString> OpenFile(QWidget*, const FileDialogRequest& request) override {
    open_requests.push_back(request);
    return NextFile();
  }

 private:
  std::optional<QString> NextFile() {
    if (files.empty()) {
      ADD_FAILURE() << "unexpected file dialog";
      return std::nullopt;
    }
    const std::optional<QString> file = files.front();
    files.pop_front();
    return file;
  }
};

// The child of `root` named `name` (ADD_FAILURE and null when there is none).
template <typename Widget>
Widget* Find(const QWidget& root, const std::string& name) {
  Widget* widget = root.findChild<Widget*>(QString::fromStdString(name));
  if (widget == nullptr) ADD_FAILURE() << "no widget " << name;
  return widget;
}

inline std::string TextOf(const QWidget& root, const std::string& name) {
  const QWidget* widget = Find<QWidget>(root, name);
  if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
    return button->text().toStdString();
  }
  if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) return edit->text().toStdString();
  return widget != nullptr ? widget->property("text").toString().toStdString() : std::string();
}

// A mouse click on a control, as the user does it: in the middle of a push
// button, on the box of a check box or option button.
inline void Click(const QWidget& root, const std::string& name) {
  QWidget* widget = Find<QWidget>(root, name);
  if (widget == nullptr) return;
  if (qobject_cast<QCheckBox*>(widget) != nullptr ||
      qobject_cast<QRadioButton*>(widget) != nullptr) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(8, widget->height() / 2));
  } else {
    QTest::mouseClick(widget, Qt::LeftButton);
  }
}

// Types `text` into the focused `widget` key by key; characters beyond ASCII
// come as key events carrying their text.
inline void TypeKeys(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() < 0x80) {
      QTest::keyClick(widget, static_cast<char>(c.unicode()));
    } else {
      QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
  }
}

// Replaces the text of a box by typing: select all, then the keys of `text`.
inline void TypeOver(const QWidget& root, const std::string& name, const QString& text) {
  auto* edit = Find<QLineEdit>(root, name);
  if (edit == nullptr) return;
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
  if (text.isEmpty()) {
    QTest::keyClick(edit, Qt::Key_Delete);
  } else {
    TypeKeys(edit, text);
  }
}

}  // namespace wizard::ui::testing
