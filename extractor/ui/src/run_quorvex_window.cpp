// The window of the quorvex program: the application object, the window and
// its event loop.
#include "extractor_ui/run_quorvex_window.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "extractor_ui/quorvex_window.h"
#include "ui/wizard_dialogs.h"

namespace quorvex::ui {

int RunQuorvexWindow(int& argc, char** argv, wizard::Language language) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(
      QString::fromUtf8(kProgramName.data(), static_cast<qsizetype>(kProgramName.size())));
  // Qt's own texts (the buttons of message boxes, the folder picker) in the
  // window's language, when Qt's translations are installed.
  QTranslator qt_texts;
  if (language == wizard::Language::kPolish &&
      qt_texts.load(QLocale(QLocale::Polish), "qtbase", "_",
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qt_texts);
  }
  QuorvexOptions options;
  options.language = language;
  QuorvexWindow window(options, wizard::ui::QtDialogs());
  window.Start();
  window.show();
  return application.exec();
}

}  // namespace quorvex::ui
