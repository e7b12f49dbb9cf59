// Reading a package: the header (directly, or through the trailer of a
// self-extracting program), the directory, and the checks of each entry.
#include <array>
#include <string>
#include <unordered_map>

#include "devuza/entry_names.h"
#include "devuza/package.h"
#include "devuza/stored_names.h"
#include "package_internal.h"
#include "package_io.h"

namespace devuza {
namespace {

using detail::PathText;
using detail::Quoted;
using detail::SetError;

bool RefuseNoPackage(Package& package) {
  SetError(package, PackageErrorCode::kNoDevuzaFile, std::string(kNoDevuzaFileText));
  package.file.reset();
  return false;
}

std::string CarIdWithoutPadding(const PackageHeader& header) {
  std::string id = HeaderCarId(header);
  while (!id.empty() && id.back() == ' ') id.pop_back();
  return id;
}

std::string EntryLabel(std::size_t index, const DirectoryEntry& entry) {
  const auto folder = EntryFolder(entry);
  const std::string folder_text =
      folder ? Quoted(*folder)
             : Quoted(std::string_view(entry.folder_field.data(), entry.folder_field.size()));
  return "Entry " + std::to_string(index + 1) + " (folder " + folder_text + ", file " +
         Quoted(EntryName(entry)) + ")";
}

// Every stored folder lands directly in the car's folder, beside the files
// stored there. Notes, for each entry, the first earlier entry that needs a
// file where it needs a folder or the other way round, as Windows compares
// names: without regard to case.
void FindClashes(Package& package) {
  std::unordered_map<std::string, std::size_t> top_files;  // upper-cased name → first entry
  std::unordered_map<std::string, std::size_t> folders;
  package.entry_clashes.assign(package.entries.size(), kNoClash);
  for (std::size_t i = 0; i < package.entries.size(); ++i) {
    const auto folder = EntryFolder(package.entries[i]);
    if (!folder) continue;
    const bool top = folder->empty();
    const std::string upper = UpperAscii(top ? EntryName(package.entries[i]) : *folder);
    const auto& others = top ? folders : top_files;
    if (const auto other = others.find(upper); other != others.end()) {
      package.entry_clashes[i] = other->second;
    }
    (top ? top_files : folders).try_emplace(upper, i);
  }
}

}  // namespace

namespace detail {

bool OpenForReading(Package& package, PackageMode mode, const std::filesystem::path& path) {
  package.entries.clear();
  package.entry_clashes.clear();
  package.mode = mode;
  package.path = path;
  package.temp_path.clear();
  package.header = PackageHeader{};
  std::string problem;
  package.file.reset(OpenRegularFile(path, problem));
  std::uint64_t size = 0;
  if (!package.file || !FileLength(package.file.get(), size)) {
    package.file.reset();
    if (problem.empty()) problem = "cannot be read";
    SetError(package, PackageErrorCode::kFileError, "The file " + PathText(path) + " " + problem);
    return false;
  }

  package.base = 0;
  package.available = size;
  if (mode == PackageMode::kReadSfx) {
    // The trailer holds the 1-based position of the package's first byte; the
    // package must lie between it and the trailer.
    std::array<std::uint8_t, kTrailerSize> trailer{};
    if (size < kTrailerSize || !SeekTo(package.file.get(), size - kTrailerSize) ||
        !ReadExact(package.file.get(), trailer.data(), trailer.size())) {
      return RefuseNoPackage(package);
    }
    const std::int32_t position = ReadInt32(trailer);
    const std::uint64_t end = size - kTrailerSize;
    if (position < 1 || static_cast<std::uint64_t>(position - 1) >= end) {
      return RefuseNoPackage(package);
    }
    package.base = static_cast<std::uint64_t>(position - 1);
    package.available = end - package.base;
  }

  // A file too short for a header reads as a header of zeros.
  if (package.available < kHeaderSize) return RefuseNoPackage(package);
  std::array<std::uint8_t, kHeaderSize> bytes{};
  if (!SeekTo(package.file.get(), package.base) ||
      !ReadExact(package.file.get(), bytes.data(), bytes.size())) {
    package.file.reset();
    SetError(package, PackageErrorCode::kFileError, "Cannot read the file " + PathText(path));
    return false;
  }
  package.header = DecodeHeader(bytes);
  if (!HasMagic(package.header)) return RefuseNoPackage(package);
  if (package.header.version != kVersion) {
    SetError(package, PackageErrorCode::kWrongVersion, std::string(kWrongVersionText));
    package.file.reset();
    return false;
  }
  // The car ID names the car's folder when the package is installed.
  const std::string car_id = CarIdWithoutPadding(package.header);
  if (const std::string problem = NameProblem(car_id); !problem.empty()) {
    SetError(package, PackageErrorCode::kBadCarId,
             "The package's car ID " + Quoted(HeaderCarId(package.header)) +
                 " cannot name a car folder: it " + problem);
    package.file.reset();
    return false;
  }
  package.open = true;
  return true;
}

}  // namespace detail

bool ReadDirectory(Package& package) {
  package.entries.clear();
  package.entry_clashes.clear();
  if (!package.open || package.mode == PackageMode::kWrite) {
    detail::RefuseNotOpen(package, "No package is open for reading");
    return false;
  }
  const PackageHeader& header = package.header;
  const std::uint64_t available = package.available;
  const std::string where = "The package " + PathText(package.path) + ": ";
  if (header.file_count < 0) {
    SetError(package, PackageErrorCode::kBadDirectory,
             where + "the file count " + std::to_string(header.file_count) + " is negative");
    return false;
  }
  // The writer never finishes a package without files; one that holds none
  // (unfinished, or made by hand) would install a car without any file.
  if (header.file_count == 0) {
    SetError(package, PackageErrorCode::kNoFiles,
             where + "the package holds no file: it is not usable");
    return false;
  }
  const auto count = static_cast<std::uint64_t>(header.file_count);
  if (header.directory_position < kFirstDataPosition) {
    SetError(package, PackageErrorCode::kBadDirectory,
             where + "the directory position " + std::to_string(header.directory_position) +
                 " lies before the file data");
    return false;
  }
  const auto offset = static_cast<std::uint64_t>(header.directory_position - 1);
  if (offset > available || count > (available - offset) / kEntrySize) {
    SetError(package, PackageErrorCode::kBadDirectory,
             where + "the directory of " + std::to_string(count) + " entries at position " +
                 std::to_string(header.directory_position) + " does not fit the " +
                 std::to_string(available) + " bytes of the package");
    return false;
  }
  std::vector<std::uint8_t> bytes(count * kEntrySize);
  if (!detail::SeekTo(package.file.get(), package.base + offset) ||
      !detail::ReadExact(package.file.get(), bytes.data(), bytes.size())) {
    SetError(package, PackageErrorCode::kFileError, where + "cannot read the directory");
    return false;
  }
  package.entries.reserve(count);
  for (std::uint64_t i = 0; i < count; ++i) {
    package.entries.push_back(DecodeEntry(
        std::span<const std::uint8_t, kEntrySize>(bytes.data() + i * kEntrySize, kEntrySize)));
  }
  FindClashes(package);
  return true;
}

std::string EntryProblem(const Package& package, std::size_t index) {
  const DirectoryEntry& entry = package.entries.at(index);
  const std::string label = EntryLabel(index, entry);
  const auto folder = EntryFolder(entry);
  if (!folder) return label + ": the folder field has no NUL";
  if (!folder->empty()) {
    if (const std::string problem = NameProblem(*folder); !problem.empty()) {
      return label + ": the folder name " + problem;
    }
  }
  if (const std::string problem = NameProblem(EntryName(entry)); !problem.empty()) {
    return label + ": the file name " + problem;
  }
  const std::string undefined = " holds a byte that " +
                                std::string(CodePageName(package.code_page)) +
                                ", the game's code page, does not define";
  if (!DiskName(*folder, package.code_page)) return label + ": the folder name" + undefined;
  if (!DiskName(EntryName(entry), package.code_page)) return label + ": the file name" + undefined;
  if (index < package.entry_clashes.size() && package.entry_clashes[index] != kNoClash) {
    const std::size_t other = package.entry_clashes[index];
    const DirectoryEntry& earlier = package.entries[other];
    const std::string what = folder->empty()
                                 ? "the file " + Quoted(EntryName(entry)) +
                                       " takes the name of "
                                       "the folder " +
                                       Quoted(*EntryFolder(earlier))
                                 : "the folder " + Quoted(*folder) +
                                       " takes the name of the file " + Quoted(EntryName(earlier));
    return label + ": " + what + " of entry " + std::to_string(other + 1) +
           " (names are compared without regard to case, as Windows does)";
  }
  // File data lies between the header and the directory (whose place was
  // checked against the package by ReadDirectory).
  const auto data_end = static_cast<std::uint64_t>(package.header.directory_position - 1);
  if (entry.size < 0) return label + ": the size " + std::to_string(entry.size) + " is negative";
  if (entry.position < kFirstDataPosition) {
    return label + ": the position " + std::to_string(entry.position) +
           " lies before the file data";
  }
  const auto offset = static_cast<std::uint64_t>(entry.position - 1);
  const auto size = static_cast<std::uint64_t>(entry.size);
  if (offset > data_end || size > data_end - offset) {
    return label + ": its " + std::to_string(size) + " bytes at position " +
           std::to_string(entry.position) + " lie outside the package's file data";
  }
  return {};
}

Package::~Package() {
  if (open && mode == PackageMode::kWrite) detail::DiscardWritten(*this);
}

bool OpenPackage(Package& package, PackageMode mode, const std::filesystem::path& path,
                 std::string_view car_id, std::int16_t flag) {
  if (package.open) {
    if (package.mode == PackageMode::kWrite) {
      detail::DiscardWritten(package);
    } else {
      package.file.reset();
      package.open = false;
    }
  }
  detail::ClearError(package);
  switch (mode) {
    case PackageMode::kWrite:
      return detail::OpenForWriting(package, path, car_id, flag);
    case PackageMode::kReadFile:
    case PackageMode::kReadSfx:
      return detail::OpenForReading(package, mode, path);
  }
  SetError(package, PackageErrorCode::kNotOpen, "Unknown package mode");
  return false;
}

bool ClosePackage(Package& package) {
  if (!package.open) {
    // A written package that failed before its close is discarded here.
    if (package.mode == PackageMode::kWrite) detail::DiscardWritten(package);
    return package.mode != PackageMode::kWrite || package.error_code == PackageErrorCode::kNone;
  }
  if (package.mode == PackageMode::kWrite) return detail::CloseWritten(package);
  package.file.reset();
  package.open = false;
  return true;
}

bool ReadPackageHeader(Package& package, const std::filesystem::path& path, PackageMode mode) {
  if (mode == PackageMode::kWrite) {
    detail::SetError(package, PackageErrorCode::kNotOpen, "Unknown package mode");
    return false;
  }
  const bool accepted = OpenPackage(package, mode, path);
  if (accepted) ClosePackage(package);
  return accepted;
}

std::string PackageCarID(const Package& package) {
  return CarIdWithoutPadding(package.header);
}

std::string LastPackageError(const Package& package) {
  return package.error_text;
}

}  // namespace devuza
