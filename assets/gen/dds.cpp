#include "dds.h"

#include <squish.h>

#include <algorithm>
#include <cstdint>

namespace assetgen {
namespace {

constexpr std::uint32_t kDdsdCaps = 0x1;
constexpr std::uint32_t kDdsdHeight = 0x2;
constexpr std::uint32_t kDdsdWidth = 0x4;
constexpr std::uint32_t kDdsdPitch = 0x8;
constexpr std::uint32_t kDdsdPixelFormat = 0x1000;
constexpr std::uint32_t kDdsdMipMapCount = 0x20000;
constexpr std::uint32_t kDdsdLinearSize = 0x80000;
constexpr std::uint32_t kDdpfAlphaPixels = 0x1;
constexpr std::uint32_t kDdpfFourCc = 0x4;
constexpr std::uint32_t kDdpfRgb = 0x40;
constexpr std::uint32_t kCapsComplex = 0x8;
constexpr std::uint32_t kCapsTexture = 0x1000;
constexpr std::uint32_t kCapsMipMap = 0x400000;

void PutU32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::uint32_t FourCc(const char (&code)[5]) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(code[3])) << 24;
}

bool IsCompressed(DdsFormat format) {
  return format == DdsFormat::kDxt1 || format == DdsFormat::kDxt3;
}

int SquishFlags(DdsFormat format) {
  // The range fit is fast and exact enough for flat, drawn content.
  return (format == DdsFormat::kDxt1 ? squish::kDxt1 : squish::kDxt3) | squish::kColourRangeFit;
}

// Bytes of the top level: the linear size of a compressed image, the row
// pitch of an uncompressed one.
std::uint32_t PitchOrLinearSize(const Image& image, DdsFormat format) {
  if (IsCompressed(format)) {
    return static_cast<std::uint32_t>(
        squish::GetStorageRequirements(image.width(), image.height(), SquishFlags(format)));
  }
  return static_cast<std::uint32_t>(image.width()) * 2;
}

std::uint16_t Pack16(const Rgba& p, DdsFormat format) {
  if (format == DdsFormat::kR5G6B5) {
    return static_cast<std::uint16_t>(((p.r * 31 + 127) / 255) << 11 |
                                      ((p.g * 63 + 127) / 255) << 5 | ((p.b * 31 + 127) / 255));
  }
  return static_cast<std::uint16_t>(((p.a * 15 + 127) / 255) << 12 | ((p.r * 15 + 127) / 255) << 8 |
                                    ((p.g * 15 + 127) / 255) << 4 | ((p.b * 15 + 127) / 255));
}

// Compresses the level block by block on this thread (the library's own
// image loop may start a thread team, which only costs time here).
void AppendCompressed(std::string& out, const Image& level, int flags) {
  const int block_bytes = (flags & squish::kDxt1) ? 8 : 16;
  std::uint8_t block[16];
  std::uint8_t rgba[16 * 4];
  for (int by = 0; by < level.height(); by += 4) {
    for (int bx = 0; bx < level.width(); bx += 4) {
      int mask = 0;
      for (int i = 0; i < 16; ++i) {
        const int x = bx + i % 4, y = by + i / 4;
        Rgba p{};
        if (x < level.width() && y < level.height()) {
          p = level.at(x, y);
          mask |= 1 << i;
        }
        rgba[i * 4 + 0] = p.r;
        rgba[i * 4 + 1] = p.g;
        rgba[i * 4 + 2] = p.b;
        rgba[i * 4 + 3] = p.a;
      }
      squish::CompressMasked(rgba, mask, block, flags);
      out.append(reinterpret_cast<const char*>(block), block_bytes);
    }
  }
}

void AppendLevel(std::string& out, const Image& level, DdsFormat format) {
  if (IsCompressed(format)) {
    AppendCompressed(out, level, SquishFlags(format));
    return;
  }
  for (int y = 0; y < level.height(); ++y) {
    for (int x = 0; x < level.width(); ++x) {
      const std::uint16_t v = Pack16(level.at(x, y), format);
      out.push_back(static_cast<char>(v & 0xFF));
      out.push_back(static_cast<char>(v >> 8));
    }
  }
}

}  // namespace

std::string MakeDds(const Image& image, DdsFormat format, int mip_levels) {
  std::string out = "DDS ";
  std::uint32_t flags = kDdsdCaps | kDdsdHeight | kDdsdWidth | kDdsdPixelFormat;
  flags |= IsCompressed(format) ? kDdsdLinearSize : kDdsdPitch;
  std::uint32_t caps = kCapsTexture;
  if (mip_levels > 0) {
    flags |= kDdsdMipMapCount;
    caps |= kCapsComplex | kCapsMipMap;
  }
  PutU32(out, 124);
  PutU32(out, flags);
  PutU32(out, static_cast<std::uint32_t>(image.height()));
  PutU32(out, static_cast<std::uint32_t>(image.width()));
  PutU32(out, PitchOrLinearSize(image, format));
  PutU32(out, 0);  // depth
  PutU32(out, static_cast<std::uint32_t>(mip_levels));
  for (int i = 0; i < 11; ++i) PutU32(out, 0);  // reserved
  // Pixel format: size, flags, four-character code, bit count, masks.
  PutU32(out, 32);
  switch (format) {
    case DdsFormat::kDxt1:
    case DdsFormat::kDxt3:
      PutU32(out, kDdpfFourCc);
      PutU32(out, FourCc(format == DdsFormat::kDxt1 ? "DXT1" : "DXT3"));
      for (int i = 0; i < 5; ++i) PutU32(out, 0);
      break;
    case DdsFormat::kR5G6B5:
      PutU32(out, kDdpfRgb);
      PutU32(out, 0);
      PutU32(out, 16);
      PutU32(out, 0xF800);
      PutU32(out, 0x07E0);
      PutU32(out, 0x001F);
      PutU32(out, 0);
      break;
    case DdsFormat::kA4R4G4B4:
      PutU32(out, kDdpfRgb | kDdpfAlphaPixels);
      PutU32(out, 0);
      PutU32(out, 16);
      PutU32(out, 0x0F00);
      PutU32(out, 0x00F0);
      PutU32(out, 0x000F);
      PutU32(out, 0xF000);
      break;
  }
  PutU32(out, caps);
  for (int i = 0; i < 4; ++i) PutU32(out, 0);  // caps2, caps3, caps4, reserved

  Image level = image;
  const int levels = std::max(mip_levels, 1);
  for (int i = 0; i < levels; ++i) {
    if (i > 0) level = level.half();
    AppendLevel(out, level, format);
  }
  return out;
}

}  // namespace assetgen
