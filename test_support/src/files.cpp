#include "test_support/files.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace gm_test {

namespace stdfs = std::filesystem;

void WriteFile(const stdfs::path& file, std::string_view bytes) {
  if (file.has_parent_path()) stdfs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::string ReadFile(const stdfs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string ListFolder(const stdfs::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : stdfs::directory_iterator(folder, ec)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  std::string joined;
  for (const std::string& name : names) joined += (joined.empty() ? "" : "|") + name;
  return joined;
}

std::vector<std::string> ListTree(const stdfs::path& root) {
  std::vector<std::string> names;
  std::error_code ec;
  for (auto it = stdfs::recursive_directory_iterator(root, ec);
       !ec && it != stdfs::recursive_directory_iterator(); it.increment(ec)) {
    std::string name = stdfs::relative(it->path(), root).generic_string();
    if (stdfs::is_directory(it->symlink_status())) name += '/';
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string ComparablePathText(std::string_view text) {
  std::string comparable(text);
#ifdef _WIN32
  for (char& c : comparable) {
    if (c == '/') c = '\\';
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
#endif
  return comparable;
}

}  // namespace gm_test
