// Renders every page of Carwright's wizard, for each operation, and the
// advanced window into PNG files, in English and Polish:
//   carwright_screenshots DEMO_GAME WORK_FOLDER OUTPUT_FOLDER
// Each language works on its own copy of DEMO_GAME below WORK_FOLDER; the
// operations really run (create AB1, pack it, extract it again, delete it).
// Run it with QT_QPA_PLATFORM=offscreen.
#include <QAbstractButton>
#include <QApplication>
#include <QListWidget>
#include <QRadioButton>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <string>

#include "model/wizard_pages.h"
#include "ui/advanced_window.h"
#include "ui/main_window.h"
#include "ui/wizard_dialogs.h"

namespace {

namespace stdfs = std::filesystem;
using namespace wizard;
using namespace wizard::ui;

// Answers the dialogs without showing them: OK to every question, the next
// prepared path to every file dialog.
class PreparedDialogs : public WizardDialogs {
 public:
  std::deque<QString> files;
  void ShowError(QWidget*, const QString& title, const QString& text) override {
    std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
  }
  bool Ask(QWidget*, const QString&, const QString&, QuestionButtons) override { return true; }
  QString PickFolder(QWidget*, const QString&) override { return {}; }
  std::optional<QString> SaveFile(QWidget*, const FileDialogRequest&) override { return Next(); }
  std::optional<QString> OpenFile(QWidget*, const FileDialogRequest&) override { return Next(); }

 private:
  std::optional<QString> Next() {
    if (files.empty()) return std::nullopt;
    QString file = files.front();
    files.pop_front();
    return file;
  }
};

class Session {
 public:
  Session(const stdfs::path& game, const stdfs::path& out, Language language)
      : game_(game), out_(out), language_(language) {}

  bool Run() {
    return Operation("create", kTaskCreateCar) && Operation("pack", kTaskCreatePackage) &&
           Operation("extract", kTaskExtractPackage) && Operation("delete", kTaskDeleteCar);
  }

 private:
  bool Operation(const std::string& name, int task) {
    WizardOptions options;
    options.language = language_;
    const std::string folder = game_.string() + "/";
    options.find_game_folder = [folder] {
      return GameFolderLookup{folder, GameFolderOrigin::kEnvironment};
    };
    std::deque<double> draws = {11.5 / 36, 12.5 / 36, 2.5 / 36};  // "AB1"
    options.random = [draws]() mutable {
      const double r = draws.empty() ? 0.0 : draws.front();
      if (!draws.empty()) draws.pop_front();
      return r;
    };
    auto dialogs = std::make_unique<PreparedDialogs>();
    const QString package = QString::fromStdString((game_.parent_path() / "AB1.devuza").string());
    dialogs->files = {package};
    frmMain window(options, std::move(dialogs));
    window.Start();
    window.resize(640, 470);
    window.show();

    const std::vector<int>& pages = PagesOf(task);
    for (std::size_t i = 0; i < pages.size(); ++i) {
      if (window.Model().State().Step != pages[i]) {
        std::fprintf(stderr, "%s: expected page %d, the wizard shows %d\n", name.c_str(), pages[i],
                     window.Model().State().Step);
        return false;
      }
      if (pages[i] == kPageOperation) {
        window.findChild<QRadioButton*>(QString("optTask(%1)").arg(task))->click();
      }
      if (pages[i] == kPageCarSelection) {
        window.findChild<QListWidget*>("lstCarList")->setCurrentRow(0);
      }
      Save(window, name + "_" + std::to_string(i + 1) + "_page" + std::to_string(pages[i]));
      if (pages[i] == kPageCarParameters) {
        window.findChild<QAbstractButton*>("btnAdvanced")->click();
        frmAdvanced* advanced = window.AdvancedWindow();
        Save(*advanced, "advanced");
        advanced->findChild<QAbstractButton*>("cmdCancel")->click();
      }
      if (i + 1 < pages.size()) window.findChild<QAbstractButton*>("cmdNav(3)")->click();
    }
    window.findChild<QAbstractButton*>("cmdNav(4)")->click();
    return true;
  }

  static const std::vector<int>& PagesOf(int task) {
    static const std::vector<int> create = {0, 1, 2, 3, 5, 6, 4};
    static const std::vector<int> pick = {0, 1, 7, 6, 4};
    static const std::vector<int> extract = {0, 1, 6, 4};
    if (task == kTaskCreateCar) return create;
    if (task == kTaskExtractPackage) return extract;
    return pick;
  }

  void Save(QWidget& widget, const std::string& name) {
    QApplication::processEvents();
    const stdfs::path file = out_ / (name + ".png");
    if (!widget.grab().save(QString::fromStdString(file.string()), "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", file.string().c_str());
    }
  }

  stdfs::path game_;
  stdfs::path out_;
  Language language_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: carwright_screenshots DEMO_GAME WORK_FOLDER OUTPUT_FOLDER\n");
    return 2;
  }
  QApplication application(argc, argv);
  const stdfs::path demo = argv[1], work = argv[2], out = argv[3];
  for (const auto& [code, language] :
       {std::pair{"en", Language::kEnglish}, std::pair{"pl", Language::kPolish}}) {
    const stdfs::path game = work / code / "Gravelmoor";
    std::error_code error;
    stdfs::remove_all(work / code, error);
    stdfs::create_directories(game.parent_path());
    stdfs::copy(demo, game, stdfs::copy_options::recursive);
    stdfs::create_directories(out / code);
    if (!Session(game, out / code, language).Run()) return 1;
  }
  return 0;
}
