#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "dds_header.h"
#include "model3da/model.h"
#include "resources.h"

namespace {

using assets_test::DdsHeader;
using assets_test::ReadDdsHeader;
using assets_test::Resource;

struct Expected {
  const char* name;
  std::uint32_t width, height, mips;  // mips 0: a single image
  const char* format;                 // "DXT1", "DXT3", "RGB16", "ARGB16"
};

// The catalogue of the generic car's textures.
const Expected kTextures[] = {
    {"BLOB", 64, 64, 7, "RGB16"},
    {"BODY", 1024, 1024, 11, "DXT3"},
    {"BODYDIRTMASK", 512, 512, 10, "ARGB16"},
    {"BODYDIRTMASKGF2", 512, 512, 10, "DXT3"},
    {"EMPTY", 16, 16, 0, "DXT3"},
    {"EMPTYNORMALS", 16, 16, 0, "DXT3"},
    {"GLASS", 512, 512, 10, "DXT3"},
    {"GLASSBROKENMASK", 512, 512, 10, "DXT1"},
    {"GLASSDIRTMASK", 256, 256, 9, "RGB16"},
    {"GLASSDIRTMASKGF2", 256, 256, 9, "DXT3"},
    {"ICON", 128, 128, 0, "ARGB16"},
    {"LIGHT", 256, 256, 9, "DXT3"},
    {"LIGHTBROKENMASK", 256, 256, 9, "DXT3"},
    {"LIGHTDIRTMASK", 128, 128, 8, "RGB16"},
    {"LIGHTDIRTMASKGF2", 128, 128, 8, "DXT3"},
    {"LIGHTMASK", 128, 128, 8, "DXT1"},
    {"VIS", 512, 256, 0, "ARGB16"},
};

TEST(texture_catalogue, headers_match_size_mip_levels_and_format) {
  for (const Expected& e : kTextures) {
    SCOPED_TRACE(e.name);
    const std::string file = Resource("TEXTURES", e.name);
    const auto h = ReadDdsHeader(file);
    ASSERT_TRUE(h.has_value());
    EXPECT_EQ(h->width, e.width);
    EXPECT_EQ(h->height, e.height);
    EXPECT_EQ(h->mip_count, e.mips);
    EXPECT_EQ((h->flags & 0x20000) != 0, e.mips > 0);  // DDSD_MIPMAPCOUNT
    EXPECT_EQ((h->caps & 0x400000) != 0, e.mips > 0);  // DDSCAPS_MIPMAP
    EXPECT_EQ(h->flags & 0x1007u, 0x1007u);            // caps, height, width, format
    const std::string format = e.format;
    if (format == "DXT1" || format == "DXT3") {
      EXPECT_EQ(h->four_cc, format);
      EXPECT_EQ(h->pitch_or_linear_size, assets_test::LevelSize(*h, e.width, e.height));
    } else {
      EXPECT_EQ(h->four_cc, "");
      EXPECT_EQ(h->bit_count, 16u);
      EXPECT_EQ(h->pitch_or_linear_size, e.width * 2);
      if (format == "RGB16") {
        EXPECT_EQ(h->pf_flags, 0x40u);
        EXPECT_EQ(h->r_mask, 0xF800u);
        EXPECT_EQ(h->g_mask, 0x07E0u);
        EXPECT_EQ(h->b_mask, 0x001Fu);
        EXPECT_EQ(h->a_mask, 0u);
      } else {
        EXPECT_EQ(h->pf_flags, 0x41u);
        EXPECT_EQ(h->r_mask, 0x0F00u);
        EXPECT_EQ(h->g_mask, 0x00F0u);
        EXPECT_EQ(h->b_mask, 0x000Fu);
        EXPECT_EQ(h->a_mask, 0xF000u);
      }
    }
    // The file holds exactly the levels the header announces.
    std::size_t expected_size = 128;
    std::uint32_t w = e.width, hgt = e.height;
    for (std::uint32_t level = 0; level < std::max(e.mips, 1u); ++level) {
      expected_size += assets_test::LevelSize(*h, w, hgt);
      w = std::max(1u, w / 2);
      hgt = std::max(1u, hgt / 2);
    }
    EXPECT_EQ(file.size(), expected_size);
  }
}

struct Pixel {
  int r, g, b, a;
};

Pixel At(const std::vector<std::uint8_t>& rgba, std::uint32_t width, std::uint32_t x,
         std::uint32_t y) {
  const std::size_t i = (std::size_t{y} * width + x) * 4;
  return {rgba[i], rgba[i + 1], rgba[i + 2], rgba[i + 3]};
}

TEST(texture_catalogue, icon_shows_the_car_inside_its_visible_rectangle) {
  const std::string file = Resource("TEXTURES", "ICON");
  const auto h = ReadDdsHeader(file);
  ASSERT_TRUE(h.has_value());
  const auto rgba = assets_test::DecodeTopLevel(file, *h);
  int opaque_inside = 0, opaque_outside = 0;
  for (std::uint32_t y = 0; y < h->height; ++y) {
    for (std::uint32_t x = 0; x < h->width; ++x) {
      const bool inside = x < 80 && y < 84;  // the rectangle Icons.scr names
      if (At(rgba, h->width, x, y).a > 128) (inside ? opaque_inside : opaque_outside)++;
    }
  }
  EXPECT_GT(opaque_inside, 80 * 84 / 8);  // a car-sized shape, not a dot
  EXPECT_EQ(opaque_outside, 0);
}

TEST(texture_catalogue, side_view_has_the_car_on_a_clear_background) {
  const std::string file = Resource("TEXTURES", "VIS");
  const auto h = ReadDdsHeader(file);
  ASSERT_TRUE(h.has_value());
  const auto rgba = assets_test::DecodeTopLevel(file, *h);
  EXPECT_EQ(At(rgba, h->width, 0, 0).a, 0);
  EXPECT_EQ(At(rgba, h->width, h->width - 1, h->height - 1).a, 0);
  EXPECT_EQ(At(rgba, h->width, h->width / 2, h->height / 2).a, 255);  // the door
  // Wider than high, as a car seen from the side is.
  std::uint32_t min_x = h->width, max_x = 0, min_y = h->height, max_y = 0;
  for (std::uint32_t y = 0; y < h->height; ++y) {
    for (std::uint32_t x = 0; x < h->width; ++x) {
      if (At(rgba, h->width, x, y).a == 0) continue;
      min_x = std::min(min_x, x), max_x = std::max(max_x, x);
      min_y = std::min(min_y, y), max_y = std::max(max_y, y);
    }
  }
  EXPECT_GT(max_x - min_x, 2 * (max_y - min_y));
}

// The painting guide must show every painted panel where the body mesh
// samples it: the texel under each panel's first triangle is not the dark
// background between the guide's regions.
TEST(texture_catalogue, body_guide_covers_every_painted_panel_of_the_mesh) {
  const std::string file = Resource("TEXTURES", "BODY");
  const auto h = ReadDdsHeader(file);
  ASSERT_TRUE(h.has_value());
  const auto rgba = assets_test::DecodeTopLevel(file, *h);
  const std::string mesh = Resource("MESHES", "100");
  model3da::Bytes block(reinterpret_cast<const std::byte*>(mesh.data()),
                        reinterpret_cast<const std::byte*>(mesh.data()) + mesh.size());
  auto loaded = model3da::load_model(std::move(block));
  ASSERT_TRUE(loaded.ok()) << loaded.message;
  const model3da::Model& model = *loaded.model;
  int checked = 0;
  for (const model3da::NodeView& node : model.nodes) {
    for (const model3da::SurfaceView& s : node.surfaces) {
      const std::string material = model.material_name(s);
      if (!material.starts_with("TMP1_Body")) continue;  // glass and lamps use their own textures
      ASSERT_GE(s.record.listIndexCount, 3u);
      float u = 0, v = 0;
      for (uint32_t k = 0; k < 3; ++k) {
        const model3da::Vec2 uv = model.uv0(s, model.list_index(s, k));
        u += uv[0] / 3, v += uv[1] / 3;
      }
      ASSERT_TRUE(u >= 0 && u <= 1 && v >= 0 && v <= 1) << node.record.name;
      const Pixel p = At(rgba, h->width, static_cast<std::uint32_t>(u * (h->width - 1)),
                         static_cast<std::uint32_t>(v * (h->height - 1)));
      const bool background = p.r < 70 && p.g < 70 && p.b < 70 && p.a == 255 &&
                              std::abs(p.r - 48) < 12 && std::abs(p.b - 52) < 12;
      EXPECT_FALSE(background) << node.record.name << " samples the guide's background";
      ++checked;
    }
  }
  EXPECT_GT(checked, 20);
}

}  // namespace
