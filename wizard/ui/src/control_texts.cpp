// The control tables of frmMain and frmAdvanced and their localisation.
#include "control_texts.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>
#include <string>
#include <vector>

#include "model/localize.h"

namespace wizard::ui {

namespace {

constexpr ControlText kMainWindowTexts[] = {
    {"cmdNav(0)", 100},    {"cmdNav(1)", 101},       {"cmdNav(2)", 102},
    {"cmdNav(3)", 103},    {"cmdNav(4)", 104},       {"fraGameFolder", 203},
    {"btnBrowse", 204},    {"optTask(0)", 303},      {"optTask(1)", 304},
    {"optTask(2)", 305},   {"optTask(3)", 306},      {"optTask(4)", 307},
    {"lblCarID", 403},     {"lblCarName", 404},      {"lblCarGroup", 405},
    {"lblPaintings", 406}, {"btnGenerate", 407},     {"btnAdvanced", 408},
    {"fraParts", 510},     {"chkParts(0)", 511},     {"chkParts(1)", 512},
    {"chkParts(2)", 513},  {"chkParts(3)", 514},     {"chkParts(4)", 515},
    {"fraAnimParts", 520}, {"chkAnimParts(0)", 521}, {"chkAnimParts(1)", 522},
    {"lblInfo", 803},      {"chkSFX", 903},
};

constexpr ControlText kAdvancedWindowTexts[] = {
    {"chkEnabled(i)", 11001},    {"chkTurbo(i)", 11002},      {"lblHeight(i)", 11003},
    {"lblLength(i)", 11004},     {"lblWidth(i)", 11005},      {"lblProduction(i)", 11006},
    {"lblPower(i)", 11007},      {"lblTorque(i)", 11008},     {"lblTorqueRPM(i)", 11009},
    {"lblWheelDrive(i)", 11010}, {"lblEngineType(i)", 11011}, {"lblPainting(i)", 11012},
    {"lblBuyPrice(i)", 11013},   {"lblWeight(i)", 11014},     {"lblDisplacement(i)", 11015},
    {"lblCarName(i)", 404},      {"lblCarGroup(i)", 405},     {"cmdCancel", 101},
};

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

std::span<const ControlText> MainWindowTexts() {
  return kMainWindowTexts;
}

std::span<const ControlText> AdvancedWindowTexts() {
  return kAdvancedWindowTexts;
}

std::string IndexedName(std::string_view name, int index) {
  return std::string(name) + "(" + std::to_string(index) + ")";
}

void LocalizeWindow(QWidget& root, std::span<const ControlText> table, Language language) {
  // The widgets the table names, in the order of the form tree's controls.
  std::vector<QWidget*> widgets;
  FormWindow form;
  const auto add = [&](const std::string& name, std::uint16_t id) {
    QWidget* widget = root.findChild<QWidget*>(QString::fromStdString(name));
    if (widget == nullptr) return;
    FormControl control;
    control.tag = std::to_string(id);
    control.caption = std::string();
    control.handle = widgets.size();
    widgets.push_back(widget);
    form.controls.push_back(std::move(control));
  };
  for (const ControlText& entry : table) {
    const std::string name(entry.object_name);
    if (name.size() > 3 && name.compare(name.size() - 3, 3, "(i)") == 0) {
      for (int i = 0; i < 5; ++i) add(IndexedName(name.substr(0, name.size() - 3), i), entry.id);
    } else {
      add(name, entry.id);
    }
  }
  LocalizeForm(form, language);
  for (const FormControl& control : form.controls) {
    SetCaption(widgets[control.handle], QString::fromStdString(control.caption.value_or("")));
  }
}

}  // namespace wizard::ui
