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

#include "wizard/car_id.h"
#include "wizard/car_variants.h"
#include "wizard/game_folder_source.h"
#include "wizard/operation_runner.h"
#include "wizard/package_header_source.h"
#include "wizard/string_table.h"
#include "wizard/wizard_pages.h"
#include "wizard/wizard_view.h"

namespace wizard {

inline constexpr std::string_view kProgramName = "Carwright";
inline constexpr std::string_view kProgramVersion = "0.961a";

// Wheel types (bit i = chkWheels(i)); Evo3 is always chosen.
inline constexpr int kWheelTypeCount = 13;
inline constexpr int kEvo3Wheel = 12;
inline constexpr std::array<std::string_view, kWheelTypeCount> kWheelNames = {
    "ContactSport", "FullGrip356",    "Gravel", "HyperGrip200", "Ice", "Intermediate", "Mud",
    "Prosport400s", "ProSportWinter", "Slick",  "Snow",         "Wet", "Evo3"};
inline constexpr std::int16_t kStartWheels = 5636;    // Gravel, Slick, Snow, Evo3
inline constexpr std::int16_t kDefaultWheels = 4096;  // Evo3
inline constexpr int kPartCount = 5;                  // chkParts(0..4)
inline constexpr int kAnimPartCount = 2;              // chkAnimParts(0..1)
inline constexpr int kMinPaintings = 1;
inline constexpr int kMaxPaintings = 5;
inline constexpr std::size_t kMaxCarNameLength = 20;  // txtCarName, in characters

// The choices made on the wizard's pages.
struct WizardState {
  std::int16_t Step = 0;                  // page shown, 0..7
  std::int16_t Task = 0;                  // chosen operation, 0..4
  std::string GameFolder;                 // ends in a separator
  std::string CarID;                      // ID of the car to create or install
  std::int16_t CarPaintingsCount = 1;     // 1..5
  std::int16_t CarParts = 0;              // bit i = chkParts(i)
  std::int16_t CarAnimParts = 0;          // bit i = chkAnimParts(i)
  std::int16_t CarWheels = kStartWheels;  // bit i = wheel type i
  std::int16_t CarDefaultWheels = kDefaultWheels;
  std::string DEVUZA_FileName;          // from the save or open dialog
  std::string DEVUZA_CarID;             // car picked for packing
  std::vector<std::string> CustomCars;  // the custom-car registry
  bool MakeSFX = false;                 // chkSFX
  int SelectedCar = -1;                 // lstCarList's selected entry; -1 none
};

// What the model needs besides its view and its two seams. Every member has a
// working default.
struct WizardOptions {
  Language language = UiLanguage();
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
  WizardModel(WizardView& view, OperationRunner& runner, PackageHeaderSource& packages,
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
  // Hands the wizard to the operation runner (page 4).
  void RunOperation();
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

  const WizardState& State() const { return state_; }
  WizardState& State() { return state_; }
  const CarVariants& Variants() const { return variants_; }
  CarVariants& Variants() { return variants_; }
  WizardView& View() { return view_; }
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
  OperationRunner& runner_;
  PackageHeaderSource& packages_;
  WizardOptions options_;
  WizardState state_;
  CarVariants variants_{};
  std::array<bool, kNavButtonCount> nav_enabled_{};
  bool car_options_disabled_ = false;
  bool ending_ = false;  // Finish was pressed or the close was confirmed
  bool in_painting_check_ = false;
  int slider_value_ = 1;
};

}  // namespace wizard
