// Extracting a package below a destination folder. Every entry is checked
// before it is written; nothing is ever written outside the destination.
#include <system_error>

#include "devuza/entry_names.h"
#include "devuza/package.h"
#include "package_io.h"

namespace devuza {
namespace {

namespace fs = std::filesystem;
using detail::PathText;
using detail::SetError;

// `dir` / `name`, or the existing entry of `dir` whose name matches `name`
// without regard to case (Windows finds "Parts" when asked for "PARTS").
fs::path ResolveChild(const fs::path& dir, const std::string& name) {
  fs::path exact = dir / name;
  std::error_code ec;
  if (fs::symlink_status(exact, ec).type() != fs::file_type::not_found) return exact;
  const std::string wanted = UpperAscii(name);
  fs::directory_iterator it(dir, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const std::string candidate = it->path().filename().string();
    if (UpperAscii(candidate) == wanted) return it->path();
  }
  return exact;
}

// True when `path` (already made canonical) lies inside `root` (canonical).
bool IsInside(const fs::path& path, const fs::path& root) {
  auto p = path.begin();
  for (auto r = root.begin(); r != root.end(); ++r, ++p) {
    if (r->empty()) continue;  // a trailing separator of the root
    if (p == path.end() || *p != *r) return false;
  }
  return true;
}

// Finds or creates the entry's folder below the destination. Sets the error.
bool PrepareFolder(Package& package, const std::string& label, const fs::path& destination,
                   const fs::path& canonical_destination, const std::string& folder,
                   fs::path& dir) {
  dir = ResolveChild(destination, folder);
  std::error_code ec;
  const fs::file_status link_status = fs::symlink_status(dir, ec);
  if (link_status.type() == fs::file_type::not_found) {
    if (!fs::create_directory(dir, ec) && ec) {
      SetError(package, PackageErrorCode::kFileError,
               label + ": cannot create the folder " + PathText(dir) + ": " + ec.message());
      return false;
    }
    return true;
  }
  // An existing folder may be a symbolic link or a junction: where it really
  // leads must lie inside the destination.
  const fs::path target = fs::canonical(dir, ec);
  if (ec || !IsInside(target, canonical_destination)) {
    SetError(package, PackageErrorCode::kUnsafeTarget,
             label + ": the folder " + PathText(dir) + " is a link that leads outside " +
                 PathText(destination) + " or nowhere");
    return false;
  }
  if (!fs::is_directory(dir, ec)) {
    SetError(
        package, PackageErrorCode::kFileError,
        label + ": cannot create the folder " + PathText(dir) + ": a file of that name exists");
    return false;
  }
  return true;
}

// Copies the entry's bytes to a new temporary file beside the target and
// renames it over the target, which replaces a file or a symbolic link of
// that name (never what a link points to). Only that temporary file is ever
// removed. Sets the error.
bool WriteEntry(Package& package, const std::string& label, const DirectoryEntry& entry,
                const fs::path& target) {
  std::error_code ec;
  if (fs::is_directory(fs::symlink_status(target, ec))) {
    SetError(package, PackageErrorCode::kFileError,
             label + ": cannot write " + PathText(target) + ": a folder of that name exists");
    return false;
  }
  // The temporary file gets a name of its own that no file of the folder has,
  // so it never takes the place of an entry or of a file already there.
  fs::path temp;
  std::unique_ptr<std::FILE, FileCloser> out(detail::CreateUniqueFile(target.parent_path(), temp));
  if (!out) {
    SetError(package, PackageErrorCode::kFileError,
             label + ": cannot create a temporary file in " + PathText(target.parent_path()));
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
  if (result == detail::CopyResult::kOk) fs::rename(temp, target, ec);
  if (result != detail::CopyResult::kOk || ec) {
    out.reset();
    std::error_code ignored;
    fs::remove(temp, ignored);
    const std::string what = result == detail::CopyResult::kReadFailed
                                 ? "cannot read its data from the package"
                                 : "cannot write " + PathText(target);
    SetError(package, PackageErrorCode::kFileError, label + ": " + what);
    return false;
  }
  return true;
}

}  // namespace

bool ExtractPackage(Package& package, const fs::path& destination) {
  if (!ReadDirectory(package)) return false;
  std::error_code ec;
  fs::create_directories(destination, ec);
  const fs::path canonical_destination = fs::canonical(destination, ec);
  if (ec) {
    SetError(package, PackageErrorCode::kFileError,
             "Cannot create the folder " + PathText(destination) + ": " + ec.message());
    return false;
  }
  for (std::size_t i = 0; i < package.entries.size(); ++i) {
    const DirectoryEntry& entry = package.entries[i];
    if (std::string problem = EntryProblem(package, i); !problem.empty()) {
      SetError(package, PackageErrorCode::kBadEntry, std::move(problem));
      return false;
    }
    const std::string label = "Entry " + std::to_string(i + 1) + " " +
                              detail::Quoted(*EntryFolder(entry)) + " " +
                              detail::Quoted(EntryName(entry));
    const std::string folder = *EntryFolder(entry);
    fs::path dir = destination;
    if (!folder.empty() &&
        !PrepareFolder(package, label, destination, canonical_destination, folder, dir)) {
      return false;
    }
    if (!WriteEntry(package, label, entry, ResolveChild(dir, EntryName(entry)))) return false;
  }
  detail::ClearError(package);
  return true;
}

}  // namespace devuza
