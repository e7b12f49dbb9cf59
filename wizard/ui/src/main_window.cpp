// frmMain: the window around the wizard model, and the model's view.
#include "ui/main_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "base/code_page.h"
#include "ui/advanced_window.h"
#include "ui/control_texts.h"

namespace wizard::ui {

namespace {

QString ToQt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Name(std::string_view name, int index) {
  return QString::fromStdString(IndexedName(name, index));
}

void SetLineText(QLineEdit* edit, std::string_view text) {
  const QSignalBlocker block(edit);
  edit->setText(ToQt(text));
  edit->setCursorPosition(static_cast<int>(edit->text().size()));
}

}  // namespace

frmMain::frmMain(WizardOptions options, std::unique_ptr<WizardDialogs> dialogs,
                 RunServices services)
    : WizardFrame(std::move(dialogs)),
      options_(std::move(options)),
      launcher_(std::move(services)) {
  setObjectName("frmMain");
  SetPage(kPageOperation, BuildOperationPage());
  SetPage(kPageCarParameters, BuildCarParametersPage());
  SetPage(kPageParts, BuildPartsPage());
  SetPage(kPageWheels, BuildWheelsPage());
  SetPage(kPageCarSelection, BuildCarSelectionPage());
  model_ = std::make_unique<WizardModel>(*this, launcher_, packages_, options_);
}

frmMain::~frmMain() = default;

QWidget* frmMain::BuildOperationPage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(16, 0, 0, 0);
  task_group_ = new QButtonGroup(page);
  task_group_->setExclusive(true);
  for (int task = 0; task < kTaskCount; ++task) {
    auto* option = new QRadioButton(page);
    option->setObjectName(Name("optTask", task));
    tasks_[static_cast<std::size_t>(task)] = option;
    task_group_->addButton(option, task);
    layout->addWidget(option);
    connect(option, &QRadioButton::clicked, this,
            [this, task] { model_->OnTaskOptionSelect(task); });
  }
  layout->addStretch(1);
  return page;
}

QWidget* frmMain::BuildCarParametersPage() {
  auto* page = new QWidget(this);
  auto* grid = new QGridLayout(page);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(12);
  auto label = [&](const char* name, QWidget* buddy, int row) {
    auto* text = new QLabel(page);
    text->setObjectName(name);
    text->setBuddy(buddy);
    grid->addWidget(text, row, 0);
  };
  car_id_ = new QLineEdit(page);
  car_id_->setObjectName("txtCarID");
  car_id_->setMaxLength(static_cast<int>(kCarIDLength));
  car_id_->setFixedWidth(car_id_->fontMetrics().horizontalAdvance("WWWW") + 16);
  auto* generate = new QPushButton(page);
  generate->setObjectName("btnGenerate");
  generate->setAutoDefault(false);
  auto* id_row = new QHBoxLayout;
  id_row->addWidget(car_id_);
  id_row->addWidget(generate);
  id_row->addStretch(1);
  label("lblCarID", car_id_, 0);
  grid->addLayout(id_row, 0, 1);

  car_name_ = new QLineEdit(page);
  car_name_->setObjectName("txtCarName");
  car_name_->setMaxLength(static_cast<int>(kMaxCarNameLength));
  label("lblCarName", car_name_, 1);
  grid->addWidget(car_name_, 1, 1);

  car_group_ = new QComboBox(page);
  car_group_->setObjectName("cboCarGroup");
  label("lblCarGroup", car_group_, 2);
  auto* group_row = new QHBoxLayout;
  group_row->addWidget(car_group_);
  group_row->addStretch(1);
  grid->addLayout(group_row, 2, 1);

  paintings_ = new QSlider(Qt::Horizontal, page);
  paintings_->setObjectName("sldPaintings");
  paintings_->setRange(kMinPaintings, kMaxPaintings);
  paintings_->setSingleStep(1);
  paintings_->setPageStep(1);
  paintings_->setTickPosition(QSlider::TicksBelow);
  paintings_->setTickInterval(1);
  paintings_value_ = new QLabel(page);
  paintings_value_->setObjectName("lblPaintingsValue");
  paintings_value_->setMinimumWidth(paintings_value_->fontMetrics().horizontalAdvance("00"));
  label("lblPaintings", paintings_, 3);
  auto* slider_row = new QHBoxLayout;
  slider_row->addWidget(paintings_, 1);
  slider_row->addWidget(paintings_value_);
  grid->addLayout(slider_row, 3, 1);

  auto* advanced = new QPushButton(page);
  advanced->setObjectName("btnAdvanced");
  advanced->setAutoDefault(false);
  grid->addWidget(advanced, 4, 1, Qt::AlignRight);
  grid->setRowStretch(5, 1);
  grid->setColumnStretch(1, 1);

  connect(car_id_, &QLineEdit::textEdited, this, [this](const QString& text) {
    const std::string utf8 = text.toStdString();
    // Only what the game's code page can hold may reach its files.
    if (!Utf8ToCodePage(utf8, GameCodePage(model_->UiTextLanguage()))) {
      SetCarIDText(model_->State().CarID);
      return;
    }
    model_->OnCarIDChange(utf8);
  });
  connect(generate, &QPushButton::clicked, this, [this] { model_->OnGenerateClick(); });
  connect(car_name_, &QLineEdit::textEdited, this,
          [this](const QString& text) { model_->OnCarNameChange(text.toStdString()); });
  connect(car_group_, &QComboBox::activated, this,
          [this](int index) { model_->OnCarGroupClick(index); });
  connect(paintings_, &QSlider::valueChanged, this, [this](int value) {
    paintings_value_->setNum(value);
    model_->OnPaintingsChange(value);
  });
  connect(advanced, &QPushButton::clicked, this, [this] { model_->OnAdvancedClick(); });
  return page;
}

