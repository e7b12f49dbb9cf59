// Extracting a package below a destination folder. Every entry is checked
// before it is written; nothing is ever written outside the destination.
#include <system_error>

#include "devuza/entry_names.h"
#include "devuza/package.h"
#include "package_io.h"

namespace devuza {
namespace {

namespace stdfs = std::filesystem;
using detail::PathText;
using detail::SetError;

// Suffix of the temporary file that an extracted file is written to before it
// replaces the target.
constexpr std::string_view kPartSuffix = ".devuza-part";

// `dir` / `name`, or the existing entry of `dir` whose name matches `name`
// without regard to case (Windows finds "Parts" when asked for "PARTS").
stdfs::path ResolveChild(const stdfs::path& dir, const std::string& name) {
  stdfs::path exact = dir / name;
  std::error_code ec;
  if (stdfs::symlink_status(exact, ec).type() != stdfs::file_type::not_found) return exact;
  const std::string wanted = UpperAscii(name);
  stdfs::directory_iterator it(dir, ec);
  for (; !ec && it != stdfs::directory_iterator(); it.increment(ec)) {
    const std::string candidate = it->path().filename().string();
    if (UpperAscii(candidate) == wanted) return it->path();
  }
  return exact;
}

// True when `path` (already made canonical) lies inside `root` (canonical).
bool IsInside(const stdfs::path& path, const stdfs::path& root) {
  auto p = path.begin();
  for (auto r = root.begin(); r != root.end(); ++r, ++p) {
    if (r->empty()) continue;  // a trailing separator of the root
    if (p == path.end() || *p != *r) return false;
  }
  return true;
}

// Finds or creates the entry's folder below the destination. Sets the error.
bool PrepareFolder(Package& package, const std::string& label, const stdfs::path& destination,
                   const stdfs::path& canonical_destination, const std::string& folder,
                   stdfs::path& dir) {
  dir = ResolveChild(destination, folder);
  std::error_code ec;
  const stdfs::file_status link_status = stdfs::symlink_status(dir, ec);
  if (link_status.type() == stdfs::file_type::not_found) {
    if (!stdfs::create_directory(dir, ec) && ec) {
      SetError(package, PackageErrorCode::kFileError,
               label + ": cannot create the folder " + PathText(dir) + ": " + ec.message());
      return false;
    }
    return true;
  }
  // An existing folder may be a symbolic link or a junction: where it really
  // leads must lie inside the destination.
  const stdfs::path target = stdfs::canonical(dir, ec);
  if (ec || !IsInside(target, canonical_destination)) {
    SetError(package, PackageErrorCode::kUnsafeTarget,
             label + ": the folder " + PathText(dir) + " is a link that leads outside " +
                 PathText(destination) + " or nowhere");
    return false;
  }
  if (!stdfs::is_directory(dir, ec)) {
    SetError(
        package, PackageErrorCode::kFileError,
        label + ": cannot create the folder " + PathText(dir) + ": a file of that name exists");
    return false;
  }
  return true;
}

// Copies the entry's bytes to a temporary file in `dir` and renames it over
// the target, which replaces a file or a symbolic link of that name (never
// what a link points to). Sets the error.
bool WriteEntry(Package& package, const std::string& label, const DirectoryEntry& entry,
                const stdfs::path& target) {
  std::error_code ec;
  if (stdfs::is_directory(stdfs::symlink_status(target, ec))) {
    SetError(package, PackageErrorCode::kFileError,
             label + ": cannot write " + PathText(target) + ": a folder of that name exists");
    return false;
  }
  stdfs::path temp = target;
  temp += kPartSuffix;
  stdfs::remove(temp, ec);
  std::unique_ptr<std::FILE, FileCloser> out(detail::OpenFile(temp, "wbx"));
  if (!out) {
    SetError(package, PackageErrorCode::kFileError, label + ": cannot create " + PathText(temp));
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
  if (result == detail::CopyResult::kOk) stdfs::rename(temp, target, ec);
  if (result != detail::CopyResult::kOk || ec) {
    out.reset();
    std::error_code ignored;
    stdfs::remove(temp, ignored);
    const std::string what = result == detail::CopyResult::kReadFailed
                                 ? "cannot read its data from the package"
                                 : "cannot write " + PathText(target);
    SetError(package, PackageErrorCode::kFileError, label + ": " + what);
    return false;
  }
  return true;
}

}  // namespace

bool ExtractPackage(Package& package, const stdfs::path& destination) {
  if (!ReadDirectory(package)) return false;
  std::error_code ec;
  stdfs::create_directories(destination, ec);
  const stdfs::path canonical_destination = stdfs::canonical(destination, ec);
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
    stdfs::path dir = destination;
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
