// The wizard model: start-up, pages, Next and Back, closing.
#include "model/wizard_model.h"

#include <utility>

#include "base/custom_cars.h"
#include "base/file_routines.h"
#include "base/game_folder.h"
#include "ops/package_check.h"

namespace wizard {

WizardModel::WizardModel(WizardView& view, OperationLauncher& launcher,
                         PackageHeaderSource& packages, WizardOptions options)
    : view_(view), launcher_(launcher), packages_(packages), options_(std::move(options)) {}

std::string_view WizardModel::Text(std::uint16_t id) const {
  return StringText(id, options_.language);
}

bool WizardModel::IsNavEnabled(NavButton button) const {
  return nav_enabled_[static_cast<std::size_t>(button)];
}

void WizardModel::SetNavButton(NavButton button, bool enabled) {
  nav_enabled_[static_cast<std::size_t>(button)] = enabled;
  view_.SetNavButtonEnabled(button, enabled);
}

void WizardModel::Start() {
  view_.SetCaption(std::string(kProgramName) + " v" + std::string(kProgramVersion));

  // Help is never used and the edit operation is never offered; the Evo3 box
  // shows its fixed grey state. Cancel starts enabled; page 0 sets the others.
  SetNavButton(NavButton::kHelp, false);
  SetNavButton(NavButton::kCancel, true);
  view_.SetNavButtonVisible(NavButton::kHelp, false);
  view_.SetTaskOptionEnabled(kTaskEditCar, false);
  view_.SetTaskOptionVisible(kTaskEditCar, false);
  view_.SetCheckBox(CheckGroup::kWheels, kEvo3Wheel, CheckState::kGrey, false);

  state_.Step = 0;
  state_.Task = 0;
  ShowPage(kPageGameFolder);
  view_.LocalizeWindow(options_.language);

  const GameFolderLookup lookup =
      options_.find_game_folder ? options_.find_game_folder()
                                : FindGameFolder(GameFolderSourcesFromEnvironment(std::nullopt));
  state_.GameFolder = lookup.folder;
  ShowGameFolder();

  state_.CarID = options_.random ? GenerateCarID(options_.random) : GenerateCarID();
  ResetCarVariants(variants_);
  state_.CarPaintingsCount = 1;
  state_.CarParts = 0;
  state_.CarAnimParts = 0;
  state_.CarWheels = kStartWheels;
  state_.CarDefaultWheels = kDefaultWheels;

  view_.SetCarGroups(kCarGroups);
  view_.SelectCarGroup(variants_[0].Group);
  view_.SetCarIDText(state_.CarID);
  ShowCarName();
  slider_value_ = state_.CarPaintingsCount;
  view_.SetPaintingsSlider(slider_value_);

  RefreshPartBoxes();
  RefreshAnimPartBoxes();
  RefreshWheelBoxes();
  RefreshTaskOption();
  state_.MakeSFX = false;
}

void WizardModel::ShowGameFolder() {
  view_.SetGameFolderLabel(state_.GameFolder.empty() ? Text(kStrGameNotInstalled)
                                                     : std::string_view(state_.GameFolder));
}

void WizardModel::ShowPage(int page) {
  if (page < 0 || page >= kPageCount) return;
  const PageNavigation nav = NavigationOfPage(page);
  if (nav.back) SetNavButton(NavButton::kBack, *nav.back);
  if (nav.next) SetNavButton(NavButton::kNext, *nav.next);
  if (nav.finish) SetNavButton(NavButton::kFinish, *nav.finish);
  if (nav.cancel) SetNavButton(NavButton::kCancel, *nav.cancel);

  if (page == kPageOperation && state_.CustomCars.empty() && !car_options_disabled_) {
    // Without custom cars there is nothing to delete or pack; the options stay
    // disabled for the rest of the run. A choice of one of them falls back to
    // creating a car, so that no disabled option stays selected.
    car_options_disabled_ = true;
    view_.SetTaskOptionEnabled(kTaskDeleteCar, false);
    view_.SetTaskOptionEnabled(kTaskCreatePackage, false);
    if (!TaskSelectable(state_.Task)) {
      state_.Task = kTaskCreateCar;
      RefreshTaskOption();
    }
  }
  if (page == kPageCarSelection) {
    if (state_.SelectedCar < 0) SetNavButton(NavButton::kNext, false);
    view_.SetSFXVisible(state_.Task == kTaskCreatePackage);
  }

  ShowPageFrame(view_, options_.language, state_.Step, page);
  state_.Step = static_cast<std::int16_t>(page);
}

void WizardModel::GoNext() {
  if (busy_) return;
  switch (state_.Step) {
    case kPageGameFolder: {
      if (!CheckGameFolder(state_.GameFolder)) {
        ShowError(Text(kStrNotGameFolder));
        return;
      }
      // A registry that cannot be read whole keeps the wizard here: any run
      // would write it over with the cars it failed to read.
      std::string problem;
      if (!LoadCustomCars(state_.GameFolder, state_.CustomCars, problem)) {
        ShowError(problem);
        return;
      }
      state_.SelectedCar = -1;
      view_.SetCarList(state_.CustomCars);
      ShowPage(kPageOperation);
      return;
    }
    case kPageOperation:
      switch (state_.Task) {
        case kTaskCreateCar:
          ShowPage(kPageCarParameters);
          return;
        case kTaskDeleteCar:
        case kTaskCreatePackage:
          ShowPage(kPageCarSelection);
          return;
        case kTaskExtractPackage:
          ExtractSteps();
          return;
        default:
          return;
      }
    case kPageCarParameters: {
      const std::uint16_t result = CheckCarID(state_.CarID, state_.CustomCars);
      if (result == kCarIDValid) {
        ShowPage(kPageParts);
      } else {
        ShowError(CarIDMessage(result, options_.language));
      }
      return;
    }
    case kPageParts:
      ShowPage(kPageWheels);
      return;
    case kPageWheels:
      if (state_.CarWheels != 0) {
        ShowPage(kPageReady);
      } else {
        ShowError(Text(kStrNoWheels));
      }
      return;
    case kPageReady:
      ShowPage(kPageProgress);
      return;
    case kPageCarSelection:
      if (state_.SelectedCar < 0 ||
          static_cast<std::size_t>(state_.SelectedCar) >= state_.CustomCars.size()) {
        return;
      }
      if (state_.Task == kTaskCreatePackage) {
        PackSelectedCar();
      } else {
        ShowPage(kPageReady);
      }
      return;
    default:
      return;
  }
}

void WizardModel::PackSelectedCar() {
  const std::string& car = state_.CustomCars[static_cast<std::size_t>(state_.SelectedCar)];
  FileDialogRequest request;
  request.file_name = car + std::string(state_.MakeSFX ? kSFXExtension : kPackageExtension);
  request.filter = state_.MakeSFX ? kSFXFilter : kPackageFilter;
  request.folder = options_.dialog_folder;
  const std::optional<std::string> path = view_.SaveFileDialog(request);
  if (!path || path->empty()) return;
  state_.DEVUZA_CarID = car;
  state_.DEVUZA_FileName = *path;
  ShowPage(kPageReady);
}

void WizardModel::ExtractSteps() {
  FileDialogRequest request;
  request.file_name = state_.DEVUZA_CarID + std::string(kPackageExtension);
  request.filter = kPackageFilter;
  request.folder = options_.dialog_folder;
  const std::optional<std::string> path = view_.OpenFileDialog(request);
  if (!path || path->empty()) return;
  state_.DEVUZA_FileName = *path;
  if (!FileExists(state_.DEVUZA_FileName)) return;

  const PackageHeaderInfo header = packages_.ReadPackageHeader(state_.DEVUZA_FileName);
  const PackageCheck check = CheckPackageHeader(header.valid, header.car_id, state_.CustomCars);
  if (check.result == PackageForInstall::kUnreadable) return;
  if (check.result == PackageForInstall::kBadFolder) {
    ShowError("File:" + state_.DEVUZA_FileName + "\n" +
              CarIDMessage(kCarIDInvalid, options_.language));
    return;
  }
  state_.CarID = check.car_id;
  view_.SetCarIDText(state_.CarID);
  if (check.result == PackageForInstall::kFree ||
      view_.AskQuestion(Text(kStrWarning), Text(kStrReplaceCar), QuestionButtons::kOkCancel)) {
    ShowPage(kPageReady);
  }
}

void WizardModel::GoBack() {
  if (busy_) return;
  switch (state_.Step) {
    case kPageOperation:
      ShowPage(kPageGameFolder);
      return;
    case kPageCarParameters:
    case kPageCarSelection:
      ShowPage(kPageOperation);
      return;
    case kPageParts:
      ShowPage(kPageCarParameters);
      return;
    case kPageWheels:
      ShowPage(kPageParts);
      return;
    case kPageReady:
      switch (state_.Task) {
        case kTaskCreateCar:
          ShowPage(kPageWheels);
          return;
        case kTaskDeleteCar:
        case kTaskCreatePackage:
          ShowPage(kPageCarSelection);
          return;
        case kTaskExtractPackage:
          ShowPage(kPageOperation);
          return;
        default:
          return;
      }
    default:
      return;
  }
}

void WizardModel::RunOperation() {
  if (busy_) return;
  // Cleared however the launcher returns.
  struct BusyScope {
    bool& busy;
    explicit BusyScope(bool& b) : busy(b) { busy = true; }
    ~BusyScope() { busy = false; }
  } scope(busy_);
  const RunOutcome outcome = launcher_.Launch(state_, variants_, view_, options_.language);
  state_.CustomCars = outcome.custom_cars;
  SetNavButton(NavButton::kFinish, true);
}

void WizardModel::ShowError(std::string_view text) {
  ShowErrorText(view_, options_.language, text);
}

void WizardModel::OnHelpClick() {}

void WizardModel::OnCancelClick() {
  if (busy_ || !IsNavEnabled(NavButton::kCancel)) return;
  if (OnCloseRequest()) view_.EndProgram();
}

void WizardModel::OnBackClick() {
  if (!busy_ && IsNavEnabled(NavButton::kBack)) GoBack();
}

void WizardModel::OnNextClick() {
  if (busy_ || !IsNavEnabled(NavButton::kNext)) return;
  GoNext();
  if (state_.Step == kPageProgress) RunOperation();
}

void WizardModel::OnFinishClick() {
  if (busy_ || !IsNavEnabled(NavButton::kFinish)) return;
  ending_ = true;
  view_.EndProgram();
}

bool WizardModel::OnCloseRequest() {
  if (busy_) return false;
  if (ending_) return true;
  ending_ = AskToClose(view_, options_.language, kProgramName);
  return ending_;
}

}  // namespace wizard