QWidget* frmMain::BuildPartsPage() {
  auto* page = new QWidget(this);
  auto* layout = new QHBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  auto frame = [&](const char* name, auto& boxes, const char* box_name, auto handler) {
    auto* group = new QGroupBox(page);
    group->setObjectName(name);
    auto* column = new QVBoxLayout(group);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      auto* box = new QCheckBox(group);
      box->setObjectName(Name(box_name, static_cast<int>(i)));
      boxes[i] = box;
      column->addWidget(box);
      connect(box, &QCheckBox::clicked, this, [this, i, handler](bool checked) {
        (model_.get()->*handler)(static_cast<int>(i), checked);
      });
    }
    column->addStretch(1);
    layout->addWidget(group, 1, Qt::AlignTop);
  };
  frame("fraParts", parts_, "chkParts", &WizardModel::OnPartClick);
  frame("fraAnimParts", anim_parts_, "chkAnimParts", &WizardModel::OnAnimPartClick);
  return page;
}

QWidget* frmMain::BuildWheelsPage() {
  auto* page = new QWidget(this);
  auto* grid = new QGridLayout(page);
  grid->setContentsMargins(16, 0, 0, 0);
  constexpr int kRows = 5;  // read down each column, in bit order
  for (int i = 0; i < kWheelTypeCount; ++i) {
    auto* box = new QCheckBox(ToQt(kWheelTypes[static_cast<std::size_t>(i)].name), page);
    box->setObjectName(Name("chkWheels", i));
    wheels_[static_cast<std::size_t>(i)] = box;
    grid->addWidget(box, i % kRows, i / kRows);
    connect(box, &QCheckBox::clicked, this,
            [this, i](bool checked) { model_->OnWheelClick(i, checked); });
  }
  grid->setRowStretch(kRows, 1);
  return page;
}

QWidget* frmMain::BuildCarSelectionPage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  car_list_ = new QListWidget(page);
  car_list_->setObjectName("lstCarList");
  sfx_ = new QCheckBox(page);
  sfx_->setObjectName("chkSFX");
  layout->addWidget(car_list_, 1);
  layout->addWidget(sfx_);
  // A car counts as picked once it is selected (by a click or the keys); the
  // current row that the list sets by itself when it takes the focus does not.
  connect(car_list_, &QListWidget::itemSelectionChanged, this, [this] {
    const QList<QListWidgetItem*> selected = car_list_->selectedItems();
    if (!selected.isEmpty()) model_->OnCarListClick(car_list_->row(selected.front()));
  });
  connect(sfx_, &QCheckBox::clicked, this, [this](bool checked) { model_->OnSFXClick(checked); });
  return page;
}

