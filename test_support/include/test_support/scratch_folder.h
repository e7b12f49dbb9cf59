// A real folder below the system's temporary folder for one test, removed
// with everything in it when the object goes, whatever permissions the test
// left on it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace gm_test {

class ScratchFolder {
 public:
  // Creates a fresh, empty folder; throws when it cannot.
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }
  // The folder as a game folder string: ends in a separator.
  std::string game_folder() const { return path_.string() + "/"; }

 private:
  std::filesystem::path path_;
};

}  // namespace gm_test
