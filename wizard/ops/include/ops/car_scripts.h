// The five game scripts of a new custom car, filled from the embedded
// templates: "Cars.scr" (the drivable variants), "Parts.scr" (every part the
// car owns), "Model.scr" (model, lights, cameras, part slots, default parts
// and tyres), "Texts.scr" (display strings) and "Icons.scr" (icon textures).
//
// Make* build a script's bytes; WriteGR* write them into a folder and report
// the finished file. Scripts are bytes in the game's 8-bit code page with CR LF
// line ends; variant names, engine types and production texts are taken as
// code-page bytes and written unchanged.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/string_table.h"
#include "ops/car_variants.h"

namespace wizard {

// The wizard's choices that the scripts are made from.
struct CarScriptSetup {
  std::string CarID;               // e.g. "AB1"
  int CarPaintingsCount = 1;       // 1 to 5
  std::uint32_t CarParts = 0;      // bits: 0 exhaust, 1 bonnet, 2 spoiler, 3 bumpers, 4 doors
  std::uint32_t CarAnimParts = 0;  // bits: 0 antenna, 1 wipers
  std::uint32_t CarWheels = 4096;  // bit i: wheel type i chosen (kWheelTypes order)
  std::uint32_t CarDefaultWheels = 4096;  // one wheel-type bit
  CarVariants Variants;                   // variant number = index + 1
};

// Bits of CarScriptSetup::CarParts and CarAnimParts.
inline constexpr std::uint32_t kPartExhaust = 1;
inline constexpr std::uint32_t kPartBonnet = 2;
inline constexpr std::uint32_t kPartSpoiler = 4;
inline constexpr std::uint32_t kPartBumpers = 8;
inline constexpr std::uint32_t kPartDoors = 16;
inline constexpr std::uint32_t kAnimPartAntenna = 1;
inline constexpr std::uint32_t kAnimPartWipers = 2;

// The banner at the top of Texts.scr and Icons.scr.
inline constexpr std::string_view kScriptBanner = "// --- Created by Carwright. Do not modyfy. ---";

// Reports one finished file by the name it is shown with: the caller adds 1
// to its progress and shows CreatingFileStatus of the name in its language.
// May be empty (nothing is reported).
using ProgressStep = std::function<void(std::string_view file_name)>;

// Returns string 110 in `language` followed directly by `file_name`, the
// status of a written file.
std::string CreatingFileStatus(std::string_view file_name, Language language);

// Return the script's bytes, exactly as written to disk; nothing when a
// template is missing from the program's resources.
std::optional<std::string> MakeCarsScript(const CarScriptSetup& car);
std::optional<std::string> MakePartsScript(const CarScriptSetup& car);
std::optional<std::string> MakeModelScript(const CarScriptSetup& car);
std::optional<std::string> MakeTextsScript(const CarScriptSetup& car);
std::optional<std::string> MakeIconsScript(const CarScriptSetup& car);

// Write the script as `folder` + `file_name` (a game path; the folder must
// exist) and then report `file_name` through `progress`.
// True when the file was written completely. False, without a report, when a
// template is missing or the file cannot be written (a read-only file, a
// missing folder); the file is replaced atomically, so a failure leaves any
// older file as it was and never a partial one.
bool WriteGRCarsScript(const CarScriptSetup& car, std::string_view folder,
                       std::string_view file_name, const ProgressStep& progress = {});
bool WriteGRPartsScript(const CarScriptSetup& car, std::string_view folder,
                        std::string_view file_name, const ProgressStep& progress = {});
bool WriteGRModelScript(const CarScriptSetup& car, std::string_view folder,
                        std::string_view file_name, const ProgressStep& progress = {});
bool WriteGRTextsScript(const CarScriptSetup& car, std::string_view folder,
                        std::string_view file_name, const ProgressStep& progress = {});
bool WriteGRIconsScript(const CarScriptSetup& car, std::string_view folder,
                        std::string_view file_name, const ProgressStep& progress = {});

// The sell price of a car: BuyPrice x 0.6 rounded to the nearest whole
// number (3 x price / 5 never lies half-way).
std::int64_t SellPrice(std::int32_t buy_price);

}  // namespace wizard