void frmMain::Start() {
  model_->Start();
}

void frmMain::NavigationClicked(NavButton button) {
  wizard::ui::ClickNavButton(*model_, button);
}

void frmMain::BrowseClicked() {
  model_->OnBrowseClick();
}

bool frmMain::CloseRequested() {
  if (!model_->OnCloseRequest()) return false;
  if (advanced_) advanced_->hide();
  return true;
}

void frmMain::LocalizeWindow(Language language) {
  ui::LocalizeWindow(*this, WizardControlStrings(), language);
}

void frmMain::EndProgram() {
  if (advanced_) advanced_->hide();
  WizardFrame::EndProgram();
}

void frmMain::SelectTaskOption(int task) {
  if (task < 0 || task >= kTaskCount) return;
  const QSignalBlocker block(tasks_[static_cast<std::size_t>(task)]);
  tasks_[static_cast<std::size_t>(task)]->setChecked(true);
}

void frmMain::SetTaskOptionEnabled(int task, bool enabled) {
  if (task >= 0 && task < kTaskCount) tasks_[static_cast<std::size_t>(task)]->setEnabled(enabled);
}

void frmMain::SetTaskOptionVisible(int task, bool visible) {
  if (task >= 0 && task < kTaskCount) tasks_[static_cast<std::size_t>(task)]->setVisible(visible);
}

void frmMain::SetCarIDText(std::string_view text) {
  SetLineText(car_id_, text);
}

void frmMain::SetCarNameText(std::string_view text) {
  SetLineText(car_name_, text);
}

void frmMain::SetCarGroups(std::span<const std::string_view> groups) {
  const QSignalBlocker block(car_group_);
  car_group_->clear();
  for (const std::string_view group : groups) car_group_->addItem(ToQt(group));
}

void frmMain::SelectCarGroup(int index) {
  const QSignalBlocker block(car_group_);
  car_group_->setCurrentIndex(index);
}

void frmMain::SetPaintingsSlider(int value) {
  const QSignalBlocker block(paintings_);
  paintings_->setValue(value);
  paintings_value_->setNum(paintings_->value());
}

void frmMain::OpenAdvanced() {
  if (!advanced_) {
    advanced_ = std::make_unique<frmAdvanced>(this, AdvancedOptionsFor(model_->UiTextLanguage()));
  }
  advanced_->OpenOn(model_->Variants(), model_->State().CarID, model_->State().CarPaintingsCount,
                    [this](const CarVariants& variants) { model_->AcceptAdvanced(variants); });
}

QCheckBox* frmMain::Box(CheckGroup group, int index) const {
  if (index < 0) return nullptr;
  const auto i = static_cast<std::size_t>(index);
  switch (group) {
    case CheckGroup::kParts:
      return i < parts_.size() ? parts_[i] : nullptr;
    case CheckGroup::kAnimParts:
      return i < anim_parts_.size() ? anim_parts_[i] : nullptr;
    case CheckGroup::kWheels:
      return i < wheels_.size() ? wheels_[i] : nullptr;
  }
  return nullptr;
}

void frmMain::SetCheckBox(CheckGroup group, int index, CheckState state, bool enabled) {
  QCheckBox* box = Box(group, index);
  if (box == nullptr) return;
  const QSignalBlocker block(box);
  box->setTristate(state == CheckState::kGrey);
  box->setCheckState(state == CheckState::kGrey      ? Qt::PartiallyChecked
                     : state == CheckState::kChecked ? Qt::Checked
                                                     : Qt::Unchecked);
  box->setEnabled(enabled);
}

void frmMain::SetCarList(std::span<const std::string> cars) {
  const QSignalBlocker block(car_list_);
  car_list_->clear();
  for (const std::string& car : cars) car_list_->addItem(ToQt(car));
  car_list_->setCurrentRow(-1);
}

void frmMain::SetSFXVisible(bool visible) {
  sfx_->setVisible(visible);
}

}  // namespace wizard::ui
