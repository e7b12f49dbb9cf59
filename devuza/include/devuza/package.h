// The DEVUZA package layer: writes a car folder into a package, reads the
// header of a package file or of the package at the end of a self-extracting
// program, and extracts a package into a folder without ever writing outside
// it. One package is open at a time; the functions without a `Package&`
// argument work on the process-wide package that Carwright and Quorvex share,
// the others on a package of the caller's own (what tests use).
//
// Nothing here prints or raises: every operation returns true or false and
// leaves the reason in the package's last error.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/code_page.h"
#include "devuza/package_format.h"

namespace devuza {

enum class PackageMode : int {
  kWrite = 0,     // create a package file
  kReadFile = 1,  // read a package file
  kReadSfx = 2,   // read the package at the end of a self-extracting program
};

// The 16-bit number of the last error; 0 means none.
enum class PackageErrorCode : std::uint16_t {
  kNone = 0,
  kNoDevuzaFile = 1,  // magic missing, or no trailer pointing at a header
  kWrongVersion = 2,  // version other than 1.0
  kNotOpen = 3,       // operation called without a package open in the right mode
  kFileError = 4,     // a file could not be opened, read or written
  kBadCarId = 5,      // car ID that cannot name a folder
  kBadDirectory = 6,  // directory position or file count outside the package
  kBadEntry = 7,      // entry with an unsafe name or data outside the package
  kUnsafeTarget = 8,  // the way to a target leaves the destination
  kTooLarge = 9,      // positions, sizes or count would not fit their fields
  kNameTooLong = 10,  // a folder or file name does not fit its field
  kNoFiles = 11,      // a package that holds no file, written or read
};

inline constexpr std::string_view kNoDevuzaFileText = "No DEVUZA File!";
inline constexpr std::string_view kWrongVersionText = "Wrong DEVUZA version";

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Everything the layer keeps for the one open package.
struct Package {
  Package() = default;
  Package(const Package&) = delete;
  Package& operator=(const Package&) = delete;
  // An unfinished written package is discarded.
  ~Package();

