// Creating the output's folder, and taking it away after a failed export.
#include "output_folder.h"

#include <fmt/format.h>

namespace scenepress_app {

OutputFolder::~OutputFolder() {
  for (const std::filesystem::path& folder : created_) {
    std::error_code ignored;
    if (std::filesystem::is_directory(folder, ignored) &&
        std::filesystem::is_empty(folder, ignored)) {
      std::filesystem::remove(folder, ignored);
    }
  }
}

std::string OutputFolder::create(const std::filesystem::path& folder) {
  std::error_code error;
  if (std::filesystem::is_directory(folder, error)) return "";
  std::vector<std::filesystem::path> missing;
  for (std::filesystem::path p = folder; !p.empty(); p = p.parent_path()) {
    const std::filesystem::file_status status = std::filesystem::status(p, error);
    if (status.type() != std::filesystem::file_type::not_found) break;
    missing.push_back(p);
    if (p == p.parent_path()) break;
  }
  if (missing.empty()) {
    return error ? fmt::format("{}: cannot reach the output's folder: {}", folder.string(),
                               error.message())
                 : fmt::format("{}: the output's folder is not a folder", folder.string());
  }
  // One at a time, from the top, so that each one made is known.
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    if (!std::filesystem::create_directory(*it, error) && error) {
      return fmt::format("{}: cannot create the output's folder: {}", it->string(),
                         error.message());
    }
    created_.insert(created_.begin(), *it);
  }
  return "";
}

}  // namespace scenepress_app
