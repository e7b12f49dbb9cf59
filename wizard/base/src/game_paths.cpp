// Resolving game paths against a case-sensitive file system.
#include "base/game_paths.h"

#include <string>
#include <system_error>
#include <vector>

#include "base/text_routines.h"

namespace wizard {
namespace {

namespace stdfs = std::filesystem;

// Matching names without regard to case: Windows' file system does it itself.
#if !defined(_WIN32)
std::vector<std::string_view> SplitComponents(std::string_view path) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || IsPathSeparator(path[i])) {
      if (i > start) parts.push_back(path.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

// Returns the name of the entry of `folder` that matches `name` without
// regard to ASCII case (the smallest name in byte order when several do);
// empty when none does or the folder cannot be listed.
std::string FindEntryNoCase(const stdfs::path& folder, std::string_view name) {
  std::error_code ec;
  stdfs::directory_iterator it(folder.empty() ? stdfs::path(".") : folder, ec);
  std::string best;
  if (ec) return best;
  for (const stdfs::directory_iterator end; it != end; it.increment(ec)) {
    if (ec) break;
    std::string entry = it->path().filename().string();
    if (EqualsNoCase(entry, name) && (best.empty() || entry < best)) best = std::move(entry);
  }
  return best;
}
#endif

}  // namespace

stdfs::path ResolveGamePath(std::string_view path) {
#ifdef _WIN32
  // The file system ignores case already; only the separators are unified.
  std::string native(path);
  for (char& c : native) {
    if (c == '/') c = '\\';
  }
  while (native.size() > 1 && native.back() == '\\' && native[native.size() - 2] != ':') {
    native.pop_back();
  }
  return stdfs::path(native);
#else
  stdfs::path result =
      (!path.empty() && IsPathSeparator(path.front())) ? stdfs::path("/") : stdfs::path();
  bool matching = true;  // false once a component does not exist: the rest is new
  for (std::string_view part : SplitComponents(path)) {
    std::string name(part);
    if (matching && part != "." && part != "..") {
      std::error_code ec;
      const stdfs::path exact = result / name;
      if (!stdfs::exists(stdfs::symlink_status(exact, ec))) {
        std::string found = FindEntryNoCase(result, part);
        if (found.empty()) {
          matching = false;
        } else {
          name = std::move(found);
        }
      }
    }
    result /= name;
  }
  return result;
#endif
}

}  // namespace wizard
