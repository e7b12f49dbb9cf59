// Localisation of the Qt windows from the model's control table.
#include "ui/control_texts.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

namespace wizard::ui {

namespace {

void SetCaption(QWidget* widget, const QString& text) {
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setText(text);
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(text);
  } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
    frame->setTitle(text);
  }
}

}  // namespace

std::string IndexedName(std::string_view name, int index) {
  return std::string(name) + "(" + std::to_string(index) + ")";
}

void LocalizeWindow(QWidget& root, std::span<const ControlString> table, Language language) {
  for (const ControlString& entry : table) {
    const std::string_view text = ControlText(entry, language);
    const QString caption = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QString name =
        QString::fromUtf8(entry.control.data(), static_cast<qsizetype>(entry.control.size()));
    if (name == root.objectName()) {
      root.setWindowTitle(caption);
    } else if (QWidget* widget = root.findChild<QWidget*>(name)) {
      SetCaption(widget, caption);
    }
  }
}

}  // namespace wizard::ui
