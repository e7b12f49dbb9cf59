// The dialogs Carwright's windows open: message boxes, the folder picker and
// the open and save dialogs for packages. The windows call them through this
// interface, so that tests can answer them without a modal loop; QtDialogs()
// gives Qt's own.
#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "ops/wizard_frame_view.h"

class QWidget;

namespace wizard::ui {

class WizardDialogs {
 public:
  virtual ~WizardDialogs() = default;

  // An error box: OK button and the error icon.
  virtual void ShowError(QWidget* parent, const QString& title, const QString& text) = 0;
  // A question with the question icon; true for OK or Yes.
  virtual bool Ask(QWidget* parent, const QString& title, const QString& text,
                   QuestionButtons buttons) = 0;
  // The folder picker captioned `title`; empty when cancelled.
  virtual QString PickFolder(QWidget* parent, const QString& title) = 0;
  // The save and open dialogs; nullopt when cancelled.
  virtual std::optional<QString> SaveFile(QWidget* parent, const FileDialogRequest& request) = 0;
  virtual std::optional<QString> OpenFile(QWidget* parent, const FileDialogRequest& request) = 0;
};

// Qt's message boxes and file dialogs.
std::unique_ptr<WizardDialogs> QtDialogs();

// Turns a filter of "description|pattern|" pairs into Qt's form
// "description (pattern);;...": the pattern is added in brackets unless the
// description already shows it.
QString QtFileFilter(std::string_view filter);

}  // namespace wizard::ui
