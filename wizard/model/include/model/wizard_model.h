// Carwright's wizard without a screen: the state collected page by page, the
// page order of each operation, every check that gates Next, the questions on
// close and on fewer paintings, and the handlers of the window's controls. The
// window only forwards user actions to the handlers here and shows what the
// model sends to its WizardView.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/car_id.h"
#include "base/game_folder_source.h"
#include "base/string_table.h"
#include "model/operation_launcher.h"
#include "model/package_header_source.h"
#include "model/wizard_pages.h"
#include "model/wizard_view.h"
#include "ops/car_variants.h"
#include "ops/wizard_state.h"

namespace wizard {

inline constexpr std::string_view kProgramName = "Carwright";
inline constexpr std::string_view kProgramVersion = "0.961a";

// What the model needs besides its view and its two seams. Every member has a
// working default.
struct WizardOptions {
  // The language of every text the model shows and of the runs it starts:
  // the user's locale unless the program chooses another. The model keeps it;
  // nothing reads a language of the process.
  Language language = DetectUserLanguage();
  // The game folder at start-up; null: FindGameFolder over this process's
  // environment.
  std::function<GameFolderLookup()> find_game_folder;
  // The random source of GenerateCarID; null: seeded from the clock.
  UnitRandom random;
  // The folder the file dialogs start in (the program's own folder).
  std::string dialog_folder;
};

class WizardModel {
 public:
  WizardModel(WizardView& view, OperationLauncher& launcher, PackageHeaderSource& packages,
              WizardOptions options = {});

  // The start-up sequence: caption, page 0, texts, game folder, a random ID,
  // the variants and every control set from the state.
  void Start();

  // Shows page `page` (0..7): navigation buttons, option and SFX states, frame
  // and titles; stores `page` in Step. Other numbers are ignored.
  void ShowPage(int page);
  // Checks the current page's input and moves on, or shows why not.
  void GoNext();
  // Moves to the previous page of the operation; nothing on pages 0 and 4.
  void GoBack();
  // Hands the state to the operation launcher (page 4), takes the custom-car
  // list after the run and enables Finish. The model is busy until the
  // launcher returns; a second call meanwhile does nothing.
  void RunOperation();
  // True while an operation runs. A window that processes events during the
  // run must not end the program or leave page 4 halfway: while busy, the
  // close request is refused (OnCloseRequest gives false without a question)
  // and Help, Cancel, Back, Next, Finish, GoNext and GoBack do nothing.
  bool Busy() const { return busy_; }
  // Shows `text` in an error box titled 10000 "Error".
  void ShowError(std::string_view text);

  // Set the check boxes from CarParts, CarAnimParts and CarWheels (boxes 0..11;
  // Evo3 keeps its fixed grey state), and select optTask(Task).
  void RefreshPartBoxes();
  void RefreshAnimPartBoxes();
  void RefreshWheelBoxes();
  void RefreshTaskOption();

  // Navigation buttons. A button that is disabled does nothing.
  void OnHelpClick();
  void OnCancelClick();  // the close question; Yes ends the program
  void OnBackClick();
  void OnNextClick();    // GoNext, then RunOperation when page 4 was reached
  void OnFinishClick();  // ends the program without a question
  // The window is being closed (close box, or Cancel): true when it may close.
  // Asks 112 "Are you sure?" unless Finish was pressed.
  bool OnCloseRequest();

  // Controls of the pages; each keeps the state within its range and sets the
  // control back when it refuses the input.
  void OnBrowseClick();
  void OnTaskOptionSelect(int task);
  // The ID box: upper-cased; more than 3 characters are refused.
  void OnCarIDChange(std::string_view text);
  void OnGenerateClick();
  // The name box (UTF-8): refused when it holds a forbidden character
  // (kForbiddenTextChars, the backslash included), more than
  // 20 characters, or a character the game's code page cannot hold.
  void OnCarNameChange(std::string_view text);
  void OnCarGroupClick(int index);
  // The slider: runs the painting check.
  void OnPaintingsChange(int value);
  void OnAdvancedClick();
  // The advanced window's OK: its five records replace the variants, and the
  // name box and group list show variant 0's.
  void AcceptAdvanced(const CarVariants& variants);
  void OnPartClick(int index, bool checked);
  void OnAnimPartClick(int index, bool checked);
  void OnWheelClick(int index, bool checked);
  void OnCarListClick(int index);
  void OnSFXClick(bool checked);

  // What the wizard has collected; it changes only through the handlers above.
  const WizardState& State() const { return state_; }
  const CarVariants& Variants() const { return variants_; }
  // Sets every wheel bit at once, Evo3's included, which the boxes cannot
  // clear: the page-5 check still refuses a car without wheels.
  void SetCarWheels(std::int16_t wheels) { state_.CarWheels = wheels; }
  Language UiTextLanguage() const { return options_.language; }
  // The text of `id` in the model's language.
  std::string_view Text(std::uint16_t id) const;
  // Enables or disables a navigation button (the runner enables Finish this
  // way); true while it is enabled.
  void SetNavButton(NavButton button, bool enabled);
  bool IsNavEnabled(NavButton button) const;
  // True once options 1 and 3 were disabled for an empty registry.
  bool CarOptionsDisabled() const { return car_options_disabled_; }

 private:
  void ShowGameFolder();
  void ShowCarName();
  void ExtractSteps();
  void PackSelectedCar();
  bool TaskSelectable(int task) const;

  WizardView& view_;
  OperationLauncher& launcher_;
  PackageHeaderSource& packages_;
  WizardOptions options_;
  WizardState state_;
  CarVariants variants_{};
  std::array<bool, kNavButtonCount> nav_enabled_{};
  bool car_options_disabled_ = false;
  bool ending_ = false;  // Finish was pressed or the close was confirmed
  bool busy_ = false;    // an operation runs
  bool in_painting_check_ = false;
  int slider_value_ = 1;
};

}  // namespace wizard
