// Image alpha from headers, and embedded textures as files.
#include <gtest/gtest.h>

#include <cstring>

#include "embedded_images.h"
#include "image_alpha.h"

namespace scene_import {
namespace {

using Bytes = std::vector<uint8_t>;

void chunk(Bytes& b, const char* type, const Bytes& data) {
  const uint32_t n = uint32_t(data.size());
  b.insert(b.end(), {uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)});
  b.insert(b.end(), type, type + 4);
  b.insert(b.end(), data.begin(), data.end());
  b.insert(b.end(), {0, 0, 0, 0});  // CRC, not checked
}

Bytes png(uint8_t colour_type, bool transparency) {
  Bytes b{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  chunk(b, "IHDR", {0, 0, 0, 4, 0, 0, 0, 4, 8, colour_type, 0, 0, 0});
  if (colour_type == 3) chunk(b, "PLTE", {0, 0, 0, 255, 255, 255});
  if (transparency) chunk(b, "tRNS", {0});
  chunk(b, "IDAT", {1, 2, 3});
  chunk(b, "IEND", {});
  return b;
}

Bytes dds(uint32_t flags, const char* code) {
  Bytes b(128, 0);
  std::memcpy(b.data(), "DDS ", 4);
  for (int i = 0; i < 4; ++i) b[80 + size_t(i)] = uint8_t(flags >> (8 * i));
  std::memcpy(&b[84], code, 4);
  return b;
}

TEST(ImageAlphaTest, ReadsAlphaFromPngTgaAndDdsHeaders) {
  EXPECT_TRUE(image_has_alpha(png(6, false), "png"));
  EXPECT_TRUE(image_has_alpha(png(4, false), "png"));
  EXPECT_FALSE(image_has_alpha(png(2, false), "png"));
  EXPECT_TRUE(image_has_alpha(png(3, true), "png"));
  EXPECT_FALSE(image_has_alpha(png(3, false), "png"));
  // The signature decides, not the extension.
  EXPECT_TRUE(image_has_alpha(png(6, false), "jpg"));

  Bytes tga(18, 0);
  tga[16] = 32;
  tga[17] = 0x08;
  EXPECT_TRUE(image_has_alpha(tga, "TGA"));
  tga[16] = 24;
  tga[17] = 0;
  EXPECT_FALSE(image_has_alpha(tga, "tga"));

  EXPECT_TRUE(image_has_alpha(dds(0x4, "DXT5"), "dds"));
  EXPECT_TRUE(image_has_alpha(dds(0x4, "DXT3"), "dds"));
  EXPECT_FALSE(image_has_alpha(dds(0x4, "DXT1"), "dds"));
  EXPECT_TRUE(image_has_alpha(dds(0x41, "\0\0\0\0"), "dds"));

  EXPECT_FALSE(image_has_alpha(Bytes{0xFF, 0xD8, 0xFF, 0xE0}, "jpg"));
}

TEST(ImageAlphaTest, DamagedHeadersGiveNoAlphaAndAreReadWithinBounds) {
  const Bytes whole = png(6, false);
  for (size_t n = 0; n < whole.size(); ++n) {
    const Bytes prefix(whole.begin(), whole.begin() + long(n));
    const bool alpha = image_has_alpha(prefix, "png");
    // The colour type is byte 25: any prefix that holds it may tell.
    if (n < 26) {
      EXPECT_FALSE(alpha) << n;
    }
  }
  // A chunk length beyond the end.
  Bytes huge = png(2, false);
  huge[8] = 0x7F;
  EXPECT_FALSE(image_has_alpha(huge, "png"));
  EXPECT_FALSE(image_has_alpha(Bytes(10, 0), "tga"));
  EXPECT_FALSE(image_has_alpha(Bytes{'D', 'D', 'S', ' '}, "dds"));
}

TEST(EmbeddedImagesTest, NamesFitArePlainAndUnique) {
  std::set<std::string> taken;
  aiTexture compressed;
  compressed.mWidth = 3;
  compressed.mHeight = 0;
  std::strcpy(compressed.achFormatHint, "png");
  EXPECT_EQ(embedded_image_name(compressed, 0, "BoxTextured", taken), "BoxTextured_0.png");
  // Its own name wins; odd characters and folders go.
  compressed.mFilename = "textures\\wood grain (dark).PNG";
  EXPECT_EQ(embedded_image_name(compressed, 1, "Box", taken), "wood_grain__dark_.png");
  compressed.mFilename = "../../etc/passwd";
  EXPECT_EQ(embedded_image_name(compressed, 2, "Box", taken), "passwd.png");
  // Too long: cut to 31 characters with the extension; equal names numbered.
  compressed.mFilename = "a_very_long_texture_name_from_a_tool.png";
  const std::string first = embedded_image_name(compressed, 3, "Box", taken);
  const std::string second = embedded_image_name(compressed, 4, "Box", taken);
  EXPECT_EQ(first, "a_very_long_texture_name_fr.png");
  EXPECT_EQ(second, "a_very_long_texture_name__1.png");
  EXPECT_LE(first.size(), kMaxTextureName);
  compressed.mFilename = "";
  compressed.mWidth = 0;
  compressed.achFormatHint[0] = 0;
  EXPECT_EQ(embedded_image_name(compressed, 5, "Box", taken), "Box_5.bin");
  compressed.mFilename = "";  // aiTexture frees pcData: none was set
}

TEST(EmbeddedImagesTest, RawTexelsBecomeA32BitTgaWithAlpha) {
  aiTexture raw;
  raw.mWidth = 2;
  raw.mHeight = 1;
  raw.pcData = new aiTexel[2];
  raw.pcData[0] = aiTexel{1, 2, 3, 4};  // b, g, r, a
  raw.pcData[1] = aiTexel{5, 6, 7, 255};
  const Bytes bytes = embedded_image_bytes(raw);
  ASSERT_EQ(bytes.size(), 18u + 8u);
  EXPECT_EQ(bytes[2], 2);
  EXPECT_EQ(bytes[12], 2);
  EXPECT_EQ(bytes[14], 1);
  EXPECT_EQ(bytes[16], 32);
  EXPECT_EQ(Bytes(bytes.begin() + 18, bytes.end()), (Bytes{1, 2, 3, 4, 5, 6, 7, 255}));
  EXPECT_TRUE(image_has_alpha(bytes, "tga"));
}

}  // namespace
}  // namespace scene_import
