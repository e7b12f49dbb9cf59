// The choices the wizard collects for one operation, and the numbers of the
// operations: what the operations carry out. Carwright's wizard model fills
// it page by page, its command line from the options.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ops/wheel_types.h"

namespace wizard {

// Operations (the value of Task).
inline constexpr int kTaskCreateCar = 0;
inline constexpr int kTaskDeleteCar = 1;
inline constexpr int kTaskEditCar = 2;  // never offered: its option is hidden
inline constexpr int kTaskCreatePackage = 3;
inline constexpr int kTaskExtractPackage = 4;
inline constexpr int kTaskCount = 5;

// Wheel types (bit i = chkWheels(i), in the order of kWheelTypes).
inline constexpr std::int16_t kStartWheels = 5636;    // Gravel, Slick, Snow, Evo3
inline constexpr std::int16_t kDefaultWheels = 4096;  // Evo3
inline constexpr int kPartCount = 5;                  // chkParts(0..4)
inline constexpr int kAnimPartCount = 2;              // chkAnimParts(0..1)
inline constexpr int kMinPaintings = 1;
inline constexpr int kMaxPaintings = 5;

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

}  // namespace wizard
