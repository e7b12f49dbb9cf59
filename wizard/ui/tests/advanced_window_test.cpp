// frmAdvanced driven through its widgets: limits and alignment, Ctrl+Tab from
// a text box, the number boxes, the name box, the group reset, hiding a
// variant's fields, the close button.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QTabBar>

#include "ui/advanced_window.h"
#include "ui_test_support.h"

namespace wizard::ui::testing {
namespace {

class AdvancedWindowUi : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    ResetCarVariants(variants_);
    main_window_ = std::make_unique<QWidget>();
    main_window_->setObjectName("frmMain");
    main_window_->show();
  }

  frmAdvanced& Open(int paintings = 1, Language language = Language::kEnglish) {
    window_ = std::make_unique<frmAdvanced>(main_window_.get(), AdvancedOptions{language, '.'});
    window_->OpenOn(variants_, "AB1", paintings,
                    [this](const CarVariants& accepted) { accepted_ = accepted; });
    return *window_;
  }

  void TearDown() override {
    window_.reset();
    main_window_.reset();
  }

  std::unique_ptr<QWidget> main_window_;  // after the application object
  CarVariants variants_{};
  std::unique_ptr<frmAdvanced> window_;
  std::optional<CarVariants> accepted_;
};

TEST_F(AdvancedWindowUi, ShowsTheVariantsWithTheirLimitsAlignmentAndToolTips) {
  frmAdvanced& window = Open(2);
  EXPECT_FALSE(main_window_->isEnabled());
  EXPECT_EQ(window.windowTitle().toStdString(), "Advanced");
  auto* tabs = Find<QTabBar>(window, "tbsOptions");
  ASSERT_NE(tabs, nullptr);
  ASSERT_EQ(tabs->count(), 5);
  for (int t = 0; t < 5; ++t)
    EXPECT_EQ(tabs->tabText(t).toStdString(), "AB1" + std::to_string(t + 1));
  EXPECT_TRUE(Find<QWidget>(window, "picOptions(0)")->isVisible());
  EXPECT_FALSE(Find<QWidget>(window, "picOptions(1)")->isVisible());
  EXPECT_FALSE(Find<QWidget>(window, "fraCarParam(1)")->isVisibleTo(&window));

  const struct {
    const char* name;
    int limit;
    bool right;
  } boxes[] = {{"txtCarName(0)", 20, false}, {"txtProduction(0)", 12, false},
               {"txtPower(0)", 3, true},     {"txtTorque(0)", 3, true},
               {"txtWeight(0)", 4, true},    {"txtTorqueRPM(0)", 4, true},
               {"txtHeight(0)", 4, true},    {"txtLength(0)", 4, true},
               {"txtWidth(0)", 4, true},     {"txtBuyPrice(0)", 6, true}};
  for (const auto& box : boxes) {
    auto* edit = Find<QLineEdit>(window, box.name);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->maxLength(), box.limit) << box.name;
    EXPECT_EQ(bool(edit->alignment() & Qt::AlignRight), box.right) << box.name;
  }
  EXPECT_EQ(Find<QLineEdit>(window, "txtPower(3)")->toolTip().toStdString(), "30 - 700");
  EXPECT_EQ(Find<QLineEdit>(window, "txtWeight(3)")->toolTip().toStdString(), "700 - 1600");
  auto* painting = Find<QComboBox>(window, "cboPainting(4)");
  ASSERT_EQ(painting->count(), 2);
  EXPECT_EQ(painting->itemText(1).toStdString(), "2");
  EXPECT_TRUE(Find<QComboBox>(window, "cboEngineType(0)")->isEditable());
  EXPECT_EQ(TextOf(window, "lblPower(0)"), "Power [bhp]");
  EXPECT_EQ(TextOf(window, "lblDisplacement(4)"), "Displacement [ccm]");
  EXPECT_EQ(TextOf(window, "chkEnabled(2)"), "Enable");
}

