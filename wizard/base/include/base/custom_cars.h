// The custom cars: the list of the cars Carwright created or installed (the
// custom-car registry), kept in the INI file "Carwright.ini" in the game
// folder, and the removal of a custom car from the game. Not to be confused
// with the Windows registry (windows_registry.h) or with the registration of
// a car in the game's master scripts (ops/master_scripts.h).
//
//   [Cars]
//   CarsCount=2
//   CarID1=AB1
//   CarID2=XY7
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace wizard {

inline constexpr std::string_view kCustomCarsFileName = "Carwright.ini";
inline constexpr std::string_view kCustomCarsSection = "Cars";
inline constexpr std::string_view kCustomCarsCountKey = "CarsCount";
inline constexpr std::string_view kCustomCarsIDKeyPrefix = "CarID";

// A count above this (more than there are IDs) is refused by LoadINI.
inline constexpr long kMaxCustomCars = 50653;

// The folder of the cars below the game folder.
inline constexpr std::string_view kCarsFolder = "Data\\Cars\\";

// The master scripts in "Data\Cars\" that register each car, in the order
// GRDeleteCar visits them.
inline constexpr std::array<std::string_view, 4> kCarMasterScripts = {"Cars.scr", "Parts.scr",
                                                                      "Icons.scr", "Texts.scr"};

// Reloads `custom_cars` from "Carwright.ini" in `game_folder` (which ends in
// a separator). The list is emptied first. Returns false when the file gives
// no count (missing file, section or key) or a count above kMaxCustomCars;
// the list then stays empty. A count that is not a decimal number, or is
// negative, leaves the list empty and returns true. Otherwise the values of
// "CarID1" .. "CarIDn" are appended in order, missing ones as empty entries.
bool LoadINI(std::string_view game_folder, std::vector<std::string>& custom_cars);

// Loads the registry for the wizard and the sub-commands, which may rewrite
// it: as LoadINI, but a registry file that exists and cannot be read (a
// folder, FIFO or device included), whose count is above kMaxCustomCars, or
// whose count is not a decimal number of cars (such as "two", "2x" or "-3"),
// is refused so that the cars it lists are never written over: false, the list empty, and `problem`
// naming the file and what is wrong. A missing file, or one without a count, is an empty registry.
bool LoadCustomCars(std::string_view game_folder, std::vector<std::string>& custom_cars,
                    std::string& problem);

// Rewrites the registry file of `game_folder` from `custom_cars`: the count,
// then one key per ID, in a new file (other contents are dropped), which is
// then made read-only. True when written. The file is replaced atomically:
// on failure (an ID that cannot be written, a folder that refuses the write)
// the old file stays byte for byte, read-only again if it was.
bool WriteINI(std::string_view game_folder, const std::vector<std::string>& custom_cars);

// Returns the text that registers `car_id` in the master script
// `script_name`: !include("AB1\\Cars.scr") for car AB1 and "Cars.scr".
std::string CarRegistrationText(std::string_view car_id, std::string_view script_name);

// What GRDeleteCar did.
struct CarRemoval {
  bool folder_removed = false;  // the car's folder existed and is gone
  // The master scripts (game paths) that still hold the car's registration
  // line: unreadable, or not writable. The folder is then left as it was.
  std::vector<std::string> lines_kept_in;
};

// Removes car `car_id` from the game: its registration text is cut out of the
// four master scripts (their line breaks stay), then its folder
// "Data\Cars\<ID>\" is deleted, but only when no script kept the car's line,
// so that a failed delete can be done again. A script that cannot be written
// but does not hold the line is no reason to keep the car. Does not touch the
// registry file. An ID that names no car folder (IsCarFolderID: an empty
// entry of the registry, "..") or is reserved (the game's own car) touches
// nothing.
CarRemoval GRDeleteCar(std::string_view game_folder, std::string_view car_id);

}  // namespace wizard
