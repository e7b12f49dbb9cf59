// A recording double of the advanced window's screen: the state of every
// control as the model last set it.
#pragma once

#include <array>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "model/advanced_view.h"
#include "ops/car_variants.h"

namespace wizard::testing {

class FakeAdvancedView : public AdvancedView {
 public:
  struct Panel {
    bool shown = false;         // picOptions(i)
    bool fields_shown = false;  // fraCarParam(i)
    std::map<AdvancedCheck, bool> checks;
    std::map<AdvancedText, std::string> texts;
    std::map<AdvancedText, std::string> tool_tips;
    std::map<AdvancedList, std::vector<std::string>> lists;
    std::map<AdvancedList, int> selected;
  };

  void SetCaption(std::string_view text) override { caption = text; }
  void LocalizeWindow(Language language) override { localized.push_back(language); }
  void CentreOnScreen() override { ++centred; }
  void SetMainWindowEnabled(bool enabled) override { main_enabled = enabled; }
  void CloseWindow() override { open = false; }
  void SetTabCaption(int tab, std::string_view text) override { tabs.at(tab) = text; }
  void SelectTab(int tab) override { selected_tab = tab; }
  void SetPanelShown(int panel, bool shown) override { panels.at(panel).shown = shown; }
  void SetFieldsShown(int variant, bool shown) override { panels.at(variant).fields_shown = shown; }
  void SetCheck(int variant, AdvancedCheck check, bool checked) override {
    panels.at(variant).checks[check] = checked;
  }
  void SetText(int variant, AdvancedText box, std::string_view text) override {
    panels.at(variant).texts[box] = text;
    ++text_sets;
  }
  void SetToolTip(int variant, AdvancedText box, std::string_view text) override {
    panels.at(variant).tool_tips[box] = text;
  }
  void SetListItems(int variant, AdvancedList list, std::span<const std::string> items) override {
    panels.at(variant).lists[list].assign(items.begin(), items.end());
    panels.at(variant).selected[list] = -1;
  }
  void SelectListItem(int variant, AdvancedList list, int index) override {
    panels.at(variant).selected[list] = index;
  }

  std::string caption;
  std::vector<Language> localized;
  int centred = 0;
  bool main_enabled = true;
  bool open = true;
  int text_sets = 0;
  int selected_tab = -1;
  std::array<std::string, kCarVariantCount> tabs;
  std::array<Panel, kCarVariantCount> panels;
};

}  // namespace wizard::testing
