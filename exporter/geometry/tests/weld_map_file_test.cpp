// Weld map files and the morph welders: the format, what a reader refuses,
// and a source and target export of the same mesh in two shapes.
#include "geometry/weld_map_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "geometry/morph_weld.h"
#include "test_meshes.h"

namespace geometry {
namespace {

// A fresh, empty folder for one test.
std::filesystem::path scratch(const std::string& name) {
  const auto dir = std::filesystem::temp_directory_path() / ("geometry_test_" + name);
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

model3da::Bytes bytes(std::initializer_list<uint32_t> words) {
  model3da::Bytes out;
  for (uint32_t w : words) model3da::append_u32(out, w);
  return out;
}

// Three corners, corners 0 and 2 welded into vertex 0 (which takes corner 2).
const WeldMap kSmall{{0, 1, 0}, {2, 1}};

TEST(WeldMapFileTest, TheFileIsCountsThenCornerVerticesThenVertexCorners) {
  EXPECT_EQ(weld_map_bytes(kSmall), bytes({3, 1, 0, 1, 0, 2, 1}));
  WeldMap read;
  EXPECT_EQ(parse_weld_map(bytes({3, 1, 0, 1, 0, 2, 1}), 3, read), "");
  EXPECT_EQ(read.vertex_of_corner, kSmall.vertex_of_corner);
  EXPECT_EQ(read.corner_of_vertex, kSmall.corner_of_vertex);
}

TEST(WeldMapFileTest, MapsThatDoNotFitTheSurfaceAreRefused) {
  WeldMap read;
  // Another corner count than the surface's.
  EXPECT_NE(parse_weld_map(bytes({3, 1, 0, 1, 0, 2, 1}), 6, read), "");
  // A vertex beyond the count, a corner beyond the surface.
  EXPECT_NE(parse_weld_map(bytes({3, 1, 0, 2, 0, 2, 1}), 3, read), "");
  EXPECT_NE(parse_weld_map(bytes({3, 1, 0, 1, 0, 7, 1}), 3, read), "");
  // Counts larger than the data, or than 16-bit vertex numbers allow.
  EXPECT_NE(parse_weld_map(bytes({3, 5, 0, 1, 0, 2, 1}), 3, read), "");
  EXPECT_NE(parse_weld_map(bytes({3, 0xFFFFFFFF, 0, 1, 0, 2, 1}), 3, read), "");
  EXPECT_NE(parse_weld_map(bytes({3, 65535, 0, 1, 0, 2, 1}), 3, read), "");
  // Trailing bytes.
  EXPECT_NE(parse_weld_map(bytes({3, 1, 0, 1, 0, 2, 1, 0}), 3, read), "");
  // Every shorter prefix.
  const model3da::Bytes whole = weld_map_bytes(kSmall);
  for (size_t n = 0; n < whole.size(); ++n)
    EXPECT_NE(parse_weld_map(std::span(whole).first(n), 3, read), "") << n << " bytes";
  EXPECT_TRUE(read.vertex_of_corner.empty());  // untouched by every refusal
}

TEST(WeldMapFileTest, FilesAreNamedAfterNodeAndSurfaceInsideTheFolder) {
  std::filesystem::path path;
  EXPECT_FALSE(weld_map_path("maps", "Bonnet_0", 2, path));
  EXPECT_EQ(path, std::filesystem::path("maps") / "Bonnet_0.2");
  for (const char* name : {"../Bonnet_0", "a/b_0", "a\\b_0", "c:b_0", ""}) {
    const GeometryError e = weld_map_path("maps", name, 0, path);
    EXPECT_EQ(e.kind, GeometryErrorKind::kWeldMapUnwritable) << name;
  }
}

TEST(WeldMapFileTest, FilesRoundTripAndFailuresNameTheFile) {
  const auto dir = scratch("weld_map_files");
  const auto path = dir / "Bonnet_0.0";
  ASSERT_FALSE(write_weld_map_file(path, kSmall));
  WeldMap read;
  std::string detail;
  EXPECT_FALSE(read_weld_map_file(path, 3, read, detail));
  EXPECT_EQ(read.corner_of_vertex, kSmall.corner_of_vertex);
  // Read against another surface: the morph message, the reason in detail.
  GeometryError e = read_weld_map_file(path, 6, read, detail);
  EXPECT_EQ(e.kind, GeometryErrorKind::kWeldMapMismatch);
  EXPECT_EQ(e.message, kMessageSurfacesDoNotMatch);
  EXPECT_NE(detail.find("Bonnet_0.0"), std::string::npos);
  // A missing file cannot be opened.
  e = read_weld_map_file(dir / "Bonnet_0.1", 3, read, detail);
  EXPECT_EQ(e.kind, GeometryErrorKind::kWeldMapUnreadable);
  EXPECT_EQ(e.message, "unable to open file!");
  // A file in a missing folder cannot be written; no file is left.
  e = write_weld_map_file(dir / "gone" / "Bonnet_0.0", kSmall);
  EXPECT_EQ(e.kind, GeometryErrorKind::kWeldMapUnwritable);
  EXPECT_NE(e.message.find("gone"), std::string::npos);
  std::filesystem::remove_all(dir);
}

// The cube of the tests in two shapes: as built, and stretched with every
// vertex moved.
MeshInput shape(bool moved) {
  MeshInput m = testing::cube(true);
  m.node_name = "Bonnet_0";
  if (moved) {
    for (Vec3& p : m.positions) p = {p[0] * 1.5f + 0.25f, p[1] * 0.5f, p[2] + p[0] * 0.125f};
    testing::set_host_normals(m);
  }
  return m;
}

TEST(WeldMapFileTest, ATargetReusesTheSourceWelds) {
  const auto dir = scratch("morph_pair");
  const GeometryResult source = export_geometry(shape(false), morph_source_welder(dir, "Bonnet_0"));
  ASSERT_TRUE(source.ok()) << source.error.message;
  EXPECT_TRUE(std::filesystem::exists(dir / "Bonnet_0.0"));
  EXPECT_TRUE(std::filesystem::exists(dir / "Bonnet_0.1"));
  // The moved shape welds differently on its own (its smoothed normals
  // differ per side), but with the source's maps the surfaces match.
  std::string detail;
  const GeometryResult target =
      export_geometry(shape(true), morph_target_welder(dir, "Bonnet_0", detail));
  ASSERT_TRUE(target.ok()) << target.error.message << ": " << detail;
  ASSERT_EQ(target.surfaces.size(), source.surfaces.size());
  for (size_t s = 0; s < source.surfaces.size(); ++s) {
    EXPECT_EQ(target.surfaces[s].positions.size(), source.surfaces[s].positions.size());
    EXPECT_EQ(target.surfaces[s].list_indices, source.surfaces[s].list_indices);
    EXPECT_NE(target.surfaces[s].positions, source.surfaces[s].positions);
  }
  // A material added between the exports changes the corner counts.
  MeshInput changed = shape(true);
  changed.faces[0].material_index = 1;
  GeometryResult r = export_geometry(changed, morph_target_welder(dir, "Bonnet_0", detail));
  EXPECT_EQ(r.error.kind, GeometryErrorKind::kWeldMapMismatch);
  // A deleted weld map folder.
  std::filesystem::remove_all(dir);
  r = export_geometry(shape(true), morph_target_welder(dir, "Bonnet_0", detail));
  EXPECT_EQ(r.error.kind, GeometryErrorKind::kWeldMapUnreadable);
  EXPECT_EQ(r.error.message, "unable to open file!");
  // A source export whose folder is gone fails, naming the file.
  r = export_geometry(shape(false), morph_source_welder(dir, "Bonnet_0"));
  EXPECT_EQ(r.error.kind, GeometryErrorKind::kWeldMapUnwritable);
  EXPECT_NE(r.error.message.find("Bonnet_0.0"), std::string::npos);
}

TEST(WeldMapFileTest, AMapThatDoesNotFitIsRefusedBeforeUse) {
  // A welder that hands back a map naming a vertex the surface does not have.
  const Welder broken = [](std::size_t, const CornerSurface& surface, WeldMap& weld) {
    weld = weld_corners(surface.corners);
    weld.vertex_of_corner[0] = uint32_t(weld.corner_of_vertex.size());
    return GeometryError{};
  };
  const GeometryResult r = export_geometry(shape(false), broken);
  EXPECT_EQ(r.error.kind, GeometryErrorKind::kWeldMapMismatch);
  EXPECT_EQ(r.error.message, kMessageSurfacesDoNotMatch);
  EXPECT_TRUE(r.surfaces.empty());
}

}  // namespace
}  // namespace geometry
