// Test doubles of the wizard's seams: a view that answers dialogs from a
// script and records what was shown (on the shared fake frame view), a
// launcher that records its calls, and a package header source with headers
// given per path.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fake_frame_view.h"
#include "model/operation_launcher.h"
#include "model/package_header_source.h"
#include "model/wizard_model.h"
#include "model/wizard_view.h"

namespace wizard::testing {

struct CheckBox {
  CheckState state = CheckState::kUnchecked;
  bool enabled = true;
};

// The frame's part comes from FakeFrameView; this adds Carwright's pages.
class FakeWizardView : public FakeFrameView, public WizardView {
 public:
  int selected_task = -1;
  std::array<bool, kTaskCount> task_enabled{true, true, true, true, true};
  std::array<bool, kTaskCount> task_visible{true, true, true, true, true};
  std::string car_id_text, car_name_text;
  std::vector<std::string> car_groups;
  int selected_group = -1;
  int paintings_slider = 0;
  std::map<std::pair<CheckGroup, int>, CheckBox> check_boxes;
  std::vector<std::string> car_list;
  bool sfx_visible = false;
  int advanced_opened = 0;

  CheckBox Box(CheckGroup g, int i) const {
    auto it = check_boxes.find({g, i});
    return it == check_boxes.end() ? CheckBox{} : it->second;
  }

  void SelectTaskOption(int task) override { selected_task = task; }
  void SetTaskOptionEnabled(int task, bool e) override {
    task_enabled.at(static_cast<std::size_t>(task)) = e;
  }
  void SetTaskOptionVisible(int task, bool v) override {
    task_visible.at(static_cast<std::size_t>(task)) = v;
  }
  void SetCarIDText(std::string_view text) override { car_id_text = text; }
  void SetCarNameText(std::string_view text) override { car_name_text = text; }
  void SetCarGroups(std::span<const std::string_view> groups) override {
    car_groups.assign(groups.begin(), groups.end());
  }
  void SelectCarGroup(int index) override { selected_group = index; }
  void SetPaintingsSlider(int value) override { paintings_slider = value; }
  void OpenAdvanced() override { ++advanced_opened; }
  void SetCheckBox(CheckGroup g, int i, CheckState s, bool e) override {
    check_boxes[{g, i}] = CheckBox{s, e};
  }
  void SetCarList(std::span<const std::string> cars) override {
    car_list.assign(cars.begin(), cars.end());
  }
  void SetSFXVisible(bool v) override { sfx_visible = v; }
};

// Records each run: the page and operation the wizard was on. The run
// changes nothing: the outcome gives the list back as it was.
class RecordingLauncher : public OperationLauncher {
 public:
  struct Call {
    int step;
    int task;
  };
  std::vector<Call> calls;
  // What the window does while the run goes on (it processes events).
  std::function<void()> during_run;
  RunOutcome Launch(const WizardState& state, const CarVariants&, RunView&, Language) override {
    calls.push_back({state.Step, state.Task});
    if (during_run) during_run();
    return {true, 0, state.CustomCars};
  }
};

class FakePackageHeaders : public PackageHeaderSource {
 public:
  std::map<std::string, PackageHeaderInfo> headers;
  std::vector<std::string> reads;
  PackageHeaderInfo ReadPackageHeader(std::string_view path) override {
    reads.emplace_back(path);
    auto it = headers.find(std::string(path));
    return it == headers.end() ? PackageHeaderInfo{} : it->second;
  }
};

}  // namespace wizard::testing
