// Qt's dialogs behind the wizard's dialog seam.
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include "ui/wizard_dialogs.h"

namespace wizard::ui {

namespace {

QString StartPath(const FileDialogRequest& request) {
  const QString name = QString::fromStdString(request.file_name);
  if (request.folder.empty()) return name;
  return QString::fromStdString(request.folder) + "/" + name;
}

class QtWizardDialogs : public WizardDialogs {
 public:
  void ShowError(QWidget* parent, const QString& title, const QString& text) override {
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, parent);
    box.exec();
  }

  bool Ask(QWidget* parent, const QString& title, const QString& text,
           QuestionButtons buttons) override {
    const bool yes_no = buttons == QuestionButtons::kYesNo;
    QMessageBox box(
        QMessageBox::Question, title, text,
        yes_no ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok | QMessageBox::Cancel,
        parent);
    const int answer = box.exec();
    return answer == QMessageBox::Yes || answer == QMessageBox::Ok;
  }

  QString PickFolder(QWidget* parent, const QString& title) override {
    return QFileDialog::getExistingDirectory(parent, title);
  }

  std::optional<QString> SaveFile(QWidget* parent, const FileDialogRequest& request) override {
    const QString path = QFileDialog::getSaveFileName(parent, QString(), StartPath(request),
                                                      QtFileFilter(request.filter));
    if (path.isEmpty()) return std::nullopt;
    return path;
  }

  std::optional<QString> OpenFile(QWidget* parent, const FileDialogRequest& request) override {
    const QString path = QFileDialog::getOpenFileName(parent, QString(), StartPath(request),
                                                      QtFileFilter(request.filter));
    if (path.isEmpty()) return std::nullopt;
    return path;
  }
};

}  // namespace

std::unique_ptr<WizardDialogs> QtDialogs() {
  return std::make_unique<QtWizardDialogs>();
}

QString QtFileFilter(std::string_view filter) {
  const QStringList parts = QString::fromUtf8(filter.data(), static_cast<qsizetype>(filter.size()))
                                .split('|', Qt::KeepEmptyParts);
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& description = parts[i];
    const QString& pattern = parts[i + 1];
    if (description.isEmpty() && pattern.isEmpty()) continue;
    filters << (description.contains(pattern) ? description : description + " (" + pattern + ")");
  }
  return filters.join(";;");
}

}  // namespace wizard::ui
