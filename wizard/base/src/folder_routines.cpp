// Testing, creating and deleting folders.
#include "base/folder_routines.h"

#include <unistd.h>

#include <system_error>
#include <vector>

#include "base/game_paths.h"
#include "base/text_routines.h"

namespace wizard {
namespace {

namespace fs = std::filesystem;

bool IsFolderNative(const fs::path& native) {
  std::error_code ec;
  return fs::is_directory(native, ec);
}

void DeleteTreeNative(const fs::path& folder) {
  std::error_code ec;
  if (fs::is_symlink(fs::symlink_status(folder, ec))) {
    fs::remove(folder, ec);
    return;
  }
  // Gather the entries first, so that each is visited once while the folder
  // changes under the iteration.
  std::vector<fs::directory_entry> entries;
  fs::directory_iterator it(folder, ec);
  if (!ec) {
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
      if (ec) break;
      entries.push_back(*it);
    }
  }
  for (const fs::directory_entry& entry : entries) {
    std::error_code entry_ec;
    if (entry.is_directory(entry_ec) && !entry.is_symlink(entry_ec)) {
      DeleteTreeNative(entry.path());
    } else {
      fs::remove(entry.path(), entry_ec);
    }
  }
  ::rmdir(folder.c_str());
}

}  // namespace

bool FolderExists(std::string_view path, bool create) {
  if (IsFolderNative(ResolveGamePath(path))) return true;
  return create && CreateFolder(AddBackslash(path));
}

bool CreateFolder(std::string_view path) {
  std::size_t last = path.size();
  while (last > 0 && !IsPathSeparator(path[last - 1])) --last;
  if (last == 0) return false;
  const fs::path native = ResolveGamePath(path.substr(0, last));
  std::error_code ec;
  fs::create_directories(native, ec);
  return IsFolderNative(native);
}

bool DeleteFolder(std::string_view path) {
  const fs::path native = ResolveGamePath(path);
  if (!IsFolderNative(native)) return false;
  DeleteTreeNative(native);
  std::error_code ec;
  return !fs::exists(fs::symlink_status(native, ec));
}

void DeleteTree(std::string_view path) {
  const fs::path native = ResolveGamePath(path);
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(native, ec);
  if (fs::is_directory(status) || fs::is_symlink(status)) DeleteTreeNative(native);
}

}  // namespace wizard