  // The code page of the names stored in the package; set by the caller
  // before packing or extracting, kept across opens.
  wizard::CodePage code_page = wizard::CodePage::kWindows1252;
  PackageHeader header;
  std::vector<DirectoryEntry> entries;
  std::unique_ptr<std::FILE, FileCloser> file;
  PackageMode mode = PackageMode::kReadFile;
  bool open = false;
  // Read modes: offset of the package's first byte in the file (0 for a plain
  // package) and the number of package bytes that really follow it.
  std::uint64_t base = 0;
  std::uint64_t available = 0;
  // Write mode: the package's current length, where the next data goes.
  std::uint64_t write_end = 0;
  // Write mode: the package goes to `temp_path`, a new file of a fresh name
  // beside `path`, and replaces `path` only when it was closed successfully;
  // `failed` marks a package that will not be.
  std::filesystem::path path;
  std::filesystem::path temp_path;
  bool failed = false;
  // Write mode: upper-cased "folder\name" of every stored file, so that no
  // two entries would land on the same file when extracted; and the stored
  // spelling, by upper-cased name, of every file stored in the car's folder
  // itself and of every stored folder, so that no file takes a folder's name.
  std::unordered_set<std::string> stored_names;
  std::unordered_map<std::string, std::string> stored_top_files;
  std::unordered_map<std::string, std::string> stored_folders;
  // Read modes, filled by ReadDirectory: for each entry, the index of an
  // earlier entry that puts a file where it needs a folder or the other way
  // round (names compared without regard to case), or kNoClash.
  std::vector<std::size_t> entry_clashes;
  // Read modes: how many folders the last extraction listed. Each folder is
  // listed at most once per extraction, however many files go into it.
  std::size_t folder_listings = 0;
  PackageErrorCode error_code = PackageErrorCode::kNone;
  std::string error_text;
  std::vector<char> buffer;  // copy buffer, kCopyChunk bytes once used
};

// No clash of an entry with an earlier one (Package::entry_clashes).
inline constexpr std::size_t kNoClash = static_cast<std::size_t>(-1);

// Bytes copied per read and write when packing and extracting.
inline constexpr std::size_t kCopyChunk = std::size_t{1} << 20;

// Opens a package, closing any package still open first. Mode 0 starts a new
// package for `path` with `car_id` (blank-padded or cut to three characters)
// and `flag` in the header; the file at `path` is replaced only by a
// successful ClosePackage. Modes 1 and 2 read and check the header (mode 2
// finds it through the 4-byte trailer at the end of the file). Returns true
// when the package was created or its header accepted; otherwise the last
// error is "No DEVUZA File!", "Wrong DEVUZA version" or names the problem.
bool OpenPackage(Package& package, PackageMode mode, const std::filesystem::path& path,
                 std::string_view car_id = {}, std::int16_t flag = 0);

// Appends one file's data and its directory entry under the folder name
// `folder` and the file name `name`, both UTF-8 and stored in the package's
// code page. Returns false, with nothing changed, when the file is empty (no
// error is set) or cannot be read, when a name cannot be held by the code
// page, does not fit its field or is unsafe, or when the package would
// outgrow its 32-bit fields.
bool AddPackageFile(Package& package, const std::filesystem::path& file_path,
                    std::string_view folder, std::string_view name);

// Packs the files of `folder`, then its sub-folders, each list sorted by name
// without regard to case. Files of a sub-folder are stored with the
// sub-folder's own name, whatever its depth; empty files are skipped. Returns
// false, and makes ClosePackage discard the package, when a file cannot be
// read or any name or size does not fit the format.
bool AddCarFolder(Package& package, const std::filesystem::path& folder,
                  std::string_view stored_name);

// Writes every file of the open read package below `destination` (names
// converted from the package's code page to UTF-8), creating
// folders as needed and replacing files of the same name (or of a name that
// differs only in case). Before the first byte is written, every entry is
// checked (EntryProblem), and so is what the destination already holds: a
// file where a folder must go, a folder where a file must go, or a folder
// link that leads outside `destination` refuses the package with an error
// naming the entry, and nothing is written. An error while writing stops the
// extraction; files written before it stay. Returns true when all were
// written, and then clears the last error.
bool ExtractPackage(Package& package, const std::filesystem::path& destination);

// Finishes a written package (directory, final header, then it replaces the
// file at its path) or closes a read one. Returns false when a written
// package holds no file, was marked failed, or could not be written; the
// unfinished file is then removed and any earlier file at the path stays.
bool ClosePackage(Package& package);

// Opens `path` in mode 1 or 2, reads the header and closes again. Returns
// true when the header was accepted; the header stays in `package`.
bool ReadPackageHeader(Package& package, const std::filesystem::path& path, PackageMode mode);

// Reads and checks the directory of the open read package into
// `package.entries`: the directory must lie inside the package and hold the
// header's file count, which must not be 0 (kNoFiles: a package without
// files is not usable). Entries themselves are checked by EntryProblem, for
// which it notes the entries that clash in `package.entry_clashes`.
bool ReadDirectory(Package& package);

// Returns an empty string when entry `index` of a package whose directory
// ReadDirectory accepted is safe to extract, otherwise a message naming the
// entry and its problem: an unsafe folder or file name, a name with a byte
// that the package's code page leaves undefined, data outside the
// package, or a file of the car's folder that takes the name of an earlier
// entry's folder or the other way round (compared without regard to case).
// Precondition: index < package.entries.size().
std::string EntryProblem(const Package& package, std::size_t index);

// The car ID of the header last read, as its three stored characters.
std::string PackageCarID(const Package& package);

// The text of the last error, empty after a successful extraction.
std::string LastPackageError(const Package& package);

// The process-wide package and the operations on it, as Carwright's
// operation runner and Quorvex call them.
Package& ProcessPackage();
bool OpenPackage(int mode, const std::filesystem::path& path, std::string_view car_id = {},
                 std::int16_t flag = 0);
bool AddPackageFile(const std::filesystem::path& file_path, std::string_view folder,
                    std::string_view name);
bool AddCarFolder(const std::filesystem::path& folder, std::string_view stored_name);
bool ExtractPackage(const std::filesystem::path& destination);
bool ClosePackage();
bool ReadPackageHeader(const std::filesystem::path& path, int mode);
std::string PackageCarID();
std::string LastPackageError();

}  // namespace devuza
