// Registration of a custom car in the game's master scripts (not the
// Windows registry, nor the custom-car list in "Carwright.ini"): the include
// lines that make the game load the car's Cars.scr, Parts.scr, Texts.scr and
// Icons.scr, and the chain lines that include the wizard's own master scripts
// "Data\Cars\Texts.scr" and "Data\Cars\Icons.scr" from the game's
// "Data\Texts.scr" and "Data\Menu\uidef\Textures.def" once.
//
// Every routine only appends; each file is rewritten atomically, so one that
// fails is left as it was. A car's line always starts a line of its own: after
// a last line without a line end, CR LF is written first. A car line is
// appended on every call: the caller registers a car once. `game_folder` ends
// in a separator; master scripts are found whatever case they have on disk.
// The car's line is CarRegistrationText (custom_cars.h), the text GRDeleteCar
// cuts out again.
// Each routine ends at its first failure with false and, when `failed_file`
// is given, puts there the game path of the file that failed: the game file
// that is missing or cannot be written, whichever master script it is.
#pragma once

#include <string>
#include <string_view>

#include "base/custom_cars.h"
#include "ops/car_scripts.h"

namespace wizard {

// The chain lines and the comment written before each.
inline constexpr std::string_view kTextsChainLine = "!include(\"Cars\\\\Texts.scr\")";
inline constexpr std::string_view kTextsChainComment = "// Created by Carwright";
inline constexpr std::string_view kIconsChainLine = "!include(\"..\\\\..\\\\Cars\\\\Icons.scr\")";
inline constexpr std::string_view kIconsChainComment = kScriptBanner;

// Appends the car's line and an empty line to "Data\Cars\cars.scr", after
// making it writable, then reports "Data\Cars\Cars.scr". False, with nothing
// written and no report, when the file is missing or cannot be written.
bool UpdateGRCarsScript(std::string_view game_folder, std::string_view car_id,
                        const ProgressStep& progress = {}, std::string* failed_file = nullptr);

// The same for "Data\Cars\Parts.scr".
bool UpdateGRPartsScript(std::string_view game_folder, std::string_view car_id,
                         const ProgressStep& progress = {}, std::string* failed_file = nullptr);

// Makes "Data\Texts.scr" writable (false when it is missing), appends the
// chain block (an empty line, the comment, the chain line, an empty line) if
// the chain line is not in it yet, then appends the car's line and an empty
// line to "Data\Cars\Texts.scr" (created when missing) and reports it. False
// at the first failure, without a report.
bool UpdateGRTextsScript(std::string_view game_folder, std::string_view car_id,
                         const ProgressStep& progress = {}, std::string* failed_file = nullptr);

// When "Data\Menu\uidef\Textures.def" lacks the chain line: makes it writable
// (false when it is missing) and appends the chain block. Then appends the
// car's line and an empty line to "Data\Cars\Icons.scr" (created when
// missing) and reports it. False at the first failure, without a report.
bool UpdateGRIconsScript(std::string_view game_folder, std::string_view car_id,
                         const ProgressStep& progress = {}, std::string* failed_file = nullptr);

}  // namespace wizard
