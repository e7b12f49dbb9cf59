// Reading the header of a DDS file and decoding its top image, for the
// tests of the generated textures.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace assets_test {

struct DdsHeader {
  std::uint32_t flags = 0;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint32_t pitch_or_linear_size = 0;
  std::uint32_t mip_count = 0;
  std::uint32_t pf_flags = 0;
  std::string four_cc;  // empty for an uncompressed format
  std::uint32_t bit_count = 0;
  std::uint32_t r_mask = 0, g_mask = 0, b_mask = 0, a_mask = 0;
  std::uint32_t caps = 0;
};

// The header of `file`, or nothing when it is shorter than 128 bytes or does
// not start with "DDS " and the size 124.
std::optional<DdsHeader> ReadDdsHeader(std::string_view file);

// The bytes a level of `width` x `height` takes in the header's format.
std::size_t LevelSize(const DdsHeader& header, std::uint32_t width, std::uint32_t height);

// The top image as RGBA bytes (DXT1, DXT3, R5G6B5 or A4R4G4B4).
std::vector<std::uint8_t> DecodeTopLevel(std::string_view file, const DdsHeader& header);

}  // namespace assets_test
