// Writing a package: the header at open, file data appended in bounded
// chunks, the directory and the final header at close.
#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <system_error>

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

constexpr std::uint64_t kMaxPackageLength = std::numeric_limits<std::int32_t>::max();
constexpr std::size_t kMaxFileCount = std::numeric_limits<std::int16_t>::max();
// Sub-folders deeper than this are refused (also ends symbolic-link loops).
constexpr int kMaxFolderDepth = 32;

enum class AddResult { kAdded, kEmpty, kFailed };

bool CheckWritable(Package& package) {
  // A package that failed to write keeps the error that stopped it.
  if (package.open && package.mode == PackageMode::kWrite) return !package.failed;
  detail::RefuseNotOpen(package, "No package is open for writing");
  return false;
}

// Checks the stored folder and file name of `file_path`; sets the error.
bool CheckStoredNames(Package& package, const std::filesystem::path& file_path,
                      std::string_view folder, std::string_view name) {
  const std::string where = "Cannot pack file " + PathText(file_path) + ": ";
  if (folder.size() >= kFolderFieldSize) {
    SetError(package, PackageErrorCode::kNameTooLong,
             where + "the folder name " + Quoted(folder) + " is longer than " +
                 std::to_string(kFolderFieldSize - 1) + " characters");
    return false;
  }
  if (name.size() > kNameFieldSize) {
    SetError(package, PackageErrorCode::kNameTooLong,
             where + "the file name " + Quoted(name) + " is longer than " +
                 std::to_string(kNameFieldSize) + " characters");
    return false;
  }
  if (!folder.empty()) {
    if (const std::string problem = NameProblem(folder); !problem.empty()) {
      SetError(package, PackageErrorCode::kBadEntry,
               where + "the folder name " + Quoted(folder) + " " + problem);
      return false;
    }
  }
  if (const std::string problem = NameProblem(name); !problem.empty()) {
    SetError(package, PackageErrorCode::kBadEntry,
             where + "the file name " + Quoted(name) + " " + problem);
    return false;
  }
  return true;
}

// The name `utf8` in the package's code page; sets the error when the code
// page cannot hold it.
std::optional<std::string> ToCodePage(Package& package, const std::filesystem::path& file_path,
                                      std::string_view what, std::string_view utf8) {
  std::optional<std::string> stored = StoredName(utf8, package.code_page);
  if (!stored) {
    SetError(package, PackageErrorCode::kBadEntry,
             "Cannot pack file " + PathText(file_path) + ": the " + std::string(what) + " " +
                 Quoted(utf8) + " cannot be written in " +
                 std::string(CodePageName(package.code_page)) + ", the game's code page");
  }
  return stored;
}

