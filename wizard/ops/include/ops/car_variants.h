// Car variants: one car body appears in the game as up to five drivable cars,
// each with its own name, class, engine figures, drive, dimensions, price and
// painting. This holds the record, the array of five and the defaults of the
// eight car groups.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/code_page.h"

namespace wizard {

struct CarVariant {
  bool Enabled = false;           // the variant is generated
  std::int32_t Group = 0;         // index into kCarGroups
  std::int16_t Power = 0;         // bhp, 30 to 700 after validation
  std::int16_t Weight = 0;        // kg, 700 to 1600 after validation
  std::int32_t WheelDrive = 0;    // 0 FWD, 1 AWD, 2 RWD
  std::string EngineType;         // e.g. "DOHC/4"
  std::int16_t Torque = 0;        // Nm
  std::int16_t TorqueRPM = 0;     // rpm of the torque figure
  std::int16_t Height = 0;        // mm
  std::int16_t Length = 0;        // mm
  std::int16_t Width = 0;         // mm
  std::string Production;         // where the car is produced
  std::string Name;               // display name
  std::int16_t Painting = 1;      // painting number 1 .. CarPaintingsCount
  bool Turbo = false;             // kept, not written to any script
  std::int32_t Displacement = 0;  // class 0..3 (kDisplacementCcm)
  std::int32_t BuyPrice = 0;      // purchase price in the game's money

  bool operator==(const CarVariant&) const = default;
};

inline constexpr std::size_t kCarVariantCount = 5;

// The five variants; variant number = index + 1.
using CarVariants = std::array<CarVariant, kCarVariantCount>;

// The car groups (the game's class codes; one entry names two classes).
inline constexpr std::array<std::string_view, 8> kCarGroups = {"P1", "P2",    "P3",    "O1",
                                                               "O2", "O3,R1", "W1,R2", "B1"};

// The texts of the drive values and the ccm of the displacement classes.
inline constexpr std::array<std::string_view, 3> kWheelDriveTexts = {"FWD", "AWD", "RWD"};
inline constexpr std::array<int, 4> kDisplacementCcm = {1100, 1600, 2000, 2400};

// Returns the text of car group `group`; empty when it is outside 0..7.
std::string_view CarGroupText(std::int32_t group);

// Resets `record` to the defaults of car group `group`: Group, Height 1400,
// Length 3800, Width 1800, Production "Custom", Painting 1, no Turbo, and the
// group's engine type, power, torque, torque rpm, drive, weight, displacement
// and price. A group outside 0..7 sets only Group and those shared values.
// Enabled and Name are left alone.
void InitCarParams(CarVariant& record, std::int32_t group);

// The start-up state: every variant reset to group 0, disabled and named
// "Custom Car 1" .. "Custom Car 5"; then the first enabled.
void ResetCarVariants(CarVariants& variants);

// The longest texts of a variant, in characters of the game's code page.
inline constexpr std::size_t kMaxCarNameLength = 20;     // Name (txtCarName)
inline constexpr std::size_t kMaxProductionLength = 12;  // Production (txtProduction)
inline constexpr std::size_t kMaxEngineTypeLength = 20;  // EngineType

// Why a text cannot be a variant's text, in the order they are checked.
enum class VariantTextProblem {
  kNone,
  kCodePage,   // not UTF-8, or a character the game's code page cannot hold
  kTooLong,    // more than the field's length
  kForbidden,  // one of kForbiddenTextChars, the backslash included
};

struct VariantText {
  VariantTextProblem problem = VariantTextProblem::kNone;
  std::string bytes;  // the text in the code page, when there is no problem
};

// The one check of a variant's text (its name, engine type or production),
// made by the wizard's name box, the advanced window and the command line:
// `utf8` converted to `code_page`, at most `max_length` characters, none
// forbidden in the game's scripts.
VariantText CheckVariantText(std::string_view utf8, std::size_t max_length, CodePage code_page);

}  // namespace wizard
