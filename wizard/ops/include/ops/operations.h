// The four operations (create a car, delete a car, pack a car into a DEVUZA
// package, install a package), each carried out in one call by
// PerformOperation, which shows progress (0 to 200), the action line and one
// error message per failure on a RunView. The wizard (through its
// OpsOperationLauncher) and Carwright's command line both run operations
// here; each gives its own RunView.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/string_table.h"
#include "ops/asset_writer.h"
#include "ops/car_scripts.h"
#include "ops/car_variants.h"
#include "ops/wizard_state.h"

namespace wizard {

// The progress bar's range.
inline constexpr double kProgressMax = 200.0;

// String ids of the runner's action line.
inline constexpr std::uint16_t kStrSuccess = 111;            // "Successfully completed"
inline constexpr std::uint16_t kStrRemovingCar = 113;        // "Removing car"
inline constexpr std::uint16_t kStrCreatingPackage = 114;    // "Creating DEVUZA..."
inline constexpr std::uint16_t kStrExtractingPackage = 115;  // "Extracting DEVUZA..."
inline constexpr std::uint16_t kStrRunError = 116;           // "Error!"

// What the runner shows. Texts are UTF-8.
class RunView {
 public:
  virtual ~RunView() = default;
  virtual void SetProgress(double value) = 0;  // 0 to kProgressMax
  virtual void SetActionText(std::string_view text) = 0;
  virtual void RefreshWindow() = 0;
  // One failure: an error box titled 10000 "Error" (the run goes on after it
  // is closed).
  virtual void ShowError(std::string_view text) = 0;
};

// Where the runner gets what a build may lack.
struct RunServices {
  // Writes the asset files of the create operation; empty: not available.
  AssetWriter write_asset = EmbeddedAssetWriter();
  // The extractor program's bytes for self-extracting packages; nothing when
  // the program does not carry it.
  std::function<std::optional<std::span<const unsigned char>>()> extractor;
};

// The resource that holds the extractor program (type "DEVUZA", name
// "EXTRACT"), when the program carries it.
std::optional<std::span<const unsigned char>> EmbeddedExtractor();

// RunServices with the writers and extractor of this program.
RunServices DefaultRunServices();

struct RunOutcome {
  bool completed = false;  // ended with "Successfully completed", not "Error!"
  int failures = 0;        // error messages shown
};

// The wizard's choices the scripts and assets are made from.
CarScriptSetup CarSetupFromState(const WizardState& state, const CarVariants& variants);

// Carries out operation state.Task on the game folder state.GameFolder:
//
// - 0, create car state.CarID: every folder and file of CreateCarPlan, in
//   order (a failed folder shows 10005 "Error while creating folder", a failed
//   file 10001 "Error while creating file", each with the path, and the run
//   goes on); the four registrations; the ID appended to state.CustomCars.
//   Without an asset writer nothing is written: one message and the error end.
// - 1, delete the car at state.SelectedCar of state.CustomCars: GRDeleteCar,
//   then the entry leaves the list. An index outside the list, a reserved ID
//   (10007), or a master script that kept the car's line (one message per
//   script, naming it; the car's folder and entry stay): error end.
// - 3, pack the registered car state.DEVUZA_CarID into state.DEVUZA_FileName;
//   with state.MakeSFX the self-extracting program takes that name instead
//   (the plain package is written beside it and removed). A reserved ID is
//   refused as a package error.
// - 4, install the package state.DEVUZA_FileName as car state.CarID: extract
//   it into the car's folder and, when the ID is not yet taken (CheckCarID),
//   register the car and append its ID.
//
// A package error shows "File:" + path + line feed + the package layer's text
// and ends the run with the error end: action 116 "Error!", state.CustomCars
// and "Carwright.ini" untouched. Otherwise the success end: action 111,
// progress 200, and "Carwright.ini" rewritten with WriteINI (a failure to write
// it is shown like a failed file). Progress: +1 per written file, extract
// starts at 100 and adds 10 between registrations.
RunOutcome PerformOperation(WizardState& state, const CarVariants& variants, RunView& view,
                            Language language, const RunServices& services = DefaultRunServices());

}  // namespace wizard