TEST_F(AdvancedWindowUi, CtrlTabCyclesTheTabsFromInsideATextBox) {
  frmAdvanced& window = Open();
  auto* tabs = Find<QTabBar>(window, "tbsOptions");
  auto* name = Find<QLineEdit>(window, "txtCarName(0)");
  name->setFocus();
  QTest::keyClick(name, Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(tabs->currentIndex(), 1);
  EXPECT_TRUE(Find<QWidget>(window, "picOptions(1)")->isVisible());
  EXPECT_FALSE(Find<QWidget>(window, "picOptions(0)")->isVisible());
  EXPECT_EQ(name->text().toStdString(), "Custom Car 1");  // the box took no tab
  for (int i = 0; i < 4; ++i) QTest::keyClick(&window, Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(tabs->currentIndex(), 0);
  // A click on a tab shows its panel too.
  tabs->setCurrentIndex(3);
  EXPECT_TRUE(Find<QWidget>(window, "picOptions(3)")->isVisible());
}

TEST_F(AdvancedWindowUi, NumberBoxesRestoreLettersAndClampPowerAndWeight) {
  frmAdvanced& window = Open();
  auto* height = Find<QLineEdit>(window, "txtHeight(0)");
  height->setFocus();
  height->end(false);
  QTest::keyClicks(height, "x");
  EXPECT_EQ(height->text().toStdString(), "1400");

  TypeOver(window, "txtPower(0)", "5");
  QTest::keyClick(Find<QLineEdit>(window, "txtPower(0)"), Qt::Key_Return);
  EXPECT_EQ(TextOf(window, "txtPower(0)"), "30");
  TypeOver(window, "txtPower(0)", "900");
  // Leaving the box validates it.
  Find<QLineEdit>(window, "txtWeight(0)")->setFocus();
  QTest::keyClick(Find<QLineEdit>(window, "txtPower(0)"), Qt::Key_Return);
  EXPECT_EQ(TextOf(window, "txtPower(0)"), "700");
  TypeOver(window, "txtWeight(0)", "2000");
  QTest::keyClick(Find<QLineEdit>(window, "txtWeight(0)"), Qt::Key_Return);
  EXPECT_EQ(TextOf(window, "txtWeight(0)"), "1600");
  EXPECT_TRUE(window.isVisible());  // Return did not press OK

  Click(window, "cmdOK");
  ASSERT_TRUE(accepted_);
  EXPECT_EQ((*accepted_)[0].Power, 700);
  EXPECT_EQ((*accepted_)[0].Weight, 1600);
  EXPECT_TRUE(main_window_->isEnabled());
}

TEST_F(AdvancedWindowUi, NameBoxRefusesQuotesAndAmpersandsWithTheCaretAtTheEnd) {
  frmAdvanced& window = Open();
  auto* name = Find<QLineEdit>(window, "txtCarName(0)");
  name->setFocus();
  name->setCursorPosition(3);
  QTest::keyClicks(name, "\"");
  EXPECT_EQ(name->text().toStdString(), "Custom Car 1");
  EXPECT_EQ(name->cursorPosition(), name->text().size());
  name->setCursorPosition(0);
  QTest::keyClicks(name, "&");
  EXPECT_EQ(name->text().toStdString(), "Custom Car 1");
  EXPECT_EQ(name->cursorPosition(), name->text().size());
  TypeOver(window, "txtCarName(0)", "Gravel King");
  EXPECT_EQ(window.Model().Working()[0].Name, "Gravel King");
}

TEST_F(AdvancedWindowUi, GroupShowsItsDefaultsAtOnceAndHiddenFieldsKeepTheirValues) {
  variants_[1].Enabled = true;
  frmAdvanced& window = Open();
  QTest::keyClick(&window, Qt::Key_Tab, Qt::ControlModifier);
  TypeOver(window, "txtLength(1)", "4100");
  auto* group = Find<QComboBox>(window, "cboCarGroup(1)");
  group->setCurrentIndex(7);
  emit group->activated(7);
  EXPECT_EQ(TextOf(window, "txtPower(1)"), "330");
  EXPECT_EQ(TextOf(window, "txtLength(1)"), "3800");
  EXPECT_EQ(Find<QComboBox>(window, "cboDisplacement(1)")->currentText().toStdString(), "2400");
  EXPECT_EQ(Find<QComboBox>(window, "cboEngineType(1)")->currentText().toStdString(), "SOHC/2");

  TypeOver(window, "txtLength(1)", "4200");
  Click(window, "chkEnabled(1)");
  EXPECT_FALSE(Find<QWidget>(window, "fraCarParam(1)")->isVisible());
  Click(window, "chkEnabled(1)");
  EXPECT_TRUE(Find<QWidget>(window, "fraCarParam(1)")->isVisible());
  EXPECT_EQ(TextOf(window, "txtLength(1)"), "4200");
  EXPECT_EQ(window.Model().Working()[1].Length, 4200);
}

TEST_F(AdvancedWindowUi, CloseButtonAndCancelDropTheEdits) {
  frmAdvanced& window = Open();
  TypeOver(window, "txtCarName(0)", "Dropped");
  window.close();
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(main_window_->isEnabled());
  EXPECT_FALSE(accepted_);

  frmAdvanced& again = Open();
  EXPECT_EQ(TextOf(again, "txtCarName(0)"), "Custom Car 1");
  TypeOver(again, "txtCarName(0)", "Dropped too");
  Click(again, "cmdCancel");
  EXPECT_FALSE(again.isVisible());
  EXPECT_TRUE(main_window_->isEnabled());
  EXPECT_FALSE(accepted_);
}

TEST_F(AdvancedWindowUi, PolishLabels) {
  frmAdvanced& window = Open(1, Language::kPolish);
  EXPECT_EQ(window.windowTitle().toStdString(), "Zaawansowane");
  EXPECT_EQ(TextOf(window, "chkEnabled(0)"), "Włącz");
  EXPECT_EQ(TextOf(window, "lblWeight(0)"), "Waga [kg]");
  EXPECT_EQ(TextOf(window, "lblCarName(0)"), "Nazwa Samochodu");
  EXPECT_EQ(TextOf(window, "cmdCancel"), "Anuluj");
}

}  // namespace
}  // namespace wizard::ui::testing
