#include "test_meshes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "cube_sides.h"
#include "geometry/face_vectors.h"
#include "model3da/writer.h"

namespace geometry::testing {
namespace {

Vec3 sub(const Vec3& a, const Vec3& b) {
  return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

Vec3 cross(const Vec3& a, const Vec3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

}  // namespace

Vec3 host_normal(const Vec3& p0, const Vec3& p1, const Vec3& p2) {
  const Vec3 n = unit_or_zero(cross(sub(p1, p0), sub(p2, p0)));
  return {n[0], -n[2], n[1]};
}

void set_host_normals(MeshInput& input) {
  input.face_normals.clear();
  for (const Face& f : input.faces) {
    input.face_normals.push_back(
        host_normal(input.positions[f.v[0]], input.positions[f.v[1]], input.positions[f.v[2]]));
  }
}

MeshInput cube(bool smooth) {
  MeshInput m;
  m.node_name = "Cube_0";
  for (uint32_t i = 0; i < 8; ++i) m.positions.push_back(cube_sides::corner(i));
  for (int s = 0; s < cube_sides::kSides; ++s) {
    const uint32_t groups = smooth ? 1u : 1u << s;
    const uint32_t material = s < 3 ? 0 : 1;
    for (const auto& t : cube_sides::triangles(s)) m.faces.push_back({t, groups, material});
  }
  set_host_normals(m);
  m.channels[1].vertices = {{0.25f, 0.75f, 0.0f}};
  m.channels[1].faces.assign(m.faces.size(), Triangle{0, 0, 0});
  return m;
}

MeshInput random_mesh(std::mt19937& rng, int vertex_count, int face_count) {
  MeshInput m;
  m.node_name = "Random_0";
  std::uniform_int_distribution<int> coord(0, 4);
  for (int i = 0; i < vertex_count; ++i)
    m.positions.push_back({float(coord(rng)), float(coord(rng)), float(coord(rng))});
  std::uniform_int_distribution<uint32_t> vertex(0, uint32_t(vertex_count - 1));
  std::uniform_int_distribution<uint32_t> group(0, 15);
  std::uniform_int_distribution<uint32_t> material(0, 2);
  std::uniform_int_distribution<uint32_t> uv(0, 8);
  std::normal_distribution<float> normal(0.0f, 1.0f);
  m.channels[1].vertices.resize(9);
  for (int i = 0; i < 9; ++i) m.channels[1].vertices[i] = {float(i % 3) / 2, float(i / 3) / 2, 0};
  for (int f = 0; f < face_count; ++f) {
    m.faces.push_back({{vertex(rng), vertex(rng), vertex(rng)}, group(rng), material(rng)});
    m.channels[1].faces.push_back({uv(rng), uv(rng), uv(rng)});
    m.face_normals.push_back(f % 17 == 0 ? Vec3{0, 0, 0}
                                         : Vec3{normal(rng), normal(rng), normal(rng)});
  }
  return m;
}

std::unique_ptr<model3da::Model> load_as_file(const GeometryResult& result,
                                              const std::string& name) {
  model3da::NodeData node;
  node.node_type = model3da::MESH_3DA;
  node.name = name;
  node.box_min = result.box_min;
  node.box_max = result.box_max;
  node.surfaces = result.surfaces;
  model3da::set_static_tracks(node, {0, 0, 0}, {0, 0, 0, 1}, {1, 1, 1});
  model3da::ByteBuffer chain;
  const std::string appended = model3da::append_node(chain, node);
  EXPECT_EQ(appended, "");
  if (!appended.empty()) return nullptr;
  // A material record for every index the surfaces use.
  uint32_t material_count = 0;
  for (const model3da::SurfaceData& s : result.surfaces)
    if (s.material_index != kNoMaterial)
      material_count = std::max(material_count, s.material_index + 1);
  const std::vector<model3da::MaterialRecord> materials(material_count);
  model3da::ModelWriteInput input;
  input.node_count = 1;
  input.chain = chain.bytes();
  input.materials = materials;
  model3da::Bytes bytes;
  const std::string written = model3da::make_model_file(input, bytes, {});
  EXPECT_EQ(written, "");
  if (!written.empty()) return nullptr;
  model3da::LoadResult loaded = model3da::load_model(std::move(bytes));
  EXPECT_TRUE(loaded.ok()) << loaded.message;
  return std::move(loaded.model);
}

}  // namespace geometry::testing
