// Byte layout of a DEVUZA package: the 25-byte header, the file data that
// starts right after it, and the directory of 88-byte entries at the end.
// All numbers are little-endian, records are packed, positions are 1-based
// from the package's first byte. These helpers only encode and decode; they
// never judge whether the values make sense (see package.h for that).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace devuza {

inline constexpr std::size_t kHeaderSize = 25;
inline constexpr std::size_t kEntrySize = 88;
inline constexpr std::size_t kFolderFieldSize = 16;
inline constexpr std::size_t kNameFieldSize = 64;
inline constexpr std::size_t kCarIdSize = 3;
// Position of the first byte of file data (right after the header).
inline constexpr std::int32_t kFirstDataPosition = 26;
inline constexpr std::string_view kMagic = "DEVUZA";
inline constexpr float kVersion = 1.0f;
// Size of the trailer that ends a self-extracting program.
inline constexpr std::size_t kTrailerSize = 4;

struct PackageHeader {
  std::array<char, 6> magic{};
  std::int16_t flag = 0;
  float version = 0.0f;
  std::int16_t file_count = 0;
  std::int32_t directory_position = 0;
  std::int32_t package_length = 0;
  std::array<char, kCarIdSize> car_id{};
};

struct DirectoryEntry {
  std::int32_t size = 0;
  std::int32_t position = 0;
  std::array<char, kFolderFieldSize> folder_field{};
  std::array<char, kNameFieldSize> name_field{};
};

// Header of a freshly opened package: magic, flag, version 1.0, the car ID
// padded with blanks or cut to three characters, count 0, directory position
// 0, length 25.
PackageHeader NewHeader(std::string_view car_id, std::int16_t flag);

// Writes the header into exactly kHeaderSize bytes.
void EncodeHeader(const PackageHeader& header, std::span<std::uint8_t, kHeaderSize> out);
// Reads a header from exactly kHeaderSize bytes.
PackageHeader DecodeHeader(std::span<const std::uint8_t, kHeaderSize> in);

// Writes the entry into exactly kEntrySize bytes.
void EncodeEntry(const DirectoryEntry& entry, std::span<std::uint8_t, kEntrySize> out);
// Reads an entry from exactly kEntrySize bytes.
DirectoryEntry DecodeEntry(std::span<const std::uint8_t, kEntrySize> in);

// Entry for a file of `size` bytes at `position`: the folder field is the
// folder name, a NUL and blanks; the name field is the name and blanks.
// Precondition: folder.size() < kFolderFieldSize, name.size() <= kNameFieldSize.
DirectoryEntry MakeEntry(std::int32_t size, std::int32_t position, std::string_view folder,
                         std::string_view name);

// The folder name stored in an entry: the folder field up to its NUL, or no
// value when the field holds no NUL.
std::optional<std::string> EntryFolder(const DirectoryEntry& entry);
// The file name stored in an entry: the name field without trailing blanks.
std::string EntryName(const DirectoryEntry& entry);
// The car ID of a header as its three stored characters.
std::string HeaderCarId(const PackageHeader& header);
// True when the header's magic is "DEVUZA".
bool HasMagic(const PackageHeader& header);

// Little-endian helpers for the trailer and the fields.
std::int32_t ReadInt32(std::span<const std::uint8_t, 4> in);
void WriteInt32(std::int32_t value, std::span<std::uint8_t, 4> out);

}  // namespace devuza
