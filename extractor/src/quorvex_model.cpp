#include "extractor/quorvex_model.h"

#include <utility>

#include "base/car_id.h"
#include "base/custom_cars.h"
#include "base/game_folder.h"
#include "base/text_routines.h"
#include "devuza/package.h"
#include "extractor/own_program.h"
#include "ops/package_check.h"

namespace quorvex {

namespace {

// The navigation buttons a page sets; a page that leaves a button as it is
// says nothing about it.
struct PageButtons {
  bool sets_cancel = false;
  bool back = false;
  bool next = false;
  bool finish = false;
  bool cancel = false;
};

PageButtons ButtonsOfPage(int page) {
  switch (page) {
    case kPageGameFolder:
      return {false, false, true, false, false};
    case kPageReady:
      return {false, true, true, false, false};
    case kPageCarSelection:
      return {false, true, false, false, false};
    default:  // the progress page: everything off until the run ends
      return {true, false, false, false, false};
  }
}

constexpr std::uint16_t PageTitleId(int page) {
  return static_cast<std::uint16_t>((page + 2) * 100);
}

}  // namespace

QuorvexModel::QuorvexModel(wizard::WizardFrameView& view, QuorvexOptions options)
    : view_(view), options_(std::move(options)) {
  if (!options_.find_game_folder) {
    options_.find_game_folder = [] {
      return wizard::FindGameFolder(wizard::GameFolderSourcesFromEnvironment(std::nullopt));
    };
  }
  if (options_.program.empty()) options_.program = OwnProgramPath();
}

std::string_view QuorvexModel::Text(std::uint16_t id) const {
  return wizard::StringText(id, options_.language);
}

void QuorvexModel::Start() {
  view_.SetCaption(kCaption);
  state_.Step = 0;
  state_.Task = 0;
  // Help is never used.
  view_.SetNavButtonVisible(NavButton::kHelp, false);
  SetNavButton(NavButton::kHelp, false);
  SetNavButton(NavButton::kCancel, true);
  ShowPage(kPageGameFolder);
  view_.LocalizeWindow(options_.language);
  state_.GameFolder = options_.find_game_folder().folder;
  ShowGameFolder();
}

void QuorvexModel::ShowPage(int page) {
  if (page != kPageGameFolder && page != kPageProgress && page != kPageReady &&
      page != kPageCarSelection) {
    return;
  }
  const PageButtons buttons = ButtonsOfPage(page);
  SetNavButton(NavButton::kBack, buttons.back);
  SetNavButton(NavButton::kNext, buttons.next);
  SetNavButton(NavButton::kFinish, buttons.finish);
  if (buttons.sets_cancel) SetNavButton(NavButton::kCancel, buttons.cancel);
  view_.SwitchPage(state_.Step, page);
  state_.Step = static_cast<std::int16_t>(page);
  const std::uint16_t title = PageTitleId(page);
  view_.SetTitles(Text(title), Text(static_cast<std::uint16_t>(title + 1)),
                  Text(static_cast<std::uint16_t>(title + 2)));
}

void QuorvexModel::GoNext() {
  switch (state_.Step) {
    case kPageGameFolder:
      LeaveGameFolderPage();
      return;
    case kPageReady:
      ShowPage(kPageProgress);
      return;
    default:
      return;
  }
}

void QuorvexModel::LeaveGameFolderPage() {
  package_problem_.clear();
  if (!wizard::CheckGameFolder(state_.GameFolder)) {
    ShowError(Text(wizard::kStrNotGameFolder));
    return;
  }
  // A registry that cannot be read whole keeps Quorvex here: the run would
  // write it over with the cars it failed to read.
  std::string problem;
  if (!wizard::LoadCustomCars(state_.GameFolder, state_.CustomCars, problem)) {
    ShowError(problem);
    return;
  }
  state_.Task = wizard::kTaskExtractPackage;
  state_.DEVUZA_FileName = options_.program.string();

  // Without a sound package at the end of the program file the page stays,
  // silently; the reason is kept for the console.
  const wizard::PackageCheck check = wizard::CheckPackageForInstall(
      options_.program, devuza::PackageMode::kReadSfx, state_.CustomCars);
  switch (check.result) {
    case wizard::PackageForInstall::kUnreadable:
      package_problem_ = check.error.empty() ? "no package" : check.error;
      return;
    case wizard::PackageForInstall::kBadFolder:
      ShowError("File:" + state_.DEVUZA_FileName + "\n" +
                wizard::CarIDMessage(wizard::kCarIDInvalid, options_.language));
      return;
    case wizard::PackageForInstall::kReplace:
    case wizard::PackageForInstall::kFree:
      break;
  }
  state_.CarID = check.car_id;
  if (check.result == wizard::PackageForInstall::kFree ||
      view_.AskQuestion(Text(kStrWarning), Text(kStrReplaceCar), QuestionButtons::kOkCancel)) {
    ShowPage(kPageReady);
  }
}

void QuorvexModel::GoBack() {
  if (state_.Step != kPageReady) return;
  state_.Task = wizard::kTaskExtractPackage;
  ShowPage(kPageGameFolder);
}

void QuorvexModel::RunOperation() {
  if (state_.Step != kPageProgress || has_run_) return;
  has_run_ = true;
  const wizard::InstallPackageRequest request{
      {state_.GameFolder, state_.CustomCars, options_.language},
      options_.program.string(),
      state_.CarID,
      devuza::PackageMode::kReadSfx};
  outcome_ = wizard::InstallPackage(request, view_);
  state_.CustomCars = outcome_.custom_cars;
  SetNavButton(NavButton::kFinish, true);
}

void QuorvexModel::OnBrowseClick() {
  if (state_.Step != kPageGameFolder) return;
  const std::string picked = view_.PickFolder(Text(kStrSelectGameFolder));
  if (picked.empty()) return;  // cancelled
  const std::string folder = wizard::AddBackslash(picked);
  if (wizard::CheckGameFolder(folder)) {
    state_.GameFolder = folder;
  } else {
    ShowError(Text(wizard::kStrNotGameFolder));
  }
  ShowGameFolder();
}

void QuorvexModel::OnCancelClick() {
  if (!IsNavEnabled(NavButton::kCancel)) return;
  if (OnCloseRequest()) view_.EndProgram();
}

void QuorvexModel::OnBackClick() {
  if (IsNavEnabled(NavButton::kBack)) GoBack();
}

void QuorvexModel::OnNextClick() {
  if (!IsNavEnabled(NavButton::kNext)) return;
  GoNext();
  if (state_.Step == kPageProgress) RunOperation();
}

void QuorvexModel::OnFinishClick() {
  if (!IsNavEnabled(NavButton::kFinish)) return;
  ending_ = true;
  view_.EndProgram();
}

bool QuorvexModel::OnCloseRequest() {
  if (ending_) return true;
  ending_ = view_.AskQuestion(kProgramName, Text(kStrAreYouSure), QuestionButtons::kYesNo);
  return ending_;
}

bool QuorvexModel::IsNavEnabled(NavButton button) const {
  return nav_enabled_[static_cast<std::size_t>(button)];
}

void QuorvexModel::SetNavButton(NavButton button, bool enabled) {
  nav_enabled_[static_cast<std::size_t>(button)] = enabled;
  view_.SetNavButtonEnabled(button, enabled);
}

void QuorvexModel::ShowError(std::string_view text) {
  view_.ShowErrorBox(Text(wizard::kStrError), text);
}

void QuorvexModel::ShowGameFolder() {
  view_.SetGameFolderLabel(state_.GameFolder.empty() ? Text(wizard::kStrGameNotInstalled)
                                                     : std::string_view(state_.GameFolder));
}

}  // namespace quorvex
