// Alpha channels from image headers.
#include "image_alpha.h"

#include <cstring>
#include <string>

#include "filesystem/ascii_case.h"

namespace scene_import {
namespace {

uint32_t big_endian32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

uint32_t little_endian32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// PNG: colour type 4 (grey + alpha) or 6 (RGBA) in IHDR, or a tRNS chunk
// before the image data.
bool png_has_alpha(std::span<const uint8_t> b) {
  size_t at = 8;
  while (at <= b.size() && b.size() - at >= 8) {
    const uint32_t length = big_endian32(&b[at]);
    const uint8_t* type = &b[at + 4];
    if (std::memcmp(type, "IHDR", 4) == 0) {
      if (length < 13 || b.size() - at - 8 < 13) return false;
      const uint8_t colour_type = b[at + 8 + 9];
      if (colour_type == 4 || colour_type == 6) return true;
    } else if (std::memcmp(type, "tRNS", 4) == 0) {
      return true;
    } else if (std::memcmp(type, "IDAT", 4) == 0 || std::memcmp(type, "IEND", 4) == 0) {
      return false;
    }
    // Chunk: length, type, data, CRC.
    if (length > b.size() - at - 8 || b.size() - at - 8 - length < 4) return false;
    at += 12 + size_t(length);
  }
  return false;
}

// DDS: the pixel format's alpha-pixels flag, or a DXT2 to DXT5 code.
bool dds_has_alpha(std::span<const uint8_t> b) {
  if (b.size() < 88) return false;
  const uint32_t flags = little_endian32(&b[80]);
  if (flags & 0x1u) return true;  // DDPF_ALPHAPIXELS
  if (flags & 0x4u) {             // DDPF_FOURCC
    const char* code = reinterpret_cast<const char*>(&b[84]);
    return std::memcmp(code, "DXT2", 4) == 0 || std::memcmp(code, "DXT3", 4) == 0 ||
           std::memcmp(code, "DXT4", 4) == 0 || std::memcmp(code, "DXT5", 4) == 0;
  }
  return false;
}

// TGA: alpha bits in the image descriptor's low four bits.
bool tga_has_alpha(std::span<const uint8_t> b) {
  if (b.size() < 18) return false;
  return (b[17] & 0x0F) != 0;
}

}  // namespace

bool image_has_alpha(std::span<const uint8_t> bytes, std::string_view extension) {
  static constexpr uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (bytes.size() >= 8 && std::memcmp(bytes.data(), kPng, 8) == 0) return png_has_alpha(bytes);
  if (bytes.size() >= 4 && std::memcmp(bytes.data(), "DDS ", 4) == 0) return dds_has_alpha(bytes);
  const std::string ext = ascii::lower(extension);
  if (ext == "tga") return tga_has_alpha(bytes);
  return false;
}

}  // namespace scene_import
