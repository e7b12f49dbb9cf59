// Helpers of the car script and registration tests: a scratch folder, whole
// file reads, and the stored-template padding.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "wizard/car_scripts.h"

namespace wizard_test {

// A fresh folder below the system's temporary folder, removed afterwards.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("gm_scripts_" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The folder as a game path, ending in a separator.
  std::string folder() const { return path_.string() + "/"; }

 private:
  std::filesystem::path path_;
};

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

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

// Records the status texts reported through a ProgressStep.
struct ProgressLog {
  std::vector<std::string> statuses;
  wizard::ProgressStep step() {
    return [this](std::string_view status) { statuses.emplace_back(status); };
  }
};

}  // namespace wizard_test
