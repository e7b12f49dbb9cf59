// The output's folder: created, with the folders above it that are missing,
// when the user names one that does not exist yet, and taken away again
// (only the folders created, only while empty) when the export fails.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace scenepress_app {

class OutputFolder {
 public:
  OutputFolder() = default;
  OutputFolder(const OutputFolder&) = delete;
  OutputFolder& operator=(const OutputFolder&) = delete;
  // Removes the folders it created that are still empty, unless kept.
  ~OutputFolder();

  // Makes `folder` exist; "" on success, else one line naming the folder
  // and the reason. Nothing above the first folder that exists is touched.
  std::string create(const std::filesystem::path& folder);
  // The folders created, deepest first.
  const std::vector<std::filesystem::path>& created() const { return created_; }
  // The export succeeded: the folders stay.
  void keep() { created_.clear(); }

 private:
  std::vector<std::filesystem::path> created_;
};

}  // namespace scenepress_app
