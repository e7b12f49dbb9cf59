// Quorvex without a screen: the extractor program's start-up, its pages 0
// (game folder), 6 (ready) and 4 (progress), the checks that gate Next, the
// replace question, the close question, and the run that installs the package
// at the end of Quorvex's own file. It drives the wizard frame view (the window,
// or the console standing in for it) and nothing more: page 7's car list does
// not exist in Quorvex's window, so the custom cars stay in the state. It
// stands on the base, ops and devuza layers only.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/game_folder_source.h"
#include "base/string_table.h"
#include "ops/operations.h"
#include "ops/wizard_frame_view.h"

namespace quorvex {

inline constexpr std::string_view kProgramName = "Quorvex";
inline constexpr std::string_view kCaption = "Quorvex (Carwright 0.96a)";

// Pages (the value of Step); page 7, the car selection, is never shown.
using wizard::kPageCarSelection;
using wizard::kPageGameFolder;
using wizard::kPageProgress;
using wizard::kPageReady;

// String ids Quorvex shows by name.
inline constexpr std::uint16_t kStrAreYouSure = 112;  // "Are you sure?"
inline constexpr std::uint16_t kStrReplaceCar = 117;  // "A car with this ID already exists. ..."
inline constexpr std::uint16_t kStrWarning = 118;     // "Warning"
inline constexpr std::uint16_t kStrSelectGameFolder = 205;  // "Select Gravelmoor directory"

// Quorvex's window state.
struct QuorvexState {
  std::int16_t Step = 0;
  std::int16_t Task = 0;
  std::string GameFolder;
  std::string CarID;
  std::string DEVUZA_FileName;
  std::string DEVUZA_CarID;
  std::vector<std::string> CustomCars;
};

// Every member has a working default.
struct QuorvexOptions {
  wizard::Language language = wizard::Language::kEnglish;
  // The game folder at start-up; null: FindGameFolder over this process's
  // environment.
  std::function<wizard::GameFolderLookup()> find_game_folder;
  // The file whose package is installed; empty: OwnProgramPath().
  std::filesystem::path program;
};

using wizard::kNavButtonCount;
using wizard::NavButton;
using wizard::QuestionButtons;

class QuorvexModel {
 public:
  explicit QuorvexModel(wizard::WizardFrameView& view, QuorvexOptions options = {});

  // The start-up: caption, Step and Task 0, page 0, texts, the game folder.
  void Start();
  // Shows page 0, 4, 6 or 7: navigation buttons, frame and titles; stores it
  // in Step. Other numbers are ignored.
  void ShowPage(int page);
  // Page 0: checks the game folder (10002), loads the custom cars, reads the
  // package header through the trailer of the program file and checks the ID
  // (question 117 when it is taken, reserved or invalid; an error naming the
  // program file when it cannot name a car folder); page 6: page 4.
  void GoNext();
  // From page 6 back to page 0; nothing elsewhere.
  void GoBack();
  // The install run of page 4, InstallPackage reading the package at the end
  // of the program file; then only Finish is enabled.
  void RunOperation();

  void OnBrowseClick();
  void OnCancelClick();  // the close question; Yes ends the program
  void OnBackClick();
  void OnNextClick();    // GoNext, then RunOperation when page 4 was reached
  void OnFinishClick();  // ends the program without a question
  // The window is being closed: true when it may close. Asks 112 "Are you
  // sure?", titled "Quorvex", unless Finish was pressed.
  bool OnCloseRequest();

  const QuorvexState& State() const { return state_; }
  QuorvexState& State() { return state_; }
  bool IsNavEnabled(NavButton button) const;
  // Why the last Next on page 0 stayed there without a message: the program
  // file holds no sound package header. Empty otherwise. The window stays
  // silent; the console prints it.
  const std::string& PackageProblem() const { return package_problem_; }
  // The outcome of the run, once RunOperation was called.
  const wizard::RunOutcome& Outcome() const { return outcome_; }
  bool HasRun() const { return has_run_; }
  std::string_view Text(std::uint16_t id) const;

 private:
  void SetNavButton(NavButton button, bool enabled);
  void ShowError(std::string_view text);
  void ShowGameFolder();
  void LeaveGameFolderPage();

  wizard::WizardFrameView& view_;
  QuorvexOptions options_;
  QuorvexState state_;
  std::array<bool, kNavButtonCount> nav_enabled_{};
  std::string package_problem_;
  wizard::RunOutcome outcome_;
  bool has_run_ = false;
  bool ending_ = false;
};

}  // namespace quorvex
