#include "devuza/package_format.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstring>

namespace devuza {
namespace {

std::uint16_t Get16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t Get32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void Put16(std::uint16_t value, std::uint8_t* p) {
  p[0] = static_cast<std::uint8_t>(value);
  p[1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::uint32_t value, std::uint8_t* p) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

template <std::size_t N>
void PutChars(const std::array<char, N>& chars, std::uint8_t* p) {
  std::memcpy(p, chars.data(), N);
}

template <std::size_t N>
std::array<char, N> GetChars(const std::uint8_t* p) {
  std::array<char, N> chars{};
  std::memcpy(chars.data(), p, N);
  return chars;
}

}  // namespace

PackageHeader NewHeader(std::string_view car_id, std::int16_t flag) {
  PackageHeader header;
  std::copy(kMagic.begin(), kMagic.end(), header.magic.begin());
  header.flag = flag;
  header.version = kVersion;
  header.file_count = 0;
  header.directory_position = 0;
  header.package_length = static_cast<std::int32_t>(kHeaderSize);
  header.car_id.fill(' ');
  std::copy_n(car_id.begin(), std::min(car_id.size(), kCarIdSize), header.car_id.begin());
  return header;
}

void EncodeHeader(const PackageHeader& header, std::span<std::uint8_t, kHeaderSize> out) {
  std::uint8_t* p = out.data();
  PutChars(header.magic, p);
  Put16(static_cast<std::uint16_t>(header.flag), p + 6);
  Put32(std::bit_cast<std::uint32_t>(header.version), p + 8);
  Put16(static_cast<std::uint16_t>(header.file_count), p + 12);
  Put32(static_cast<std::uint32_t>(header.directory_position), p + 14);
  Put32(static_cast<std::uint32_t>(header.package_length), p + 18);
  PutChars(header.car_id, p + 22);
}

PackageHeader DecodeHeader(std::span<const std::uint8_t, kHeaderSize> in) {
  const std::uint8_t* p = in.data();
  PackageHeader header;
  header.magic = GetChars<6>(p);
  header.flag = static_cast<std::int16_t>(Get16(p + 6));
  header.version = std::bit_cast<float>(Get32(p + 8));
  header.file_count = static_cast<std::int16_t>(Get16(p + 12));
  header.directory_position = static_cast<std::int32_t>(Get32(p + 14));
  header.package_length = static_cast<std::int32_t>(Get32(p + 18));
  header.car_id = GetChars<kCarIdSize>(p + 22);
  return header;
}

void EncodeEntry(const DirectoryEntry& entry, std::span<std::uint8_t, kEntrySize> out) {
  std::uint8_t* p = out.data();
  Put32(static_cast<std::uint32_t>(entry.size), p);
  Put32(static_cast<std::uint32_t>(entry.position), p + 4);
  PutChars(entry.folder_field, p + 8);
  PutChars(entry.name_field, p + 8 + kFolderFieldSize);
}

DirectoryEntry DecodeEntry(std::span<const std::uint8_t, kEntrySize> in) {
  const std::uint8_t* p = in.data();
  DirectoryEntry entry;
  entry.size = static_cast<std::int32_t>(Get32(p));
  entry.position = static_cast<std::int32_t>(Get32(p + 4));
  entry.folder_field = GetChars<kFolderFieldSize>(p + 8);
  entry.name_field = GetChars<kNameFieldSize>(p + 8 + kFolderFieldSize);
  return entry;
}

DirectoryEntry MakeEntry(std::int32_t size, std::int32_t position, std::string_view folder,
                         std::string_view name) {
  assert(folder.size() < kFolderFieldSize && name.size() <= kNameFieldSize);
  DirectoryEntry entry;
  entry.size = size;
  entry.position = position;
  entry.folder_field.fill(' ');
  std::copy(folder.begin(), folder.end(), entry.folder_field.begin());
  entry.folder_field[folder.size()] = '\0';
  entry.name_field.fill(' ');
  std::copy(name.begin(), name.end(), entry.name_field.begin());
  return entry;
}

std::optional<std::string> EntryFolder(const DirectoryEntry& entry) {
  const auto& field = entry.folder_field;
  const auto nul = std::find(field.begin(), field.end(), '\0');
  if (nul == field.end()) return std::nullopt;
  return std::string(field.begin(), nul);
}

std::string EntryName(const DirectoryEntry& entry) {
  std::string name(entry.name_field.begin(), entry.name_field.end());
  const auto last = name.find_last_not_of(' ');
  name.resize(last == std::string::npos ? 0 : last + 1);
  return name;
}

std::string HeaderCarId(const PackageHeader& header) {
  return std::string(header.car_id.begin(), header.car_id.end());
}

bool HasMagic(const PackageHeader& header) {
  return std::string_view(header.magic.data(), header.magic.size()) == kMagic;
}

std::int32_t ReadInt32(std::span<const std::uint8_t, 4> in) {
  return static_cast<std::int32_t>(Get32(in.data()));
}

void WriteInt32(std::int32_t value, std::span<std::uint8_t, 4> out) {
  Put32(static_cast<std::uint32_t>(value), out.data());
}

}  // namespace devuza
