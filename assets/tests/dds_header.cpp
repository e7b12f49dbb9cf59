#include "dds_header.h"

#include <squish.h>

namespace assets_test {
namespace {

std::uint32_t U32(std::string_view bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
  return v;
}

std::uint8_t Expand(std::uint32_t value, int bits) {
  const std::uint32_t max = (1u << bits) - 1;
  return static_cast<std::uint8_t>((value * 255 + max / 2) / max);
}

}  // namespace

std::optional<DdsHeader> ReadDdsHeader(std::string_view file) {
  if (file.size() < 128 || file.substr(0, 4) != "DDS " || U32(file, 4) != 124) return std::nullopt;
  DdsHeader h;
  h.flags = U32(file, 8);
  h.height = U32(file, 12);
  h.width = U32(file, 16);
  h.pitch_or_linear_size = U32(file, 20);
  h.mip_count = U32(file, 28);
  h.pf_flags = U32(file, 80);
  if (h.pf_flags & 0x4) h.four_cc = std::string(file.substr(84, 4));
  h.bit_count = U32(file, 88);
  h.r_mask = U32(file, 92);
  h.g_mask = U32(file, 96);
  h.b_mask = U32(file, 100);
  h.a_mask = U32(file, 104);
  h.caps = U32(file, 108);
  return h;
}

std::size_t LevelSize(const DdsHeader& header, std::uint32_t width, std::uint32_t height) {
  if (!header.four_cc.empty()) {
    const std::size_t blocks = std::size_t{(width + 3) / 4} * ((height + 3) / 4);
    return blocks * (header.four_cc == "DXT1" ? 8 : 16);
  }
  return std::size_t{width} * height * (header.bit_count / 8);
}

std::vector<std::uint8_t> DecodeTopLevel(std::string_view file, const DdsHeader& header) {
  std::vector<std::uint8_t> rgba(std::size_t{header.width} * header.height * 4);
  const auto* data = reinterpret_cast<const unsigned char*>(file.data()) + 128;
  if (!header.four_cc.empty()) {
    squish::DecompressImage(rgba.data(), static_cast<int>(header.width),
                            static_cast<int>(header.height), data,
                            header.four_cc == "DXT1" ? squish::kDxt1 : squish::kDxt3);
    return rgba;
  }
  for (std::size_t i = 0; i < std::size_t{header.width} * header.height; ++i) {
    const std::uint32_t v = data[i * 2] | data[i * 2 + 1] << 8;
    if (header.a_mask == 0) {  // R5G6B5
      rgba[i * 4 + 0] = Expand(v >> 11 & 31, 5);
      rgba[i * 4 + 1] = Expand(v >> 5 & 63, 6);
      rgba[i * 4 + 2] = Expand(v & 31, 5);
      rgba[i * 4 + 3] = 255;
    } else {  // A4R4G4B4
      rgba[i * 4 + 0] = Expand(v >> 8 & 15, 4);
      rgba[i * 4 + 1] = Expand(v >> 4 & 15, 4);
      rgba[i * 4 + 2] = Expand(v & 15, 4);
      rgba[i * 4 + 3] = Expand(v >> 12 & 15, 4);
    }
  }
  return rgba;
}

}  // namespace assets_test
