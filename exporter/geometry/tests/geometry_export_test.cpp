// The geometry of one mesh from description to surfaces: the documented edge
// cases, a cube with two materials, the vertex limit, the surfaces' bytes
// and random meshes written into files that load.
#include "geometry/geometry_export.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>

#include "geometry/axes.h"
#include "geometry/face_vectors.h"
#include "geometry/skin.h"
#include "test_meshes.h"

namespace geometry {
namespace {

using model3da::SurfaceData;
using testing::cube;
using testing::load_as_file;
using testing::set_host_normals;

// One triangle facing +y in the file's axes, channel 1 with the map vertices
// (0, 1), (1, 1), (0, 0), exported as (0, 0), (1, 0), (0, 1).
MeshInput triangle() {
  MeshInput m;
  m.node_name = "Tri_0";
  m.positions = {{0, 0, 0}, {1, 0, 0}, {0, 0, -1}};
  m.faces = {{{0, 1, 2}, 1, 0}};
  set_host_normals(m);
  m.channels[1].vertices = {{0, 1, 0}, {1, 1, 0}, {0, 0, 0}};
  m.channels[1].faces = {{0, 1, 2}};
  return m;
}

// Every corner of every face uses map vertex 0 of `channel`.
void constant_channel(MeshInput& m, int channel, Vec3 value) {
  m.channels[channel].vertices = {value};
  m.channels[channel].faces.assign(m.faces.size(), Triangle{0, 0, 0});
}

GeometryResult export_ok(const MeshInput& m) {
  GeometryResult r = export_geometry(m);
  EXPECT_TRUE(r.ok()) << r.error.message;
  return r;
}

// The first surface of the mesh's export (empty when there is none).
SurfaceData surface0(const MeshInput& m) {
  GeometryResult r = export_ok(m);
  return r.surfaces.empty() ? SurfaceData{} : std::move(r.surfaces[0]);
}

Vec3 sub(const Vec3& a, const Vec3& b) {
  return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

Vec3 cross(const Vec3& a, const Vec3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

float dot(const Vec3& a, const Vec3& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

void expect_near(const Vec3& a, const Vec3& b, float tolerance = 1e-6f) {
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(a[k], b[k], tolerance) << "component " << k;
}

// The positions of triangle t of a surface.
std::array<Vec3, 3> corners_of(const SurfaceData& s, size_t t) {
  return {s.positions[s.list_indices[3 * t]], s.positions[s.list_indices[3 * t + 1]],
          s.positions[s.list_indices[3 * t + 2]]};
}

TEST(GeometryExportTest, MirroredFacesStillFaceOutwards) {
  MeshInput m = triangle();
  const SurfaceData plain = export_ok(m).surfaces.at(0);
  m.mirrored = true;
  const SurfaceData mirrored = export_ok(m).surfaces.at(0);
  auto winding = [](const SurfaceData& s) {
    const auto p = corners_of(s, 0);
    return cross(sub(p[1], p[0]), sub(p[2], p[0]));
  };
  EXPECT_GT(winding(plain)[1], 0.0f);
  // Written 2, 1, 0: the winding turns; the normals do not.
  EXPECT_LT(winding(mirrored)[1], 0.0f);
  for (const Vec3& n : mirrored.normals) EXPECT_EQ(n, (Vec3{0, 1, 0}));
  // Under the node's mirroring transform (here x -> -x) the written triangle
  // winds towards its mirrored normal, so it faces outwards.
  auto mirror = [](Vec3 v) { return Vec3{-v[0], v[1], v[2]}; };
  const auto p = corners_of(mirrored, 0);
  const Vec3 seen = cross(sub(mirror(p[1]), mirror(p[0])), sub(mirror(p[2]), mirror(p[0])));
  EXPECT_GT(dot(seen, mirror(mirrored.normals[0])), 0.0f);
  // Map faces turn with the vertex faces: each position keeps its uv.
  for (const SurfaceData* s : {&plain, &mirrored}) {
    for (size_t v = 0; v < 3; ++v) {
      const Vec3& q = s->positions[v];
      const Vec2 expected = q[0] == 1 ? Vec2{1, 0} : q[2] == -1 ? Vec2{0, 1} : Vec2{0, 0};
      EXPECT_EQ(s->uv[0][v], expected);
    }
  }
}

TEST(GeometryExportTest, CornersCloserThanTheToleranceWeldAcrossFaces) {
  // A quad of two triangles whose second triangle has its own copies of the
  // two shared vertices, moved by `offset`.
  auto quad = [](float offset) {
    MeshInput m;
    m.node_name = "Quad_0";
    m.positions = {{0, 0, 0}, {1, 0, 0}, {1, 0, -1}, {0, 0, -1}, {offset, 0, 0}, {1, offset, -1}};
    m.faces = {{{0, 1, 2}, 1, 0}, {{4, 5, 3}, 1, 0}};
    set_host_normals(m);
    constant_channel(m, 1, {0.5f, 0.5f, 0});
    return m;
  };
  const GeometryResult close = export_ok(quad(0.00005f));
  EXPECT_EQ(close.surfaces.at(0).positions.size(), 4u);
  EXPECT_EQ(close.surfaces.at(0).list_indices.size(), 6u);
  EXPECT_EQ(export_ok(quad(0.0002f)).surfaces.at(0).positions.size(), 6u);
}

// The distinct colours of the first surface of the mesh's export.
std::set<uint32_t> colors_of(const MeshInput& m) {
  const SurfaceData s = surface0(m);
  return {s.colors.begin(), s.colors.end()};
}

TEST(GeometryExportTest, ColoursAreWhiteWithoutVertexColoursAndAlpha) {
  MeshInput m = triangle();
  EXPECT_EQ(colors_of(m), (std::set<uint32_t>{0xFFFFFFFFu}));
  // (r, g, b) = (1, 0.5, 0.25): bytes blue 63, green 127, red 255, alpha 255.
  constant_channel(m, 0, {1.0f, 0.5f, 0.25f});
  EXPECT_EQ(colors_of(m), (std::set<uint32_t>{0xFFFF7F3Fu}));
  // Vertex alpha replaces the alpha byte, clamped to at most 1.
  m.alpha.vertices = {{0.5f, 0, 0}, {2.0f, 0, 0}, {0.5f, 0, 0}};
  m.alpha.faces = {{0, 1, 2}};
  EXPECT_EQ(colors_of(m), (std::set<uint32_t>{0x7FFF7F3Fu, 0xFFFF7F3Fu}));
  // Alpha without colours starts from white.
  m.channels[0] = {};
  EXPECT_EQ(colors_of(m), (std::set<uint32_t>{0x7FFFFFFFu, 0xFFFFFFFFu}));
  // Values outside 0..1 and NaN are clamped, never wrapped.
  m.alpha = {};
  constant_channel(m, 0, {-1.0f, std::numeric_limits<float>::quiet_NaN(), 7.0f});
  EXPECT_EQ(colors_of(m), (std::set<uint32_t>{0xFF0000FFu}));
}

TEST(GeometryExportTest, UvsFlipVAndFollowTheExportSwitches) {
  MeshInput m = triangle();
  constant_channel(m, 2, {0.25f, 0.75f, 0});
  constant_channel(m, 4, {0.5f, 0.125f, 0});
  m.export_tex_coord = {true, false, false, true};
  SurfaceData s = export_ok(m).surfaces.at(0);
  for (size_t v = 0; v < 3; ++v) {
    EXPECT_EQ(s.uv[1][v], (Vec2{0, 0}));          // channel 2 present, not exported
    EXPECT_EQ(s.uv[2][v], (Vec2{0, 0}));          // channel 3 absent
    EXPECT_EQ(s.uv[3][v], (Vec2{0.5f, 0.875f}));  // channel 4
  }
  m.export_tex_coord[1] = true;
  s = export_ok(m).surfaces.at(0);
  for (size_t v = 0; v < 3; ++v) EXPECT_EQ(s.uv[1][v], (Vec2{0.25f, 0.25f}));
}

TEST(GeometryExportTest, InconsistentDescriptionsAreRefusedNamingTheNode) {
  auto refused = [](const MeshInput& m) {
    const GeometryResult r = export_geometry(m);
    EXPECT_EQ(r.error.kind, GeometryErrorKind::kInvalidInput);
    EXPECT_NE(r.error.message.find("'Tri_0'"), std::string::npos) << r.error.message;
  };
  MeshInput m = triangle();
  m.face_normals.push_back({0, 0, 1});
  refused(m);
  m = triangle();
  m.channels[1].faces.push_back({0, 0, 0});
  refused(m);
  m = triangle();
  m.channels[1].faces[0][2] = 3;  // no map vertex 3
  refused(m);
  m = triangle();
  m.skin.resize(2);
  refused(m);
  m = triangle();
  m.positions[1][2] = std::numeric_limits<float>::infinity();
  refused(m);
  // A texture coordinate that is not finite is refused where it would be
  // written, and ignored in a channel that is not exported.
  m = triangle();
  constant_channel(m, 2, {std::numeric_limits<float>::quiet_NaN(), 0, 0});
  m.export_tex_coord[1] = false;
  EXPECT_TRUE(export_geometry(m).ok());
  m.export_tex_coord[1] = true;
  refused(m);
}

TEST(GeometryExportTest, WithoutTcoord0Uv0IsZeroTangentsAreXAndNoColours) {
  MeshInput m = triangle();
  m.positions[2] = {0, 0, -2};  // the uvs give a tangent that is not +x...
  m.channels[1].vertices = {{0, 1, 0}, {0, 0, 0}, {1, 1, 0}};
  set_host_normals(m);
  constant_channel(m, 0, {0.5f, 0.5f, 0.5f});
  constant_channel(m, 2, {0.25f, 0.75f, 0});
  const SurfaceData with = export_ok(m).surfaces.at(0);
  EXPECT_NE(with.tangents[0], (Vec3{1, 0, 0}));
  m.export_tex_coord[0] = false;  // ...until channel 1 is switched off
  const SurfaceData without = export_ok(m).surfaces.at(0);
  for (size_t v = 0; v < without.positions.size(); ++v) {
    EXPECT_EQ(without.uv[0][v], (Vec2{0, 0}));
    EXPECT_EQ(without.tangents[v], (Vec3{1, 0, 0}));
    EXPECT_EQ(without.colors[v], 0xFFFFFFFFu);
    EXPECT_EQ(without.uv[1][v], (Vec2{0.25f, 0.25f}));
  }
  // A mesh with only channel 1 still exports with the switch off.
  m.channels[0] = {};
  m.channels[2] = {};
  EXPECT_TRUE(export_geometry(m).ok());
}

TEST(GeometryExportTest, AMeshWithoutTextureChannelsFailsAndABoneDoesNot) {
  MeshInput m = triangle();
  m.channels[1] = {};
  constant_channel(m, 0, {1, 1, 1});  // colours alone are not a mapping
  const GeometryResult r = export_geometry(m);
  EXPECT_EQ(r.error.kind, GeometryErrorKind::kNoMapping);
  EXPECT_EQ(r.error.message, "No mapping applied for mesh: Tri_0");
  EXPECT_TRUE(r.surfaces.empty());
  m.bone = true;
  m.faces[0].material_index = 3;
  const GeometryResult bone = export_ok(m);
  ASSERT_EQ(bone.surfaces.size(), 1u);
  EXPECT_EQ(bone.surfaces[0].material_index, kNoMaterial);
}

TEST(GeometryExportTest, DegenerateAndIllegalFacesAndIsolatedVerticesAreLeftOut) {
  MeshInput m;
  m.node_name = "Holes_0";
  m.positions = {{0, 0, 0}, {1, 0, 0}, {0, 0, -1}, {5, 5, 5}, {1, 0, -1}};
  m.faces = {{{0, 0, 1}, 1, 0},  // degenerate
             {{0, 1, 9}, 1, 0},  // illegal
             {{0, 1, 2}, 1, 0},
             {{1, 2, 4}, 1, 7}};  // corner 4 is used, vertex 3 is not
  m.face_normals.assign(4, Vec3{0, 0, 1});
  m.channels[1].vertices = {{0, 0, 0}, {0.5f, 0.5f, 0}};
  m.channels[1].faces = {{1, 1, 1}, {1, 1, 1}, {0, 0, 0}, {0, 0, 0}};
  const GeometryResult r = export_ok(m);
  ASSERT_EQ(r.surfaces.size(), 2u);
  EXPECT_EQ(r.surfaces[0].list_indices.size(), 3u);
  EXPECT_EQ(r.surfaces[1].list_indices.size(), 3u);
  for (const SurfaceData& s : r.surfaces) {
    for (const Vec3& p : s.positions) EXPECT_NE(p, (Vec3{5, 5, 5}));
    for (const Vec2& uv : s.uv[0]) EXPECT_EQ(uv, (Vec2{0, 1}));  // the kept faces' map faces
  }
  // The box is taken from the positions as given.
  EXPECT_EQ(r.box_min, (Vec3{0, 0, -1}));
  EXPECT_EQ(r.box_max, (Vec3{5, 5, 5}));
}

TEST(GeometryExportTest, AFaceNormalThatIsNotFiniteWarnsAndAddsNothing) {
  MeshInput m = triangle();
  m.positions.push_back({1, 0, -1});
  m.faces.push_back({{1, 3, 2}, 1, 0});
  set_host_normals(m);
  m.channels[1].faces.push_back({1, 1, 2});
  m.face_normals[0] = {std::numeric_limits<float>::quiet_NaN(), 0, 1};
  m.face_normals[1] = {0, 0, 1};  // host +z is file +y
  GeometryResult r = export_ok(m);
  EXPECT_EQ(r.warnings, (std::vector<std::string>{std::string(kMessageFaceNormal)}));
  // Corners shared with the good face take its normal; the bad face's own
  // corner has nothing to add and falls back to (0, 1, 0).
  for (const Vec3& n : r.surfaces.at(0).normals) EXPECT_EQ(n, (Vec3{0, 1, 0}));
  m.face_normals[1] = {0, -1, 0};  // file +z
  r = export_ok(m);
  const SurfaceData& s = r.surfaces.at(0);
  for (size_t v = 0; v < s.positions.size(); ++v) {
    const Vec3 expected = s.positions[v] == Vec3{0, 0, 0} ? Vec3{0, 1, 0} : Vec3{0, 0, 1};
    EXPECT_EQ(s.normals[v], expected);
  }
  // An infinite normal warns too; a zero one does not.
  m.face_normals[0] = {0, std::numeric_limits<float>::infinity(), 0};
  EXPECT_EQ(export_ok(m).warnings.size(), 1u);
  m.face_normals[0] = {0, 0, 0};
  EXPECT_TRUE(export_ok(m).warnings.empty());
}

// The distinct tangents of the first surface of the mesh's export.
std::set<Vec3> tangents_of(const MeshInput& m) {
  const SurfaceData s = surface0(m);
  return {s.tangents.begin(), s.tangents.end()};
}

TEST(GeometryExportTest, TangentsAreDividedByDOnlyWhenItIsPositive) {
  MeshInput m = triangle();
  m.faces[0].smoothing_groups = 0;
  // Exported uvs (0, 0), (1, 0), (0, 1): D = 1, u grows along +x.
  EXPECT_EQ(tangents_of(m), (std::set<Vec3>{{1, 0, 0}}));
  // Exported third uv (0, -1): D = -1, the tangent stays undivided and
  // points along -x although u still grows along +x.
  m.channels[1].vertices[2] = {0, 2, 0};
  EXPECT_EQ(tangents_of(m), (std::set<Vec3>{{-1, 0, 0}}));
  // Exported uvs that give D = 0 and a zero tangent fall back to (1, 0, 0).
  m.channels[1].vertices = {{0.5f, 0.5f, 0}, {0.5f, 0.5f, 0}, {0.5f, 0.5f, 0}};
  EXPECT_EQ(tangents_of(m), (std::set<Vec3>{{1, 0, 0}}));
}

TEST(GeometryExportTest, FaceNormalsAreConvertedAndGoThroughTheNormalMatrix) {
  MeshInput m = triangle();
  // Host normal (0, 1, 1) is file (0, 1, -1); an object offset stretching
  // host y (file z) by 3 divides the normal's file z by 3.
  m.face_normals[0] = {0, 1, 1};
  m.normal_matrix = *normal_matrix_from_object_offset({1, 0, 0, 0, 3, 0, 0, 0, 1});
  const SurfaceData s = surface0(m);
  ASSERT_EQ(s.normals.size(), 3u);
  for (const Vec3& n : s.normals) expect_near(n, unit_or_zero({0, 1, -1.0f / 3}));
}

// The triangles of a surface as position triples, each rotated to start at
// its smallest corner, so that winding is kept.
std::multiset<std::array<std::array<float, 3>, 3>> triangles_by_position(
    const std::vector<std::array<Vec3, 3>>& triangles) {
  std::multiset<std::array<std::array<float, 3>, 3>> out;
  for (auto t : triangles) {
    while (!(t[0] <= t[1] && t[0] <= t[2])) std::rotate(t.begin(), t.begin() + 1, t.end());
    out.insert(t);
  }
  return out;
}

TEST(GeometryExportTest, CubeWithTwoMaterials) {
  for (const bool smooth : {false, true}) {
    SCOPED_TRACE(smooth ? "smooth" : "flat");
    const MeshInput m = cube(smooth);
    const GeometryResult r = export_ok(m);
    ASSERT_EQ(r.surfaces.size(), 2u);
    for (uint32_t s = 0; s < 2; ++s) {
      const SurfaceData& surface = r.surfaces[s];
      EXPECT_EQ(surface.material_index, s);
      EXPECT_EQ(surface.list_indices.size(), 18u);
      // Flat: 3 sides of 4 vertices; smooth: the 7 cube corners of 3 sides.
      EXPECT_EQ(surface.positions.size(), smooth ? 7u : 12u);
      // The same triangles as the mesh's faces of this material, winding kept.
      std::vector<std::array<Vec3, 3>> input, output;
      for (const Face& f : m.faces)
        if (f.material_index == s)
          input.push_back({m.positions[f.v[0]], m.positions[f.v[1]], m.positions[f.v[2]]});
      for (size_t t = 0; t < 6; ++t) output.push_back(corners_of(surface, t));
      EXPECT_EQ(triangles_by_position(output), triangles_by_position(input));
      // Vertices are numbered by first use in the list.
      uint16_t next = 0;
      for (uint16_t i : surface.list_indices) {
        ASSERT_LE(i, next);
        if (i == next) ++next;
      }
      for (size_t v = 0; v < surface.positions.size(); ++v) {
        const Vec3& p = surface.positions[v];
        const Vec3& n = surface.normals[v];
        if (!smooth) {
          // The normal of a flat side is its axis, and the vertex lies on it.
          const int axis = n[0] != 0 ? 0 : n[1] != 0 ? 1 : 2;
          EXPECT_EQ(std::fabs(n[axis]), 1.0f);
          EXPECT_EQ(p[axis], n[axis]);
        } else if (p == Vec3{1, 1, 1} || p == Vec3{-1, -1, -1}) {
          // Both triangles of each of the three sides meet here.
          expect_near(n, unit_or_zero(p));
        } else if (p == Vec3{1, -1, 1}) {
          // One triangle each of +x and +z, two of -y.
          expect_near(n, unit_or_zero({1, -2, 1}));
        }
      }
    }
    EXPECT_NE(load_as_file(r), nullptr);
  }
}

TEST(GeometryExportTest, InterleavedMaterialsKeepEveryChannelWithItsCorner) {
  // Four faces of materials 2, 1, 2, 1 (and a bone-free skin), each face
  // with its own colour, alpha, uvs in all four channels and skin: every
  // corner of a surface must carry its own face's values.
  MeshInput m;
  m.node_name = "Mixed_0";
  for (uint32_t f = 0; f < 4; ++f) {
    const float x = float(f) * 2;
    m.positions.push_back({x, 0, 0});
    m.positions.push_back({x + 1, 0, 0});
    m.positions.push_back({x, 0, -1});
    m.faces.push_back({{3 * f, 3 * f + 1, 3 * f + 2}, 1u << f, f % 2 == 0 ? 2u : 1u});
    m.skin.push_back(make_skin_record(uint8_t(f), 0, 32768, 0));
    m.skin.push_back(make_skin_record(uint8_t(f), 1, 16384, 16384));
    m.skin.push_back(make_skin_record(uint8_t(f), 2, 0, 32768));
  }
  set_host_normals(m);
  m.export_tex_coord = {true, true, true, true};
  for (int c = 0; c < kMapChannelCount; ++c) {
    for (uint32_t f = 0; f < 4; ++f) {
      // Map vertices in reverse face order, so that map and vertex indices differ.
      const uint32_t base = 3 * (3 - f);
      m.channels[c].faces.push_back({base, base + 1, base + 2});
    }
    for (uint32_t i = 0; i < 12; ++i) {
      const uint32_t face = 3 - i / 3;
      m.channels[c].vertices.push_back({0.1f * float(face), 0.05f * float(c), 0.01f * float(i)});
    }
  }
  m.alpha = m.channels[2];
  CornerGeometry g;
  ASSERT_FALSE(build_corner_geometry(m, g));
  ASSERT_EQ(g.surfaces.size(), 2u);
  for (size_t s = 0; s < 2; ++s) {
    const CornerSurface& surface = g.surfaces[s];
    EXPECT_EQ(surface.material_index, s + 1);
    ASSERT_EQ(surface.corners.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
      const uint32_t f = s == 0 ? (i < 3 ? 1 : 3) : (i < 3 ? 0 : 2);
      const uint32_t v = 3 * f + uint32_t(i % 3);
      const uint32_t map = 3 * (3 - f) + uint32_t(i % 3);
      const Corner& c = surface.corners[i];
      SCOPED_TRACE(::testing::Message() << "surface " << s << ", corner " << i);
      EXPECT_EQ(c.position, m.positions[v]);
      EXPECT_EQ(c.skin, m.skin[v]);
      uint32_t color = vertex_color(m.channels[0].vertices[map]);
      color = with_alpha(color, m.alpha.vertices[map][0]);
      EXPECT_EQ(c.color, color);
      for (int t = 0; t < 4; ++t) {
        const Vec3& uv = m.channels[t + 1].vertices[map];
        EXPECT_EQ(c.uv[t], (Vec2{uv[0], 1.0f - uv[1]}));
      }
      // Each face has a group of its own: its corners take its own normal.
      expect_near(c.normal, {0, 1, 0});
    }
  }
}

TEST(GeometryExportTest, ASurfaceOver65535VerticesFailsNamingNodeMaterialCount) {
  // 21846 separate triangles weld to 65538 vertices.
  MeshInput m;
  m.node_name = "Big_0";
  m.material_names = {"Paint", "Glass", "Chrome"};
  for (uint32_t t = 0; t < 21846; ++t) {
    const float x = float(2 * t);
    m.positions.insert(m.positions.end(), {{x, 0, 0}, {x + 1, 0, 0}, {x, 0, -1}});
    m.faces.push_back({{3 * t, 3 * t + 1, 3 * t + 2}, 0, 2});
  }
  set_host_normals(m);
  constant_channel(m, 1, {0, 0, 0});
  const GeometryResult r = export_geometry(m);
  EXPECT_EQ(r.error.kind, GeometryErrorKind::kTooManyVertices);
  for (const char* part : {"'Big_0'", "'Chrome'", "65538", "65535"})
    EXPECT_NE(r.error.message.find(part), std::string::npos) << part << " in " << r.error.message;
  EXPECT_TRUE(r.surfaces.empty());
}

TEST(GeometryExportTest, TheStripBuilderMessagesComeBackCounted) {
  // Three faces on the edge (0, 1), then three on the edge (5, 6).
  MeshInput m;
  m.node_name = "Fins_0";
  m.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1},
                 {5, 0, 0}, {6, 0, 0}, {5, 1, 0}, {5, -1, 0}, {5, 0, 1}};
  m.faces = {{{0, 1, 2}, 1, 0}, {{1, 0, 3}, 1, 0}, {{0, 1, 4}, 1, 0}};
  set_host_normals(m);
  constant_channel(m, 1, {0, 0, 0});
  const std::string message =
      "BuildStripifyInfo: > 2 triangles on an edge... uncertain consequences";
  GeometryResult r = export_ok(m);
  EXPECT_EQ(r.notes, (std::vector<std::string>{message}));
  EXPECT_EQ(r.surfaces.at(0).list_indices.size(), 9u);
  m.faces.insert(m.faces.end(), {{{5, 6, 7}, 1, 0}, {{6, 5, 8}, 1, 0}, {{5, 6, 9}, 1, 0}});
  set_host_normals(m);
  constant_channel(m, 1, {0, 0, 0});
  r = export_ok(m);
  EXPECT_EQ(r.notes, (std::vector<std::string>{message + " (2 times)"}));
}

TEST(GeometryExportTest, SurfaceBytesLieAtTheirAbsoluteOffsets) {
  const GeometryResult r = export_ok(cube(false));
  model3da::Bytes data(10, std::byte{0xAA});  // the node's data so far
  uint32_t surfaces_offset = 0;
  ASSERT_EQ(append_surface_bytes(data, 1000, r.surfaces, surfaces_offset), "");
  // Surface 0 has 12 vertices and 18 indices: positions at the base + 10,
  // then normals, tangents (12 bytes each per vertex), colours (4), skin
  // (12), pair (8), four uv arrays (8) and the list (2 per index).
  const uint32_t base = 1010;
  const uint32_t n = 12;
  const uint32_t surface_bytes = n * (12 + 12 + 12 + 4 + 12 + 8 + 4 * 8) + 18 * 2;
  EXPECT_EQ(surfaces_offset, base + 2 * surface_bytes);
  ASSERT_EQ(data.size(), 10 + 2 * surface_bytes + 2 * 68);
  for (uint32_t s = 0; s < 2; ++s) {
    const uint32_t record_at = surfaces_offset + 68 * s;
    const model3da::SurfaceRecord rec =
        model3da::read_surface_record(data.data() + (record_at - 1000));
    const uint32_t at = base + s * surface_bytes;
    EXPECT_EQ(rec.materialIndex, s);
    EXPECT_EQ(rec.vertexCount, n);
    EXPECT_EQ(rec.positionsOffset, at);
    EXPECT_EQ(rec.normalsOffset, at + 12 * n);
    EXPECT_EQ(rec.tangentsOffset, at + 24 * n);
    EXPECT_EQ(rec.colorsOffset, at + 36 * n);
    EXPECT_EQ(rec.skinOffset, at + 40 * n);
    EXPECT_EQ(rec.pairOffset, at + 52 * n);
    for (uint32_t t = 0; t < 4; ++t) EXPECT_EQ(rec.uvOffset[t], at + 60 * n + 8 * n * t);
    EXPECT_EQ(rec.listIndicesOffset, at + 92 * n);
    EXPECT_EQ(rec.listIndexCount, 18u);
    EXPECT_EQ(rec.stripIndicesOffset, 0u);
    EXPECT_EQ(rec.stripIndexCount, 0u);
    EXPECT_EQ(rec.nextSurfaceOffset, record_at + 68);
    // The first position's bytes are the surface's first position.
    EXPECT_EQ(model3da::read_f32(data.data() + (at - 1000)), r.surfaces[s].positions[0][0]);
  }
  // A surface whose list names a missing vertex is refused, nothing appended.
  std::vector<SurfaceData> bad = r.surfaces;
  bad[1].list_indices[4] = 12;
  EXPECT_NE(append_surface_bytes(data, 1000, bad, surfaces_offset), "");
  EXPECT_EQ(data.size(), 10 + 2 * surface_bytes + 2 * 68);
}

TEST(GeometryExportTest, RandomMeshesExportIntoFilesThatLoad) {
  std::mt19937 rng(4242);
  int refused = 0;
  for (int round = 0; round < 150; ++round) {
    MeshInput m = testing::random_mesh(rng, 5 + round % 40, 1 + round * 3);
    m.mirrored = round % 4 == 1;
    if (round % 10 == 3) m.positions[0][1] = std::numeric_limits<float>::quiet_NaN();
    const GeometryResult r = export_geometry(m);
    if (round % 10 == 3) {
      EXPECT_EQ(r.error.kind, GeometryErrorKind::kInvalidInput);
      ++refused;
      continue;
    }
    ASSERT_TRUE(r.ok()) << r.error.message;
    // Every written triangle is a kept face of the mesh, by position.
    std::set<std::array<std::array<float, 3>, 3>> faces;
    for (const Face& f : m.faces) {
      Triangle t = f.v;
      if (m.mirrored) std::swap(t[0], t[2]);
      faces.insert(
          *triangles_by_position({{m.positions[t[0]], m.positions[t[1]], m.positions[t[2]]}})
               .begin());
    }
    for (const SurfaceData& s : r.surfaces) {
      ASSERT_LE(s.positions.size(), kMaxSurfaceVertices);
      for (size_t t = 0; t < s.list_indices.size() / 3; ++t)
        EXPECT_TRUE(faces.contains(*triangles_by_position({corners_of(s, t)}).begin()));
      for (size_t v = 0; v < s.positions.size(); ++v) {
        EXPECT_NEAR(dot(s.normals[v], s.normals[v]), 1.0f, 1e-5f);
        EXPECT_NEAR(dot(s.tangents[v], s.tangents[v]), 1.0f, 1e-5f);
      }
    }
    ASSERT_NE(load_as_file(r), nullptr) << "round " << round;
  }
  EXPECT_EQ(refused, 15);
}

}  // namespace
}  // namespace geometry
