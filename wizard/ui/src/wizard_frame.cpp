// WizardFrame: the header, pages, navigation, dialogs and busy state of a
// wizard window.
#include "ui/wizard_frame.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "ui/logo.h"

namespace wizard::ui {

namespace {

QString ToQt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Name(const char* name, int index) {
  return QString("%1(%2)").arg(name).arg(index);
}

QFrame* Rule(QWidget* parent) {
  auto* rule = new QFrame(parent);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);
  return rule;
}

}  // namespace

WizardFrame::WizardFrame(std::unique_ptr<WizardDialogs> dialogs, QWidget* parent)
    : QWidget(parent), dialogs_(std::move(dialogs)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 10);
  layout->setSpacing(0);
  layout->addWidget(BuildHeader());
  layout->addWidget(Rule(this));

  auto* body = new QVBoxLayout;
  body->setContentsMargins(24, 12, 24, 6);
  body->setSpacing(10);
  description_ = new QLabel(this);
  description_->setObjectName("lblDescription");
  description_->setWordWrap(true);
  body->addWidget(description_);
  pages_ = new QStackedWidget(this);
  pages_->setObjectName("stkPages");
  for (int page = 0; page < kWizardPageCount; ++page) {
    auto* slot = new QWidget(pages_);
    slot->setObjectName(Name("fraStep", page));
    auto* slot_layout = new QVBoxLayout(slot);
    slot_layout->setContentsMargins(0, 0, 0, 0);
    slots_[static_cast<std::size_t>(page)] = slot;
    pages_->addWidget(slot);
  }
  slots_[0]->layout()->addWidget(BuildGameFolderPage());
  slots_[4]->layout()->addWidget(BuildProgressPage());
  slots_[6]->layout()->addWidget(BuildReadyPage());
  body->addWidget(pages_, 1);
  layout->addLayout(body, 1);
  layout->addWidget(Rule(this));

  auto* nav = new QHBoxLayout;
  nav->setContentsMargins(12, 10, 12, 0);
  for (int b = 0; b < kNavButtonCount; ++b) {
    auto* button = new QPushButton(this);
    button->setObjectName(Name("cmdNav", b));
    button->setAutoDefault(false);
    nav_[static_cast<std::size_t>(b)] = button;
    connect(button, &QPushButton::clicked, this,
            [this, b] { Navigate(static_cast<NavButton>(b)); });
  }
  nav->addWidget(nav_[0]);
  nav->addStretch(1);
  nav->addWidget(nav_[2]);
  nav->addWidget(nav_[3]);
  nav->addSpacing(12);
  nav->addWidget(nav_[4]);
  nav->addWidget(nav_[1]);
  layout->addLayout(nav);
  setMinimumSize(600, 430);
  setWindowIcon(QIcon(QPixmap::fromImage(CarwrightLogo(64))));
}

WizardFrame::~WizardFrame() = default;

void WizardFrame::SetPage(int index, QWidget* page) {
  if (index < 0 || index >= kWizardPageCount || index == 0 || index == 4 || index == 6) return;
  slots_[static_cast<std::size_t>(index)]->layout()->addWidget(page);
}

QWidget* WizardFrame::BuildHeader() {
  auto* header = new QFrame(this);
  header->setObjectName("fraHeader");
  header->setAutoFillBackground(true);
  QPalette palette = header->palette();
  palette.setColor(QPalette::Window, palette.color(QPalette::Base));
  header->setPalette(palette);
  auto* layout = new QHBoxLayout(header);
  layout->setContentsMargins(16, 10, 10, 10);
  auto* texts = new QVBoxLayout;
  title_ = new QLabel(header);
  title_->setObjectName("lblTitle");
  QFont bold = title_->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.15);
  title_->setFont(bold);
  subtitle_ = new QLabel(header);
  subtitle_->setObjectName("lblSubTitle");
  subtitle_->setWordWrap(true);
  subtitle_->setContentsMargins(16, 0, 0, 0);
  texts->addWidget(title_);
  texts->addWidget(subtitle_);
  texts->addStretch(1);
  layout->addLayout(texts, 1);
  auto* logo = new QLabel(header);
  logo->setObjectName("picLogo");
  logo->setPixmap(QPixmap::fromImage(CarwrightLogo(64)));
  logo->setFixedSize(64, 64);
  layout->addWidget(logo, 0, Qt::AlignTop);
  return header;
}

