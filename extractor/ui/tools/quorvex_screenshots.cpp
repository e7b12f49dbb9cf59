// Renders Quorvex's three pages (game folder, ready, progress after a real
// install) into PNG files, in English and Polish:
//   quorvex_screenshots EXTRACTOR DEMO_GAME WORK_FOLDER OUTPUT_FOLDER
// WORK_FOLDER/{en,pl}/AB1.devuza is the package to install (Carwright's
// screenshots leave it there); it is put behind the extractor program
// EXTRACTOR into a self-extracting file, which installs into a fresh copy of
// DEMO_GAME (WORK_FOLDER/{en,pl}/quorvex/Gravelmoor). Run it with QT_QPA_PLATFORM=offscreen.
#include <QAbstractButton>
#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "devuza/sfx.h"
#include "extractor_ui/quorvex_window.h"
#include "ui/wizard_dialogs.h"

namespace {

namespace stdfs = std::filesystem;
using wizard::Language;
using wizard::QuestionButtons;
using wizard::ui::WizardDialogs;

// Reports errors and answers nothing: the pages shown need no dialog.
class SilentDialogs : public WizardDialogs {
 public:
  void ShowError(QWidget*, const QString& title, const QString& text) override {
    std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
  }
  bool Ask(QWidget*, const QString&, const QString& text, QuestionButtons) override {
    std::fprintf(stderr, "unexpected question: %s\n", qPrintable(text));
    return false;
  }
  QString PickFolder(QWidget*, const QString&) override { return {}; }
  std::optional<QString> SaveFile(QWidget*, const wizard::FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<QString> OpenFile(QWidget*, const wizard::FileDialogRequest&) override {
    return std::nullopt;
  }
};

bool ReadAll(const stdfs::path& file, std::vector<std::uint8_t>& bytes) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool Save(QWidget& widget, const stdfs::path& file) {
  QApplication::processEvents();
  if (widget.grab().save(QString::fromStdString(file.string()), "PNG")) return true;
  std::fprintf(stderr, "cannot write %s\n", file.string().c_str());
  return false;
}

bool Render(const std::vector<std::uint8_t>& extractor, const stdfs::path& demo,
            const stdfs::path& work, const stdfs::path& out, Language language) {
  const stdfs::path game = work / "quorvex" / "Gravelmoor";
  std::error_code error;
  stdfs::remove_all(game.parent_path(), error);
  stdfs::create_directories(game.parent_path());
  stdfs::copy(demo, game, stdfs::copy_options::recursive);
  const stdfs::path program = work / "AB1.devuza.exe";
  std::string problem;
  if (!devuza::WriteSFXPackage(program, work / "AB1.devuza", false, extractor, &problem)) {
    std::fprintf(stderr, "%s: %s\n", program.string().c_str(), problem.c_str());
    return false;
  }

  quorvex::QuorvexOptions options;
  options.language = language;
  options.program = program;
  const std::string folder = game.string() + "/";
  options.find_game_folder = [folder] {
    return wizard::GameFolderLookup{folder, wizard::GameFolderOrigin::kEnvironment};
  };
  quorvex::ui::QuorvexWindow window(options, std::make_unique<SilentDialogs>());
  window.Start();
  window.resize(640, 470);
  window.show();
  auto* next = window.findChild<QAbstractButton*>("cmdNav(3)");
  const std::vector<int> pages = {quorvex::kPageGameFolder, quorvex::kPageReady,
                                  quorvex::kPageProgress};
  for (std::size_t i = 0; i < pages.size(); ++i) {
    if (window.Model().State().Step != pages[i]) {
      std::fprintf(stderr, "expected page %d, Quorvex shows %d\n", pages[i],
                   window.Model().State().Step);
      return false;
    }
    const std::string name =
        "quorvex_" + std::to_string(i + 1) + "_page" + std::to_string(pages[i]) + ".png";
    if (!Save(window, out / name)) return false;
    if (i + 1 < pages.size()) next->click();
  }
  window.findChild<QAbstractButton*>("cmdNav(4)")->click();
  return window.Model().HasRun() && window.Model().Outcome().completed;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr,
                 "usage: quorvex_screenshots EXTRACTOR DEMO_GAME WORK_FOLDER OUTPUT_FOLDER\n");
    return 2;
  }
  QApplication application(argc, argv);
  const stdfs::path demo = argv[2], work = argv[3], out = argv[4];
  std::vector<std::uint8_t> extractor;
  if (!ReadAll(argv[1], extractor) || extractor.empty()) {
    std::fprintf(stderr, "cannot read the extractor %s\n", argv[1]);
    return 1;
  }
  for (const auto& [code, language] :
       {std::pair{"en", Language::kEnglish}, std::pair{"pl", Language::kPolish}}) {
    stdfs::create_directories(out / code);
    if (!Render(extractor, demo, work / code, out / code, language)) return 1;
  }
  return 0;
}
