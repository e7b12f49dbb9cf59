// A wizard frame view for the tests of the models above the ops layer
// (Carwright's wizard model, Quorvex's model): it answers dialogs from a script
// and records what was shown. A dialog without a scripted answer fails the
// test and is cancelled.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ops/wizard_frame_view.h"

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

class FakeFrameView : public virtual WizardFrameView {
 public:
  // Answers given in advance, first first.
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
  std::vector<double> progress;      // prgsAction, in order
  std::vector<std::string> actions;  // lblAction, in order
  std::vector<ShownMessage> errors;
  std::vector<AskedQuestion> questions;
  std::vector<std::string> folder_pick_titles;
  std::vector<FileDialogRequest> save_requests, open_requests;
  int localized = 0;
  int ended = 0;

  bool NavEnabled(NavButton b) const { return nav_enabled[static_cast<std::size_t>(b)]; }

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
  void SetProgress(double value) override { progress.push_back(value); }
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

}  // namespace wizard::testing
