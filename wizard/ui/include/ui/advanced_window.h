// frmAdvanced, the advanced window: the tab strip tbsOptions with one tab per
// variant (AB11 .. AB15 for car AB1), the panels picOptions(i) with each
// variant's controls, OK and Cancel. A thin Qt shell over AdvancedModel: user
// actions go to the model, the model sets the controls through AdvancedView.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "model/advanced_model.h"
#include "model/advanced_view.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QTabBar;

namespace wizard::ui {

class frmAdvanced : public QDialog, public AdvancedView {
 public:
  // `main_window` is disabled while this window is open.
  frmAdvanced(QWidget* main_window, AdvancedOptions options);

  // Opens the window on `variants` (see AdvancedModel::Open); returns at once.
  void OpenOn(const CarVariants& variants, std::string_view car_id, int paintings_count,
              AdvancedModel::AcceptVariants accept);

  AdvancedModel& Model() { return model_; }

  // AdvancedView.
  void SetCaption(std::string_view caption) override;
  void LocalizeWindow(Language language) override;
  void CentreOnScreen() override;
  void SetMainWindowEnabled(bool enabled) override;
  void CloseWindow() override;
  void SetTabCaption(int tab, std::string_view caption) override;
  void SelectTab(int tab) override;
  void SetPanelShown(int panel, bool shown) override;
  void SetFieldsShown(int variant, bool shown) override;
  void SetCheck(int variant, AdvancedCheck check, bool checked) override;
  void SetText(int variant, AdvancedText box, std::string_view text) override;
  void SetToolTip(int variant, AdvancedText box, std::string_view text) override;
  void SetListItems(int variant, AdvancedList list, std::span<const std::string> items) override;
  void SelectListItem(int variant, AdvancedList list, int index) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  struct Panel {
    QWidget* panel = nullptr;  // picOptions(i)
    QFrame* fields = nullptr;  // fraCarParam(i)
    QCheckBox* enabled = nullptr;
    QCheckBox* turbo = nullptr;
    std::array<QLineEdit*, kAdvancedTextCount> texts{};  // cboEngineType's own edit included
    QComboBox* group = nullptr;
    QComboBox* drive = nullptr;
    QComboBox* displacement = nullptr;
    QComboBox* painting = nullptr;
    QComboBox* engine_type = nullptr;
  };

  void BuildPanel(int i);
  QComboBox* List(int variant, AdvancedList list) const;

  QWidget* main_window_;
  AdvancedModel model_;
  QTabBar* tabs_ = nullptr;
  std::array<Panel, kCarVariantCount> panels_{};
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

// The advanced window's options in `language`, with the decimal separator of
// the user's locale for its numeric test.
AdvancedOptions AdvancedOptionsFor(Language language);

}  // namespace wizard::ui
