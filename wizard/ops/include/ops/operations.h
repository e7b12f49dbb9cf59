// The four operations (create a car, delete a car, pack a car into a DEVUZA
// package, install a package), each carried out in one call from a plain
// request, showing progress (0 to 200), the action line and one error message
// per failure on a RunView. Carwright's command line and Quorvex build the
// requests themselves; the wizard's state becomes a request in
// PerformOperation.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/string_table.h"
#include "devuza/package.h"
#include "ops/asset_writer.h"
#include "ops/car_scripts.h"
#include "ops/car_variants.h"
#include "ops/run_view.h"
#include "ops/wizard_state.h"

namespace wizard {

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
  // The custom-car list after the run: the request's, with a created or
  // installed car appended or the deleted one removed. On the error end it is
  // the request's list unchanged (and "Carwright.ini" was not written).
  std::vector<std::string> custom_cars;
};

// What every operation is given: the game folder (ending in a separator), the
// custom-car list as read from "Carwright.ini" (a run that succeeds writes it
// back, changed or not), and the language of the action line and messages
// (their texts and the code page of package names).
struct RunSetting {
  std::string game_folder;
  std::vector<std::string> custom_cars;
  Language language = Language::kEnglish;
};

// Create car `car.CarID`: every folder and file of CreateCarPlan, in order (a
// failed folder shows 10005 "Error while creating folder", a failed file 10001
// "Error while creating file", each with the path, and the run goes on); the
// four registrations; the ID appended to the list. An ID CheckCarID finds
// invalid, or no asset writer: one message and the error end.
struct CreateCarRequest {
  RunSetting setting;
  CarScriptSetup car;
};

// Delete the car at `index` of the list: GRDeleteCar, then the entry leaves
// the list. An index outside the list, a reserved ID (10007), or a master
// script that kept the car's line (one message per script, naming it; the
// car's folder and entry stay): error end.
struct DeleteCarRequest {
  RunSetting setting;
  int index = -1;
};

// Pack the car `car_id` (its folder below "Data\Cars\") into `file_name`;
// with `make_sfx` the self-extracting program takes that name instead (the
// plain package is written beside it and removed). An ID that cannot name a
// car folder or is reserved is refused as a package error.
struct PackCarRequest {
  RunSetting setting;
  std::string car_id;
  std::string file_name;
  bool make_sfx = false;
};

// Install the package `package_file` as car `car_id` (the ID its header
// holds): extract it into the car's folder and, when the ID is not yet taken
// (CheckCarID), register the car and append its ID. `mode` says how the
// package is read: a package file (kReadFile), or the package at the end of a
// self-extracting program (kReadSfx), which is how Quorvex installs straight
// from its own program file. Messages name `package_file` either way.
struct InstallPackageRequest {
  RunSetting setting;
  std::string package_file;
  std::string car_id;
  devuza::PackageMode mode = devuza::PackageMode::kReadFile;
};

// The four operations. A package error shows "File:" + path + line feed + the
// package layer's text and ends the run with the error end: action 116
// "Error!", the list and "Carwright.ini" untouched. Otherwise the success end:
// action 111, progress 200, and "Carwright.ini" rewritten with WriteINI (a
// failure to write it is shown like a failed file). Progress: +1 per written
// file; pack and install start at 100, install adds 10 between registrations.
// Messages are error boxes titled 10000 "Error" in the request's language.
RunOutcome CreateCar(const CreateCarRequest& request, RunView& view,
                     const RunServices& services = DefaultRunServices());
RunOutcome DeleteCar(const DeleteCarRequest& request, RunView& view);
RunOutcome PackCar(const PackCarRequest& request, RunView& view,
                   const RunServices& services = DefaultRunServices());
RunOutcome InstallPackage(const InstallPackageRequest& request, RunView& view);

// The wizard's choices the scripts and assets are made from.
CarScriptSetup CarSetupFromState(const WizardState& state, const CarVariants& variants);

// The wizard's adapter: carries out operation state.Task (0 create state.CarID,
// 1 delete the entry state.SelectedCar, 3 pack state.DEVUZA_CarID into
// state.DEVUZA_FileName, with state.MakeSFX, 4 install state.DEVUZA_FileName
// as state.CarID) with the request built from `state`, and takes the list
// after the run into state.CustomCars. Any other Task: the error end.
RunOutcome PerformOperation(WizardState& state, const CarVariants& variants, RunView& view,
                            Language language, const RunServices& services = DefaultRunServices());

}  // namespace wizard