AddResult AddFile(Package& package, const std::filesystem::path& file_path,
                  std::string_view utf8_folder, std::string_view utf8_name) {
  if (!CheckWritable(package)) return AddResult::kFailed;
  const std::optional<std::string> stored_folder =
      ToCodePage(package, file_path, "folder name", utf8_folder);
  if (!stored_folder) return AddResult::kFailed;
  const std::optional<std::string> stored_name =
      ToCodePage(package, file_path, "file name", utf8_name);
  if (!stored_name) return AddResult::kFailed;
  const std::string_view folder = *stored_folder;
  const std::string_view name = *stored_name;
  if (!CheckStoredNames(package, file_path, folder, name)) return AddResult::kFailed;
  const std::string key = UpperAscii(folder) + "\\" + UpperAscii(name);
  if (package.stored_names.contains(key)) {
    SetError(package, PackageErrorCode::kBadEntry,
             "Cannot pack file " + PathText(file_path) + ": the package already holds a file " +
                 Quoted(name) + " in the folder " + Quoted(folder) +
                 " (names are compared without regard to case)");
    return AddResult::kFailed;
  }

  std::string problem;
  std::unique_ptr<std::FILE, FileCloser> in(detail::OpenRegularFile(file_path, problem));
  std::uint64_t size = 0;
  if (!in || !detail::FileLength(in.get(), size) || !detail::SeekTo(in.get(), 0)) {
    SetError(
        package, PackageErrorCode::kFileError,
        "Cannot read file " + PathText(file_path) + (problem.empty() ? "" : ": it " + problem));
    return AddResult::kFailed;
  }
  if (size == 0) return AddResult::kEmpty;
  // Every stored folder lands directly in the car's folder, beside the files
  // stored there: a file and a folder of one name cannot both be installed.
  const std::string upper = UpperAscii(folder.empty() ? name : folder);
  const auto& others = folder.empty() ? package.stored_folders : package.stored_top_files;
  if (const auto other = others.find(upper); other != others.end()) {
    const std::string file = folder.empty() ? std::string(name) : other->second;
    const std::string folder_name = folder.empty() ? other->second : std::string(folder);
    SetError(package, PackageErrorCode::kBadEntry,
             "Cannot pack file " + PathText(file_path) + ": the file " + Quoted(file) +
                 " of the car's folder and the folder " + Quoted(folder_name) +
                 " would take the same name when installed (names are compared without regard "
                 "to case, as Windows does)");
    return AddResult::kFailed;
  }

  const std::size_t count = package.entries.size() + 1;
  if (count > kMaxFileCount) {
    SetError(package, PackageErrorCode::kTooLarge,
             "Cannot pack file " + PathText(file_path) + ": a package holds at most " +
                 std::to_string(kMaxFileCount) + " files");
    return AddResult::kFailed;
  }
  // The final length (data plus one directory entry per file) must fit the
  // signed 32-bit length field; every position and the directory position
  // are smaller.
  const std::uint64_t directory_bytes = kEntrySize * count;
  if (package.write_end > kMaxPackageLength || size > kMaxPackageLength - package.write_end ||
      directory_bytes > kMaxPackageLength - package.write_end - size) {
    SetError(package, PackageErrorCode::kTooLarge,
             "Cannot pack file " + PathText(file_path) +
                 ": the package would be larger than the format allows (" +
                 std::to_string(kMaxPackageLength) + " bytes)");
    return AddResult::kFailed;
  }

  std::FILE* out = package.file.get();
  if (!detail::SeekTo(out, package.write_end)) {
    SetError(package, PackageErrorCode::kFileError,
             "Cannot write the package file " + PathText(package.temp_path));
    package.failed = true;
    return AddResult::kFailed;
  }
  switch (detail::CopyBytes(in.get(), out, size, package.buffer)) {
    case detail::CopyResult::kOk:
      break;
    case detail::CopyResult::kReadFailed:
      // The bytes copied so far lie past write_end and are overwritten by the
      // next file or cut off at close.
      SetError(package, PackageErrorCode::kFileError, "Cannot read file " + PathText(file_path));
      return AddResult::kFailed;
    case detail::CopyResult::kWriteFailed:
      SetError(package, PackageErrorCode::kFileError,
               "Cannot write the package file " + PathText(package.temp_path));
      package.failed = true;
      return AddResult::kFailed;
  }

  const auto position = static_cast<std::int32_t>(package.write_end + 1);
  package.entries.push_back(MakeEntry(static_cast<std::int32_t>(size), position, folder, name));
  package.stored_names.insert(key);
  if (folder.empty()) {
    package.stored_top_files.try_emplace(UpperAscii(name), name);
  } else {
    package.stored_folders.try_emplace(UpperAscii(folder), folder);
  }
  package.write_end += size;
  package.header.file_count = static_cast<std::int16_t>(package.entries.size());
  package.header.package_length = static_cast<std::int32_t>(package.write_end);
  return AddResult::kAdded;
}

bool AddFolder(Package& package, const std::filesystem::path& folder, std::string_view folder_name,
               int depth) {
  if (depth > kMaxFolderDepth) {
    SetError(package, PackageErrorCode::kTooLarge,
             "Cannot pack folder " + PathText(folder) + ": folders are nested more than " +
                 std::to_string(kMaxFolderDepth) + " levels deep");
    return false;
  }
  std::vector<std::string> files;
  std::vector<std::string> folders;
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec);
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    const std::filesystem::path& entry_path = it->path();
    std::error_code type_ec;
    const auto status = std::filesystem::status(entry_path, type_ec);
    if (std::filesystem::is_directory(status)) {
      folders.push_back(detail::Utf8FileName(entry_path));
    } else if (std::filesystem::is_regular_file(status)) {
      // The package being written (and the one it replaces) may lie inside
      // the folder it packs.
      std::error_code same_ec;
      if (std::filesystem::equivalent(entry_path, package.temp_path, same_ec) ||
          std::filesystem::equivalent(entry_path, package.path, same_ec)) {
        continue;
      }
      files.push_back(detail::Utf8FileName(entry_path));
    }
  }
  if (ec) {
    SetError(package, PackageErrorCode::kFileError,
             "Cannot list folder " + PathText(folder) + ": " + ec.message());
    return false;
  }
  const auto by_name = [](const std::string& a, const std::string& b) { return NameLess(a, b); };
  std::sort(files.begin(), files.end(), by_name);
  std::sort(folders.begin(), folders.end(), by_name);

  for (const std::string& name : files) {
    const std::filesystem::path path = folder / detail::PathFromUtf8(name);
    if (AddFile(package, path, folder_name, name) == AddResult::kFailed) return false;
  }
  for (const std::string& name : folders) {
    if (!AddFolder(package, folder / detail::PathFromUtf8(name), name, depth + 1)) return false;
  }
  return true;
}

}  // namespace

