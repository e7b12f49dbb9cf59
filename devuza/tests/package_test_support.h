// Helpers of the package tests: a scratch folder per test, whole-file reads
// and writes, and packages crafted byte by byte (for hostile cases the writer
// would never produce).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace devuza::testing {

// A fresh folder below the system's temporary folder, removed with the object.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

void WriteFile(const std::filesystem::path& path, std::string_view bytes);
std::string ReadFile(const std::filesystem::path& path);

// Every file, folder and link below `root`, as sorted generic relative paths.
std::vector<std::string> ListTree(const std::filesystem::path& root);

struct CraftedFile {
  std::string folder;  // placed in the 16-byte field; 16 or more characters leave no NUL
  std::string name;    // placed in the 64-byte field, blank-filled
  std::string data;
};

// A package for `car_id` holding `files`, laid out as the format says.
std::string CraftPackage(std::string_view car_id, const std::vector<CraftedFile>& files);

// Overwrites four bytes at `offset` with `value`, little-endian.
void PatchInt32(std::string& bytes, std::size_t offset, std::int32_t value);
void PatchInt16(std::string& bytes, std::size_t offset, std::int16_t value);

// Offsets of header fields and of the fields of directory entry `index`.
inline constexpr std::size_t kVersionOffset = 8;
inline constexpr std::size_t kCountOffset = 12;
inline constexpr std::size_t kDirectoryOffset = 14;
inline constexpr std::size_t kLengthOffset = 18;
inline constexpr std::size_t kCarIdOffset = 22;
// Offset of directory entry `index` in a package whose data totals `data_size`.
inline std::size_t EntryOffset(std::size_t data_size, std::size_t index) {
  return 25 + data_size + 88 * index;
}

}  // namespace devuza::testing
