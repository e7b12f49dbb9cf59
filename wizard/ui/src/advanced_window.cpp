// frmAdvanced: building the panels and forwarding the controls to the model.
#include "ui/advanced_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

#include "ui/control_texts.h"

namespace wizard::ui {

namespace {

QString ToQt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Name(std::string_view name, int index) {
  return QString::fromStdString(IndexedName(name, index));
}

// The boxes in the order the window fills them: group, name, dimensions,
// production, engine figures, drive, engine type, painting, price, weight,
// displacement.
constexpr AdvancedText kTextOrder[] = {AdvancedText::kCarName,    AdvancedText::kHeight,
                                       AdvancedText::kLength,     AdvancedText::kWidth,
                                       AdvancedText::kProduction, AdvancedText::kPower,
                                       AdvancedText::kTorque,     AdvancedText::kTorqueRPM,
                                       AdvancedText::kBuyPrice,   AdvancedText::kWeight};

std::string_view TextName(AdvancedText box) {
  switch (box) {
    case AdvancedText::kCarName:
      return "CarName";
    case AdvancedText::kProduction:
      return "Production";
    case AdvancedText::kPower:
      return "Power";
    case AdvancedText::kTorque:
      return "Torque";
    case AdvancedText::kTorqueRPM:
      return "TorqueRPM";
    case AdvancedText::kHeight:
      return "Height";
    case AdvancedText::kLength:
      return "Length";
    case AdvancedText::kWidth:
      return "Width";
    case AdvancedText::kBuyPrice:
      return "BuyPrice";
    case AdvancedText::kWeight:
      return "Weight";
    case AdvancedText::kEngineType:
      return "EngineType";
  }
  return "";
}

char DecimalSeparator(const QLocale& locale) {
  const QString point = locale.decimalPoint();
  if (point.size() == 1 && point[0].unicode() < 0x80) return static_cast<char>(point[0].unicode());
  return '.';
}

}  // namespace

frmAdvanced::frmAdvanced(QWidget* main_window, AdvancedOptions options)
    : QDialog(nullptr), main_window_(main_window), model_(*this, options) {
  setObjectName("frmAdvanced");
  setWindowModality(Qt::ApplicationModal);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  auto* layout = new QVBoxLayout(this);
  tabs_ = new QTabBar(this);
  tabs_->setObjectName("tbsOptions");
  tabs_->setExpanding(false);
  for (int t = 0; t < kAdvancedTabCount; ++t) tabs_->addTab(QString());
  layout->addWidget(tabs_);

  // The panels share one place; the model shows one at a time.
  auto* panel_area = new QFrame(this);
  panel_area->setFrameShape(QFrame::StyledPanel);
  auto* stack = new QGridLayout(panel_area);
  for (int i = 0; i < static_cast<int>(kCarVariantCount); ++i) {
    BuildPanel(i);
    stack->addWidget(panels_[static_cast<std::size_t>(i)].panel, 0, 0);
  }
  layout->addWidget(panel_area, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  ok_ = new QPushButton("OK", this);
  ok_->setObjectName("cmdOK");
  cancel_ = new QPushButton("Cancel", this);
  cancel_->setObjectName("cmdCancel");
  for (QPushButton* button : {ok_, cancel_}) {
    button->setAutoDefault(false);
    button->setDefault(false);
    buttons->addWidget(button);
  }
  layout->addLayout(buttons);

  connect(tabs_, &QTabBar::currentChanged, this, [this](int tab) { model_.OnTabClick(tab); });
  connect(ok_, &QPushButton::clicked, this, [this] { model_.OnOK(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { model_.OnCancel(); });

  // The window previews the keys of every control (Ctrl+Tab), and sees the
  // focus leave the power and weight boxes.
  installEventFilter(this);
  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

void frmAdvanced::BuildPanel(int i) {
  Panel& p = panels_[static_cast<std::size_t>(i)];
  p.panel = new QWidget(this);
  p.panel->setObjectName(Name("picOptions", i));
  auto* layout = new QVBoxLayout(p.panel);
  p.enabled = new QCheckBox(p.panel);
  p.enabled->setObjectName(Name("chkEnabled", i));
  layout->addWidget(p.enabled);
  p.fields = new QFrame(p.panel);
  p.fields->setObjectName(Name("fraCarParam", i));
  layout->addWidget(p.fields);
  layout->addStretch(1);

  auto* grid = new QGridLayout(p.fields);
  grid->setContentsMargins(0, 4, 0, 0);
  grid->setHorizontalSpacing(10);
  grid->setColumnMinimumWidth(2, 16);
  auto combo = [&](std::string_view name, bool editable) {
    auto* box = new QComboBox(p.fields);
    box->setObjectName(Name(name, i));
    box->setEditable(editable);
    if (editable) box->setInsertPolicy(QComboBox::NoInsert);
    return box;
  };
  p.group = combo("cboCarGroup", false);
  p.drive = combo("cboWheelDrive", false);
  p.displacement = combo("cboDisplacement", false);
  p.painting = combo("cboPainting", false);
  p.engine_type = combo("cboEngineType", true);
  for (const AdvancedText box : kTextOrder) {
    auto* edit = new QLineEdit(p.fields);
    edit->setObjectName(Name(std::string("txt") + std::string(TextName(box)), i));
    edit->setMaxLength(AdvancedTextLimit(box));
    edit->setAlignment(AdvancedTextRightAligned(box) ? Qt::AlignRight : Qt::AlignLeft);
    p.texts[static_cast<std::size_t>(box)] = edit;
  }
  p.texts[static_cast<std::size_t>(AdvancedText::kEngineType)] = p.engine_type->lineEdit();
  p.turbo = new QCheckBox(p.fields);
  p.turbo->setObjectName(Name("chkTurbo", i));

  // Two columns, read down the first and then the second, in the order the
  // window fills its controls.
  auto text = [&](AdvancedText box) -> QWidget* { return p.texts[static_cast<std::size_t>(box)]; };
  const std::pair<std::string_view, QWidget*> rows[] = {
      {"lblCarGroup", p.group},
      {"lblCarName", text(AdvancedText::kCarName)},
      {"lblHeight", text(AdvancedText::kHeight)},
      {"lblLength", text(AdvancedText::kLength)},
      {"lblWidth", text(AdvancedText::kWidth)},
      {"lblProduction", text(AdvancedText::kProduction)},
      {"lblPower", text(AdvancedText::kPower)},
      {"lblTorque", text(AdvancedText::kTorque)},
      {"lblTorqueRPM", text(AdvancedText::kTorqueRPM)},
      {"lblWheelDrive", p.drive},
      {"lblEngineType", p.engine_type},
      {"lblPainting", p.painting},
      {"lblBuyPrice", text(AdvancedText::kBuyPrice)},
      {"lblWeight", text(AdvancedText::kWeight)},
      {"lblDisplacement", p.displacement},
  };
  constexpr int kRowsPerColumn = 8;
  int row = 0;
  for (const auto& [label_name, control] : rows) {
    auto* label = new QLabel(p.fields);
    label->setObjectName(Name(label_name, i));
    label->setBuddy(control);
    const int column = row < kRowsPerColumn ? 0 : 3;
    const int line = row % kRowsPerColumn;
    grid->addWidget(label, line, column);
    grid->addWidget(control, line, column + 1);
    ++row;
  }
  grid->addWidget(p.turbo, row % kRowsPerColumn, 4);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(4, 1);

  connect(p.enabled, &QCheckBox::clicked, this,
          [this, i](bool checked) { model_.OnEnabledClick(i, checked); });
  connect(p.turbo, &QCheckBox::clicked, this,
          [this, i](bool checked) { model_.OnTurboClick(i, checked); });
  connect(p.group, &QComboBox::activated, this,
          [this, i](int index) { model_.OnCarGroupClick(i, index); });
  connect(p.drive, &QComboBox::activated, this,
          [this, i](int index) { model_.OnWheelDriveClick(i, index); });
  connect(p.displacement, &QComboBox::activated, this,
          [this, i](int index) { model_.OnDisplacementClick(i, index); });
  connect(p.painting, &QComboBox::activated, this,
          [this, i](int index) { model_.OnPaintingClick(i, index); });
  connect(p.engine_type, &QComboBox::activated, this, [this, i, &p](int) {
    model_.OnTextChange(i, AdvancedText::kEngineType, p.engine_type->currentText().toStdString());
  });
  for (int b = 0; b < kAdvancedTextCount; ++b) {
    const auto box = static_cast<AdvancedText>(b);
    QLineEdit* edit = p.texts[static_cast<std::size_t>(b)];
    connect(edit, &QLineEdit::textEdited, this, [this, i, box](const QString& typed) {
      model_.OnTextChange(i, box, typed.toStdString());
    });
    if (box == AdvancedText::kPower || box == AdvancedText::kWeight) {
      connect(edit, &QLineEdit::editingFinished, this,
              [this, i, box, edit] { model_.OnTextValidate(i, box, edit->text().toStdString()); });
    }
  }
}

void frmAdvanced::OpenOn(const CarVariants& variants, std::string_view car_id, int paintings_count,
                         AdvancedModel::AcceptVariants accept) {
  model_.Open(variants, car_id, paintings_count, std::move(accept));
  show();
  raise();
  activateWindow();
}

bool frmAdvanced::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::ControlModifier) {
      model_.OnCtrlTab();
      return true;
    }
  } else if (event->type() == QEvent::FocusOut) {
    for (int i = 0; i < static_cast<int>(kCarVariantCount); ++i) {
      for (const AdvancedText box : {AdvancedText::kPower, AdvancedText::kWeight}) {
        QLineEdit* edit = panels_[static_cast<std::size_t>(i)].texts[static_cast<std::size_t>(box)];
        if (watched == edit) model_.OnTextValidate(i, box, edit->text().toStdString());
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

void frmAdvanced::closeEvent(QCloseEvent* event) {
  // The frame's close button is Cancel.
  if (model_.Loaded()) model_.OnCancel();
  event->accept();
}

void frmAdvanced::reject() {
  if (model_.Loaded()) model_.OnCancel();
}

QComboBox* frmAdvanced::List(int variant, AdvancedList list) const {
  const Panel& p = panels_.at(static_cast<std::size_t>(variant));
  switch (list) {
    case AdvancedList::kCarGroup:
      return p.group;
    case AdvancedList::kWheelDrive:
      return p.drive;
    case AdvancedList::kDisplacement:
      return p.displacement;
    case AdvancedList::kPainting:
      return p.painting;
    case AdvancedList::kEngineType:
      return p.engine_type;
  }
  return nullptr;
}

void frmAdvanced::SetCaption(std::string_view caption) {
  setWindowTitle(ToQt(caption));
}

void frmAdvanced::LocalizeWindow(Language language) {
  ui::LocalizeWindow(*this, AdvancedControlStrings(), language);
  constexpr std::uint16_t kStrCancel = 101;  // OK stays "OK" in every language
  const std::string_view cancel = StringText(kStrCancel, language);
  cancel_->setText(QString::fromUtf8(cancel.data(), static_cast<qsizetype>(cancel.size())));
}

void frmAdvanced::CentreOnScreen() {
  adjustSize();
  const QScreen* shown_on = main_window_ != nullptr ? main_window_->screen() : screen();
  if (shown_on == nullptr) return;
  const QRect area = shown_on->availableGeometry();
  move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}

void frmAdvanced::SetMainWindowEnabled(bool enabled) {
  if (main_window_ != nullptr) main_window_->setEnabled(enabled);
}

void frmAdvanced::CloseWindow() {
  hide();
}

void frmAdvanced::SetTabCaption(int tab, std::string_view caption) {
  tabs_->setTabText(tab, ToQt(caption));
}

void frmAdvanced::SelectTab(int tab) {
  const QSignalBlocker block(tabs_);
  tabs_->setCurrentIndex(tab);
}

void frmAdvanced::SetPanelShown(int panel, bool shown) {
  QWidget* widget = panels_.at(static_cast<std::size_t>(panel)).panel;
  widget->setVisible(shown);
  widget->setEnabled(shown);
}

void frmAdvanced::SetFieldsShown(int variant, bool shown) {
  QFrame* fields = panels_.at(static_cast<std::size_t>(variant)).fields;
  fields->setVisible(shown);
  fields->setEnabled(shown);
}

void frmAdvanced::SetCheck(int variant, AdvancedCheck check, bool checked) {
  const Panel& p = panels_.at(static_cast<std::size_t>(variant));
  QCheckBox* box = check == AdvancedCheck::kEnabled ? p.enabled : p.turbo;
  const QSignalBlocker block(box);
  box->setChecked(checked);
}

void frmAdvanced::SetText(int variant, AdvancedText box, std::string_view text) {
  QLineEdit* edit =
      panels_.at(static_cast<std::size_t>(variant)).texts.at(static_cast<std::size_t>(box));
  const QSignalBlocker block(edit);
  edit->setText(ToQt(text));
  edit->setCursorPosition(static_cast<int>(edit->text().size()));
}

void frmAdvanced::SetToolTip(int variant, AdvancedText box, std::string_view text) {
  panels_.at(static_cast<std::size_t>(variant))
      .texts.at(static_cast<std::size_t>(box))
      ->setToolTip(ToQt(text));
}

void frmAdvanced::SetListItems(int variant, AdvancedList list, std::span<const std::string> items) {
  QComboBox* combo = List(variant, list);
  const QSignalBlocker block(combo);
  const QString text = combo->isEditable() ? combo->currentText() : QString();
  combo->clear();
  for (const std::string& item : items) combo->addItem(QString::fromStdString(item));
  combo->setCurrentIndex(-1);
  if (combo->isEditable()) combo->setEditText(text);
}

void frmAdvanced::SelectListItem(int variant, AdvancedList list, int index) {
  QComboBox* combo = List(variant, list);
  const QSignalBlocker block(combo);
  combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

AdvancedOptions AdvancedOptionsFor(Language language) {
  return AdvancedOptions{language, DecimalSeparator(QLocale())};
}

}  // namespace wizard::ui