namespace detail {

bool OpenForWriting(Package& package, const std::filesystem::path& path, std::string_view car_id,
                    std::int16_t flag) {
  package.header = NewHeader(car_id, flag);
  package.entries.clear();
  package.stored_names.clear();
  package.stored_top_files.clear();
  package.stored_folders.clear();
  package.mode = PackageMode::kWrite;
  package.path = path;
  package.temp_path.clear();
  package.failed = false;
  package.base = 0;
  package.available = 0;
  package.write_end = kHeaderSize;
  // The package grows in a new file of its own beside the target, never in a
  // file that was already there.
  package.file.reset(CreateUniqueFile(path.parent_path(), package.temp_path));
  std::array<std::uint8_t, kHeaderSize> bytes{};
  EncodeHeader(package.header, bytes);
  if (!package.file || !WriteAll(package.file.get(), bytes.data(), bytes.size())) {
    SetError(package, PackageErrorCode::kFileError,
             "Cannot create the package file " + PathText(path));
    DiscardWritten(package);
    return false;
  }
  package.open = true;
  return true;
}

void DiscardWritten(Package& package) {
  package.file.reset();
  package.open = false;
  if (!package.temp_path.empty()) {
    std::error_code ec;
    std::filesystem::remove(package.temp_path, ec);
  }
}

bool CloseWritten(Package& package) {
  if (package.failed) {
    DiscardWritten(package);
    return false;
  }
  if (package.entries.empty()) {
    SetError(package, PackageErrorCode::kNoFiles,
             "The package " + PathText(package.path) + " holds no file");
    DiscardWritten(package);
    return false;
  }
  const std::uint64_t final_length = package.write_end + kEntrySize * package.entries.size();
  package.header.directory_position = static_cast<std::int32_t>(package.write_end + 1);
  package.header.package_length = static_cast<std::int32_t>(final_length);

  std::vector<std::uint8_t> directory(kEntrySize * package.entries.size());
  for (std::size_t i = 0; i < package.entries.size(); ++i) {
    EncodeEntry(package.entries[i],
                std::span<std::uint8_t, kEntrySize>(directory.data() + i * kEntrySize, kEntrySize));
  }
  std::array<std::uint8_t, kHeaderSize> header{};
  EncodeHeader(package.header, header);

  std::FILE* out = package.file.get();
  bool ok = SeekTo(out, package.write_end) && WriteAll(out, directory.data(), directory.size()) &&
            SeekTo(out, 0) && WriteAll(out, header.data(), header.size()) && std::fflush(out) == 0;
  ok = (std::fclose(package.file.release()) == 0) && ok;
  std::error_code ec;
  if (ok) std::filesystem::resize_file(package.temp_path, final_length, ec);
  if (ok && !ec) std::filesystem::rename(package.temp_path, package.path, ec);
  if (!ok || ec) {
    SetError(package, PackageErrorCode::kFileError,
             "Cannot write the package file " + PathText(package.path) +
                 (ec ? ": " + ec.message() : std::string()));
    DiscardWritten(package);
    return false;
  }
  package.open = false;
  return true;
}

}  // namespace detail

bool AddPackageFile(Package& package, const std::filesystem::path& file_path,
                    std::string_view folder, std::string_view name) {
  return AddFile(package, file_path, folder, name) == AddResult::kAdded;
}

bool AddCarFolder(Package& package, const std::filesystem::path& folder,
                  std::string_view stored_name) {
  if (!CheckWritable(package)) return false;
  if (!AddFolder(package, folder, stored_name, 0)) {
    package.failed = true;
    return false;
  }
  return true;
}

}  // namespace devuza
