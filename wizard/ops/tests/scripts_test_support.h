// Helpers of the car script and registration tests: expected texts with the
// stored-template padding, the start-up car, and a progress recorder.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ops/car_scripts.h"
#include "test_support/files.h"
#include "test_support/scratch_folder.h"

namespace wizard_test {

// Joins lines, each followed by CR LF.
inline std::string CrLfLines(const std::vector<std::string_view>& lines) {
  std::string text;
  for (std::string_view line : lines) {
    text.append(line);
    text.append("\r\n");
  }
  return text;
}

// A stored template's text as it comes out of a writer: padded with NULs to a
// multiple of four bytes, each NUL turned into a blank.
inline std::string WithPaddingBlanks(std::string text) {
  text.append((4 - text.size() % 4) % 4, ' ');
  return text;
}

// A filled template as it comes out of a writer: `filled` followed by the
// blanks that padded `unfilled`, the template's own text, to four bytes.
inline std::string WithPaddingOf(const std::string& unfilled, std::string filled) {
  filled.append((4 - unfilled.size() % 4) % 4, ' ');
  return filled;
}

// The wizard's start-up state for car `car_id`: variant 1 enabled, group 0
// defaults everywhere, one painting, WinterEvo3 tyres.
inline wizard::CarScriptSetup StartupCar(std::string car_id) {
  wizard::CarScriptSetup car;
  car.CarID = std::move(car_id);
  wizard::ResetCarVariants(car.Variants);
  return car;
}

// Records the file names reported through a ProgressStep.
struct ProgressLog {
  std::vector<std::string> files;  // as reported
  wizard::ProgressStep step() {
    return [this](std::string_view file) { files.emplace_back(file); };
  }
};

}  // namespace wizard_test
