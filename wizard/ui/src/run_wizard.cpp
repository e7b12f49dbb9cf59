// The wizard program: the application object, the window and its event loop.
#include "ui/run_wizard.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "ui/main_window.h"
#include "ui/wizard_dialogs.h"

namespace wizard::ui {

int RunWizard(int& argc, char** argv, Language language) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("Carwright");
  // Qt's own texts (the buttons of message boxes, the file dialogs) in the
  // wizard's language, when Qt's translations are installed.
  QTranslator qt_texts;
  if (language == Language::kPolish &&
      qt_texts.load(QLocale(QLocale::Polish), "qtbase", "_",
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qt_texts);
  }
  WizardOptions options;
  options.language = language;
  options.dialog_folder = QCoreApplication::applicationDirPath().toStdString();
  frmMain window(options, QtDialogs());
  window.Start();
  window.show();
  return application.exec();
}

}  // namespace wizard::ui
