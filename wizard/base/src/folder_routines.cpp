// Testing, creating and deleting folders.
#include "base/folder_routines.h"

#include <system_error>

#if !defined(_WIN32)
#include <unistd.h>
#endif
#include <vector>

#include "base/game_paths.h"
#include "base/text_routines.h"

namespace wizard {
namespace {

namespace stdfs = std::filesystem;

bool IsFolderNative(const stdfs::path& native) {
  std::error_code ec;
  return stdfs::is_directory(native, ec);
}

void DeleteTreeNative(const stdfs::path& folder) {
  std::error_code ec;
  if (stdfs::is_symlink(stdfs::symlink_status(folder, ec))) {
    stdfs::remove(folder, ec);
    return;
  }
  // Gather the entries first, so that each is visited once while the folder
  // changes under the iteration.
  std::vector<stdfs::directory_entry> entries;
  stdfs::directory_iterator it(folder, ec);
  if (!ec) {
    for (const stdfs::directory_iterator end; it != end; it.increment(ec)) {
      if (ec) break;
      entries.push_back(*it);
    }
  }
  for (const stdfs::directory_entry& entry : entries) {
    std::error_code entry_ec;
    if (entry.is_directory(entry_ec) && !entry.is_symlink(entry_ec)) {
      DeleteTreeNative(entry.path());
    } else {
#if defined(_WIN32)
      // Windows refuses to delete a read-only file; its attribute goes first.
      stdfs::permissions(entry.path(), stdfs::perms::owner_write, stdfs::perm_options::add,
                         entry_ec);
#endif
      stdfs::remove(entry.path(), entry_ec);
    }
  }
#if defined(_WIN32)
  ::_wrmdir(folder.c_str());
#else
  ::rmdir(folder.c_str());
#endif
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
  const stdfs::path native = ResolveGamePath(path.substr(0, last));
  std::error_code ec;
  stdfs::create_directories(native, ec);
  return IsFolderNative(native);
}

bool DeleteFolder(std::string_view path) {
  const stdfs::path native = ResolveGamePath(path);
  if (!IsFolderNative(native)) return false;
  DeleteTreeNative(native);
  std::error_code ec;
  return !stdfs::exists(stdfs::symlink_status(native, ec));
}

void DeleteTree(std::string_view path) {
  const stdfs::path native = ResolveGamePath(path);
  std::error_code ec;
  const stdfs::file_status status = stdfs::symlink_status(native, ec);
  if (stdfs::is_directory(status) || stdfs::is_symlink(status)) DeleteTreeNative(native);
}

}  // namespace wizard
