// Packages crafted byte by byte for the package tests (hostile cases the
// writer would never produce), with the shared scratch folder and file
// helpers.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "test_support/files.h"
#include "test_support/scratch_folder.h"

namespace devuza::testing {

using gm_test::ListTree;
using gm_test::ReadFile;
using gm_test::ScratchFolder;
using gm_test::WriteFile;

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
