// The control tables against the wizard's design: which control shows which
// text on which page.
#include "ops/control_table.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "ops/wizard_frame_view.h"

namespace wizard {
namespace {

std::map<std::string, std::uint16_t> AsMap(const std::vector<ControlString>& entries) {
  std::map<std::string, std::uint16_t> out;
  for (const ControlString& e : entries) out[std::string(e.control)] = e.id;
  return out;
}

TEST(ControlTable, NavigationButtonsOnEveryPage) {
  for (int page = 0; page < kPageCount; ++page) {
    const auto controls = AsMap(PageControlStrings(page));
    EXPECT_EQ(controls.at("cmdNav(0)"), 100) << page;
    EXPECT_EQ(controls.at("cmdNav(1)"), 101) << page;
    EXPECT_EQ(controls.at("cmdNav(2)"), 102) << page;
    EXPECT_EQ(controls.at("cmdNav(3)"), 103) << page;
    EXPECT_EQ(controls.at("cmdNav(4)"), 104) << page;
  }
  EXPECT_EQ(StringText(*WizardControlStringId("cmdNav(3)"), Language::kEnglish), "Next >");
  EXPECT_EQ(StringText(*WizardControlStringId("cmdNav(3)"), Language::kPolish), "Dalej >");
}

TEST(ControlTable, ControlsOfEachPage) {
  using Map = std::map<std::string, std::uint16_t>;
  const Map nav = AsMap(PageControlStrings(kEveryPage));
  const auto own = [&](int page) {
    Map controls = AsMap(PageControlStrings(page));
    for (const auto& [name, id] : nav) controls.erase(name);
    return controls;
  };
  EXPECT_EQ(own(kPageGameFolder), (Map{{"fraGameFolder", 203}, {"btnBrowse", 204}}));
  EXPECT_EQ(own(kPageOperation), (Map{{"optTask(0)", 303},
                                      {"optTask(1)", 304},
                                      {"optTask(2)", 305},
                                      {"optTask(3)", 306},
                                      {"optTask(4)", 307}}));
  EXPECT_EQ(own(kPageCarParameters), (Map{{"lblCarID", 403},
                                          {"lblCarName", 404},
                                          {"lblCarGroup", 405},
                                          {"lblPaintings", 406},
                                          {"btnGenerate", 407},
                                          {"btnAdvanced", 408}}));
  EXPECT_EQ(own(kPageParts), (Map{{"fraParts", 510},
                                  {"chkParts(0)", 511},
                                  {"chkParts(1)", 512},
                                  {"chkParts(2)", 513},
                                  {"chkParts(3)", 514},
                                  {"chkParts(4)", 515},
                                  {"fraAnimParts", 520},
                                  {"chkAnimParts(0)", 521},
                                  {"chkAnimParts(1)", 522}}));
  // The progress page's texts come from the run; the wheel boxes have fixed
  // captions.
  EXPECT_EQ(own(kPageProgress), Map{});
  EXPECT_EQ(own(kPageWheels), Map{});
  EXPECT_EQ(own(kPageReady), (Map{{"lblInfo", 803}}));
  EXPECT_EQ(own(kPageCarSelection), (Map{{"chkSFX", 903}}));
  EXPECT_EQ(own(kPageCount), Map{});
  EXPECT_EQ(WizardControlStringId("optTask(3)"), 306);
  EXPECT_EQ(WizardControlStringId("lstCarList"), std::nullopt);
  EXPECT_EQ(WizardControlStringId("optTask(5)"), std::nullopt);
}

TEST(ControlTable, EveryEntryNamesOneControlWithATextInBothLanguages) {
  for (const auto table : {WizardControlStrings(), AdvancedControlStrings()}) {
    std::set<std::string_view> names;
    for (const ControlString& e : table) {
      EXPECT_TRUE(names.insert(e.control).second) << e.control << " twice";
      for (const Language language : {Language::kEnglish, Language::kPolish}) {
        EXPECT_FALSE(ControlText(e, language).empty()) << e.control;
        EXPECT_NE(ControlText(e, language), "-") << e.control;  // no separator is shown
      }
    }
  }
}

TEST(ControlTable, AdvancedWindowLabelsOfEveryPanel) {
  std::map<std::string, std::uint16_t> controls;
  for (const ControlString& e : AdvancedControlStrings()) controls[std::string(e.control)] = e.id;
  EXPECT_EQ(controls.size(), 1u + 17u * 5u);
  EXPECT_EQ(controls.at("frmAdvanced"), 408);
  EXPECT_EQ(StringText(controls.at("frmAdvanced"), Language::kEnglish), "Advanced");
  for (int i = 0; i < 5; ++i) {
    const std::string n = "(" + std::to_string(i) + ")";
    EXPECT_EQ(controls.at("chkEnabled" + n), 11001);
    EXPECT_EQ(controls.at("chkTurbo" + n), 11002);
    EXPECT_EQ(controls.at("lblHeight" + n), 11003);
    EXPECT_EQ(controls.at("lblProduction" + n), 11006);
    EXPECT_EQ(controls.at("lblPower" + n), 11007);
    EXPECT_EQ(controls.at("lblDisplacement" + n), 11015);
    EXPECT_EQ(controls.at("lblCarName" + n), 404);
    EXPECT_EQ(controls.at("lblCarGroup" + n), 405);
  }
  EXPECT_EQ(StringText(controls.at("lblTorque(3)"), Language::kPolish), "Moment obr.[Nm]");
  // Every label id of the window is used.
  std::set<std::uint16_t> ids;
  for (const auto& [name, id] : controls) ids.insert(id);
  for (std::uint16_t id = 11001; id <= 11015; ++id) EXPECT_TRUE(ids.count(id)) << id;
}

}  // namespace
}  // namespace wizard
