// A real folder in the temporary directory for one test, removed afterwards,
// and small helpers to put bytes into it and read them back.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace wizard_test {

class TestFolder {
 public:
  TestFolder();
  ~TestFolder();
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The folder as a game folder string: ends in a separator.
  std::string game_folder() const { return path_.string() + "/"; }

 private:
  std::filesystem::path path_;
};

// Writes `bytes` to `file`, creating its folders.
void WriteBytes(const std::filesystem::path& file, std::string_view bytes);

// The file's bytes; "<missing>" when it cannot be read.
std::string ReadBytes(const std::filesystem::path& file);

// Names of the entries of a folder, sorted, joined by '|'.
std::string ListFolder(const std::filesystem::path& folder);

}  // namespace wizard_test
