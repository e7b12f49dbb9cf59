#include "package_test_support.h"

namespace devuza::testing {

namespace {

void Append32(std::string& out, std::int32_t value) {
  for (int i = 0; i < 4; ++i) {
    out += static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
  }
}

}  // namespace

std::string CraftPackage(std::string_view car_id, const std::vector<CraftedFile>& files) {
  std::size_t data_size = 0;
  for (const CraftedFile& file : files) data_size += file.data.size();
  std::string out = "DEVUZA";
  out += std::string("\0\0\0\0\x80\x3F", 6);
  out += static_cast<char>(files.size() & 0xFF);
  out += static_cast<char>(files.size() >> 8);
  Append32(out, static_cast<std::int32_t>(26 + data_size));
  Append32(out, static_cast<std::int32_t>(25 + data_size + 88 * files.size()));
  std::string id(car_id.substr(0, 3));
  id.resize(3, ' ');
  out += id;
  for (const CraftedFile& file : files) out += file.data;
  std::int32_t position = 26;
  for (const CraftedFile& file : files) {
    Append32(out, static_cast<std::int32_t>(file.data.size()));
    Append32(out, position);
    position += static_cast<std::int32_t>(file.data.size());
    std::string folder = file.folder.substr(0, 16);
    if (folder.size() < 16) folder += '\0';
    folder.resize(16, ' ');
    out += folder;
    std::string name = file.name.substr(0, 64);
    name.resize(64, ' ');
    out += name;
  }
  return out;
}

void PatchInt32(std::string& bytes, std::size_t offset, std::int32_t value) {
  for (int i = 0; i < 4; ++i) {
    bytes.at(offset + i) = static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
  }
}

void PatchInt16(std::string& bytes, std::size_t offset, std::int16_t value) {
  bytes.at(offset) = static_cast<char>(static_cast<std::uint16_t>(value) & 0xFF);
  bytes.at(offset + 1) = static_cast<char>(static_cast<std::uint16_t>(value) >> 8);
}

}  // namespace devuza::testing