QWidget* WizardFrame::BuildGameFolderPage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* frame = new QGroupBox(page);
  frame->setObjectName("fraGameFolder");
  auto* row = new QHBoxLayout(frame);
  game_folder_ = new QLabel(frame);
  game_folder_->setObjectName("lblGameFolder");
  game_folder_->setWordWrap(true);
  game_folder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* browse = new QPushButton(frame);
  browse->setObjectName("btnBrowse");
  browse->setAutoDefault(false);
  row->addWidget(game_folder_, 1);
  row->addWidget(browse, 0, Qt::AlignTop);
  layout->addWidget(frame);
  layout->addStretch(1);
  connect(browse, &QPushButton::clicked, this, [this] {
    if (!busy_) BrowseClicked();
  });
  return page;
}

QWidget* WizardFrame::BuildProgressPage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 8, 0, 0);
  progress_ = new QProgressBar(page);
  progress_->setObjectName("prgsAction");
  progress_->setRange(0, 200);
  progress_->setValue(0);
  progress_->setTextVisible(false);
  action_ = new QLabel(page);
  action_->setObjectName("lblAction");
  action_->setWordWrap(true);
  layout->addWidget(progress_);
  layout->addWidget(action_);
  layout->addStretch(1);
  return page;
}

QWidget* WizardFrame::BuildReadyPage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* info = new QLabel(page);
  info->setObjectName("lblInfo");
  info->setWordWrap(true);
  layout->addWidget(info);
  layout->addStretch(1);
  return page;
}

void WizardFrame::Navigate(NavButton button) {
  if (busy_) return;
  NavigationClicked(button);
  // Next may have shown the progress page and run the operation to its end.
  if (button == NavButton::kNext) busy_ = false;
}

void WizardFrame::closeEvent(QCloseEvent* event) {
  if (ended_) {
    event->accept();
  } else if (busy_) {
    event->ignore();  // an operation is running
  } else if (CloseRequested()) {
    ended_ = true;
    event->accept();
  } else {
    event->ignore();
  }
}

void WizardFrame::EndProgram() {
  ended_ = true;
  close();
}

void WizardFrame::KeepPainted() {
  // The run happens on this thread: let the window paint, but take no input.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void WizardFrame::SetCaption(std::string_view caption) {
  setWindowTitle(ToQt(caption));
}

void WizardFrame::SwitchPage(int /*hidden_page*/, int shown_page) {
  if (shown_page < 0 || shown_page >= kWizardPageCount) return;
  QWidget* slot = slots_[static_cast<std::size_t>(shown_page)];
  if (slot->layout()->count() == 0) return;  // the window has no such page
  if (shown_page == 4) busy_ = true;         // the run follows at once
  pages_->setCurrentIndex(shown_page);
}

void WizardFrame::SetTitles(std::string_view title, std::string_view subtitle,
                            std::string_view description) {
  title_->setText(ToQt(title));
  subtitle_->setText(ToQt(subtitle));
  description_->setText(ToQt(description));
}

void WizardFrame::SetNavButtonEnabled(NavButton button, bool enabled) {
  nav_[static_cast<std::size_t>(button)]->setEnabled(enabled);
}

void WizardFrame::SetNavButtonVisible(NavButton button, bool visible) {
  nav_[static_cast<std::size_t>(button)]->setVisible(visible);
}

void WizardFrame::SetGameFolderLabel(std::string_view text) {
  game_folder_->setText(ToQt(text));
}

void WizardFrame::SetProgress(double value) {
  progress_->setValue(static_cast<int>(value));
  KeepPainted();
}

void WizardFrame::SetActionText(std::string_view text) {
  action_->setText(ToQt(text));
  KeepPainted();
}

void WizardFrame::RefreshWindow() {
  repaint();
  KeepPainted();
}

void WizardFrame::ShowErrorBox(std::string_view title, std::string_view text) {
  dialogs_->ShowError(this, ToQt(title), ToQt(text));
}

bool WizardFrame::AskQuestion(std::string_view title, std::string_view text,
                              QuestionButtons buttons) {
  return dialogs_->Ask(this, ToQt(title), ToQt(text), buttons);
}

std::string WizardFrame::PickFolder(std::string_view title) {
  return dialogs_->PickFolder(this, ToQt(title)).toStdString();
}

std::optional<std::string> WizardFrame::SaveFileDialog(const FileDialogRequest& request) {
  const std::optional<QString> path = dialogs_->SaveFile(this, request);
  if (!path) return std::nullopt;
  return path->toStdString();
}

std::optional<std::string> WizardFrame::OpenFileDialog(const FileDialogRequest& request) {
  const std::optional<QString> path = dialogs_->OpenFile(this, request);
  if (!path) return std::nullopt;
  return path->toStdString();
}

}  // namespace wizard::ui
