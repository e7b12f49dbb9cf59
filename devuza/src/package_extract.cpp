// Extracting a package below a destination folder. Every entry, and what the
// destination already holds, is checked before anything is written; nothing
// is ever written outside the destination.
#include <cerrno>
#include <string>
#include <system_error>
#include <unordered_map>
#include <unordered_set>

#include "devuza/entry_names.h"
#include "devuza/package.h"
#include "devuza/stored_names.h"
#include "folder_listings.h"
#include "package_io.h"

namespace devuza {
namespace {

namespace stdfs = std::filesystem;
using detail::PathFromUtf8;
using detail::PathText;
using detail::SetError;

// What one extraction knows of its destination.
struct Extraction {
  Package& package;
  stdfs::path destination;
  stdfs::path canonical_destination;
  detail::FolderListings listings;
  // Stored folder name → the folder on disk, once found or made and checked.
  std::unordered_map<std::string, stdfs::path> folders;
};

// True when `path` (already made canonical) lies inside `root` (canonical).
bool IsInside(const stdfs::path& path, const stdfs::path& root) {
  auto p = path.begin();
  for (auto r = root.begin(); r != root.end(); ++r, ++p) {
    if (r->empty()) continue;  // a trailing separator of the root
    if (p == path.end() || *p != *r) return false;
  }
  return true;
}

// Checks an existing folder that entries go into. It may be a symbolic link
// or a junction: where it really leads must lie inside the destination. Sets
// the error.
bool CheckExistingFolder(Extraction& run, const std::string& label, const stdfs::path& dir) {
  std::error_code ec;
  const stdfs::path target = stdfs::canonical(dir, ec);
  if (ec || !IsInside(target, run.canonical_destination)) {
    SetError(run.package, PackageErrorCode::kUnsafeTarget,
             label + ": the folder " + PathText(dir) + " is a link that leads outside " +
                 PathText(run.destination) + " or nowhere");
    return false;
  }
  if (!stdfs::is_directory(dir, ec)) {
    SetError(
        run.package, PackageErrorCode::kFileError,
        label + ": cannot create the folder " + PathText(dir) + ": a file of that name exists");
    return false;
  }
  return true;
}

// Finds or creates the entry's folder below the destination, the existing
// folder whose name differs only in case included. Sets the error.
bool PrepareFolder(Extraction& run, const std::string& label, const std::string& folder,
                   stdfs::path& dir) {
  if (const auto known = run.folders.find(folder); known != run.folders.end()) {
    dir = known->second;
    return true;
  }
  detail::FolderNames& top = run.listings.Of(run.destination);
  if (const std::string* existing = top.Find(folder)) {
    dir = run.destination / PathFromUtf8(*existing);
  } else {
    dir = run.destination / PathFromUtf8(folder);
    std::error_code ec;
    const bool created = stdfs::create_directory(dir, ec);
    if (ec) {
      SetError(run.package, PackageErrorCode::kFileError,
               label + ": cannot create the folder " + PathText(dir) + ": " + ec.message());
      return false;
    }
    top.Add(folder);
    if (created) {
      run.listings.Created(dir);
      run.folders.emplace(folder, dir);
      return true;
    }
    // It appeared since the listing: checked like any existing folder.
  }
  if (!CheckExistingFolder(run, label, dir)) return false;
  run.folders.emplace(folder, dir);
  return true;
}

// Writes the entry's bytes as `name` in `dir`. A new name is created
// exclusively and written in place. An existing file (the one whose name
// differs only in case included) is replaced by a new temporary file renamed
// over it, which replaces a file or a symbolic link of that name, never what
// a link points to. Only a file created here is ever removed. Sets the error.
bool WriteEntry(Extraction& run, const std::string& label, const DirectoryEntry& entry,
                const stdfs::path& dir, const std::string& name) {
  Package& package = run.package;
  detail::FolderNames& names = run.listings.Of(dir);
  const std::string* existing = names.Find(name);
  const bool is_new = existing == nullptr;
  const stdfs::path target = dir / PathFromUtf8(is_new ? name : *existing);
  std::error_code ec;
  if (!is_new && stdfs::is_directory(stdfs::symlink_status(target, ec))) {
    SetError(package, PackageErrorCode::kFileError,
             label + ": cannot write " + PathText(target) + ": a folder of that name exists");
    return false;
  }
  stdfs::path written;  // the file created here
  std::unique_ptr<std::FILE, FileCloser> out;
  if (is_new) {
    errno = 0;
    out.reset(detail::OpenFile(target, "wbx"));
    if (out) written = target;
  }
  // A file to replace, or one that appeared since the folder was listed: the
  // temporary file gets a name of its own that no file of the folder has.
  if (!out && (!is_new || errno == EEXIST)) {
    out.reset(detail::CreateUniqueFile(dir, written));
  }
  if (!out) {
    SetError(package, PackageErrorCode::kFileError, label + ": cannot create " + PathText(target));
    return false;
  }
  const std::uint64_t offset = package.base + static_cast<std::uint64_t>(entry.position - 1);
  detail::CopyResult result = detail::CopyResult::kReadFailed;
  if (detail::SeekTo(package.file.get(), offset)) {
    result = detail::CopyBytes(package.file.get(), out.get(),
                               static_cast<std::uint64_t>(entry.size), package.buffer);
  }
  if (result == detail::CopyResult::kOk && std::fclose(out.release()) != 0) {
    result = detail::CopyResult::kWriteFailed;
  }
  ec.clear();
  if (result == detail::CopyResult::kOk && written != target) stdfs::rename(written, target, ec);
  if (result != detail::CopyResult::kOk || ec) {
    out.reset();
    std::error_code ignored;
    stdfs::remove(written, ignored);
    const std::string what = result == detail::CopyResult::kReadFailed
                                 ? "cannot read its data from the package"
                                 : "cannot write " + PathText(target);
    SetError(package, PackageErrorCode::kFileError, label + ": " + what);
    return false;
  }
  if (is_new) names.Add(name);
  return true;
}

// The UTF-8 names of an entry that EntryProblem accepted.
std::string DiskFolder(const Package& package, const DirectoryEntry& entry) {
  return DiskName(*EntryFolder(entry), package.code_page).value_or(std::string());
}
std::string DiskFileName(const Package& package, const DirectoryEntry& entry) {
  return DiskName(EntryName(entry), package.code_page).value_or(std::string());
}

std::string EntryLabel(std::size_t index, const std::string& folder, const std::string& name) {
  return "Entry " + std::to_string(index + 1) + " " + detail::Quoted(folder) + " " +
         detail::Quoted(name);
}

// Checks what the destination already holds against every entry, without
// writing anything: the folders that entries go into must be folders inside
// the destination, and no file may have to replace a folder. The existing
// folders found are kept for the extraction. Sets the error.
bool CheckDestination(Extraction& run) {
  std::unordered_set<std::string> new_folders;
  for (std::size_t i = 0; i < run.package.entries.size(); ++i) {
    const DirectoryEntry& entry = run.package.entries[i];
    const std::string folder = DiskFolder(run.package, entry);
    const std::string name = DiskFileName(run.package, entry);
    stdfs::path dir = run.destination;
    if (!folder.empty()) {
      if (const auto known = run.folders.find(folder); known != run.folders.end()) {
        dir = known->second;
      } else if (new_folders.contains(folder)) {
        continue;  // a folder still to be made holds nothing
      } else if (const std::string* existing = run.listings.Of(run.destination).Find(folder)) {
        dir = run.destination / PathFromUtf8(*existing);
        if (!CheckExistingFolder(run, EntryLabel(i, folder, name), dir)) return false;
        run.folders.emplace(folder, dir);
      } else {
        new_folders.insert(folder);
        continue;
      }
    }
    if (const std::string* existing = run.listings.Of(dir).Find(name)) {
      const stdfs::path target = dir / PathFromUtf8(*existing);
      std::error_code ec;
      if (stdfs::is_directory(stdfs::symlink_status(target, ec))) {
        SetError(run.package, PackageErrorCode::kFileError,
                 EntryLabel(i, folder, name) + ": cannot write " + PathText(target) +
                     ": a folder of that name exists");
        return false;
      }
    }
  }
  return true;
}

bool ExtractEntries(Extraction& run) {
  Package& package = run.package;
  for (std::size_t i = 0; i < package.entries.size(); ++i) {
    const DirectoryEntry& entry = package.entries[i];
    const std::string folder = DiskFolder(package, entry);
    const std::string name = DiskFileName(package, entry);
    const std::string label = EntryLabel(i, folder, name);
    stdfs::path dir = run.destination;
    if (!folder.empty() && !PrepareFolder(run, label, folder, dir)) return false;
    if (!WriteEntry(run, label, entry, dir, name)) return false;
  }
  return true;
}

}  // namespace

bool ExtractPackage(Package& package, const stdfs::path& destination) {
  package.folder_listings = 0;
  if (!ReadDirectory(package)) return false;
  // Everything that would refuse the package is looked for before the first
  // byte (or folder) is written: the entries themselves, then what the
  // destination already holds.
  for (std::size_t i = 0; i < package.entries.size(); ++i) {
    if (std::string problem = EntryProblem(package, i); !problem.empty()) {
      SetError(package, PackageErrorCode::kBadEntry, std::move(problem));
      return false;
    }
  }
  Extraction run{package, destination, {}, {}, {}};
  std::error_code ec;
  const bool existed = stdfs::exists(stdfs::symlink_status(destination, ec));
  ec.clear();
  bool ok = true;
  if (existed) {
    run.canonical_destination = stdfs::canonical(destination, ec);
    ok = !ec && CheckDestination(run);
  }
  if (ok && !ec) {
    stdfs::create_directories(destination, ec);
    if (!ec) run.canonical_destination = stdfs::canonical(destination, ec);
  }
  if (ec) {
    SetError(package, PackageErrorCode::kFileError,
             "Cannot create the folder " + PathText(destination) + ": " + ec.message());
    ok = false;
  }
  if (ok) {
    if (!existed) run.listings.Created(destination);
    ok = ExtractEntries(run);
  }
  package.folder_listings = run.listings.listings();
  if (ok) detail::ClearError(package);
  return ok;
}

}  // namespace devuza
