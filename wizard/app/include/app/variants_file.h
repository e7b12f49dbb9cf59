// The variants file of `carwright create --variants FILE`: the parameters of
// the five car variants as a small INI-style text (UTF-8):
//
//   ; a comment
//   [Variant2]          ; Variant1 .. Variant5; a section enables its variant
//   Group=P3            ; P1 P2 P3 O1 O2 O3,R1 W1,R2 B1: first resets the figures
//   Name=Custom Car Evo ; at most 20 characters, none of " ! @ # $ % ^ & * \ (backslash)
//   Enabled=yes         ; yes/no, 1/0, true/false
//   EngineType=DOHC/4   Production=Custom (at most 12 characters)
//   Power=30..700       Weight=700..1600      Torque=0..999
//   TorqueRPM, Height, Length, Width=0..9999  BuyPrice=0..999999
//   Drive=FWD|AWD|RWD   Displacement=1100|1600|2000|2400
//   Painting=1..paintings   Turbo=yes/no
//
// Sections and keys are matched without regard to case; values are trimmed.
#pragma once

#include <string>
#include <string_view>

#include "base/string_table.h"
#include "ops/car_variants.h"

namespace wizard {

// The text shown by `carwright create --help` describing the file.
extern const std::string_view kVariantsFileHelp;

// Applies the variants text `text` to `variants`: for each section, its
// variant is enabled, reset to the group's defaults when a Group key is
// given (before the other keys, wherever it stands), then each key sets its
// field. Texts are converted to the game's code page of `language`. Returns
// true when the whole text was applied; otherwise `error` names the line and
// the problem and `variants` is left as it was. `paintings` bounds Painting.
bool ApplyVariantsText(std::string_view text, int paintings, Language language,
                       CarVariants& variants, std::string& error);

}  // namespace wizard
