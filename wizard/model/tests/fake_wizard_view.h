// Test doubles of the wizard's seams: a view that answers dialogs from a
// script and records what was shown, a launcher that records its calls, and a
// package header source with headers given per path.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/operation_launcher.h"
#include "model/package_header_source.h"
#include "model/wizard_model.h"
#include "model/wizard_view.h"

namespace wizard::testing {

struct ShownMessage {
  std::string title;
  std::string text;
};

struct AskedQuestion {
  std::string title;
  std::string text;
  QuestionButtons buttons;
};

struct CheckBox {
  CheckState state = CheckState::kUnchecked;
  bool enabled = true;
};

class FakeWizardView : public WizardView {
 public:
  // Answers given in advance; a dialog without a scripted answer fails the
  // test and is cancelled.
  std::deque<bool> answers;
  std::deque<std::string> folder_picks;
  std::deque<std::optional<std::string>> file_picks;

  // What was shown.
  std::string caption;
  std::vector<int> pages_shown;  // every page switched to, in order
  std::string title, subtitle, description;
  std::array<bool, kNavButtonCount> nav_enabled{};
  std::array<bool, kNavButtonCount> nav_visible{true, true, true, true, true};
  std::string game_folder_label;
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
  std::vector<std::string> actions;  // lblAction, in order
  std::vector<ShownMessage> errors;
  std::vector<AskedQuestion> questions;
  std::vector<std::string> folder_pick_titles;
  std::vector<FileDialogRequest> save_requests, open_requests;
  int advanced_opened = 0;
  int localized = 0;
  int ended = 0;

  bool NavEnabled(NavButton b) const { return nav_enabled[static_cast<std::size_t>(b)]; }
  CheckBox Box(CheckGroup g, int i) const {
    auto it = check_boxes.find({g, i});
    return it == check_boxes.end() ? CheckBox{} : it->second;
  }

  void SetCaption(std::string_view text) override { caption = text; }
  void LocalizeWindow(Language) override { ++localized; }
  void EndProgram() override { ++ended; }
  void SwitchPage(int, int shown_page) override { pages_shown.push_back(shown_page); }
  void SetTitles(std::string_view t, std::string_view s, std::string_view d) override {
    title = t;
    subtitle = s;
    description = d;
  }
  void SetNavButtonEnabled(NavButton b, bool e) override {
    nav_enabled[static_cast<std::size_t>(b)] = e;
  }
  void SetNavButtonVisible(NavButton b, bool v) override {
    nav_visible[static_cast<std::size_t>(b)] = v;
  }
  void SetGameFolderLabel(std::string_view text) override { game_folder_label = text; }
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
  void SetProgress(double) override {}
  void SetActionText(std::string_view text) override { actions.emplace_back(text); }
  void RefreshWindow() override {}
  void ShowErrorBox(std::string_view t, std::string_view text) override {
    errors.push_back({std::string(t), std::string(text)});
  }
  bool AskQuestion(std::string_view t, std::string_view text, QuestionButtons b) override {
    questions.push_back({std::string(t), std::string(text), b});
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected question: " << text;
      return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::string PickFolder(std::string_view t) override {
    folder_pick_titles.emplace_back(t);
    if (folder_picks.empty()) {
      ADD_FAILURE() << "unexpected folder picker";
      return {};
    }
    std::string pick = folder_picks.front();
    folder_picks.pop_front();
    return pick;
  }
  std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override {
    save_requests.push_back(request);
    return NextFile();
  }
  std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override {
    open_requests.push_back(request);
    return NextFile();
  }

 private:
  std::optional<std::string> NextFile() {
    if (file_picks.empty()) {
      ADD_FAILURE() << "unexpected file dialog";
      return std::nullopt;
    }
    std::optional<std::string> pick = file_picks.front();
    file_picks.pop_front();
    return pick;
  }
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
