// libFuzzer harness: random meshes (random faces, degenerate and illegal
// ones, NaN and infinite positions and normals, broken map channels, random
// smoothing groups, materials, switches, mirroring and skin data) go through
// the geometry export. It must never crash; a mesh is either refused or its
// surfaces, written as a node of a whole .3da file, load back.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "geometry/geometry_export.h"
#include "model3da/model.h"
#include "model3da/writer.h"

namespace {

using geometry::Vec3;

// Most meshes are sound, so that most inputs reach the file; in a "wild" one
// any float may be NaN, infinite, huge or tiny, and map indices may point
// past their channel.
struct Source {
  FuzzedDataProvider& in;
  bool wild = false;

  float value() {
    if (wild) {
      switch (in.ConsumeIntegralInRange(0, 7)) {
        case 0:
          return std::numeric_limits<float>::quiet_NaN();
        case 1:
          return std::numeric_limits<float>::infinity();
        case 2:
          return 1e30f;
        case 3:
          return 1e-30f;
        case 4:
          return in.ConsumeFloatingPoint<float>();
        default:
          break;
      }
    }
    return float(in.ConsumeIntegralInRange(-4, 4)) * 0.25f;
  }
  Vec3 vec() { return {value(), value(), value()}; }
  uint32_t index(uint32_t count) {
    return in.ConsumeIntegralInRange<uint32_t>(0, wild || count == 0 ? count : count - 1);
  }
};

geometry::MapChannel some_channel(Source& src, size_t face_count) {
  geometry::MapChannel channel;
  if (src.in.ConsumeBool()) return channel;
  const uint32_t vertex_count = src.in.ConsumeIntegralInRange<uint32_t>(1, 12);
  for (uint32_t i = 0; i < vertex_count; ++i) channel.vertices.push_back(src.vec());
  // In a wild mesh, now and then one map face too many.
  const size_t faces = face_count + (src.wild && src.in.ConsumeBool() ? 1 : 0);
  for (size_t f = 0; f < faces; ++f) {
    geometry::Triangle t;
    for (uint32_t& v : t) v = src.index(vertex_count);
    channel.faces.push_back(t);
  }
  return channel;
}

bool finite(const Vec3& v) {
  return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  Source src{in, in.ConsumeIntegralInRange(0, 3) == 0};
  geometry::MeshInput m;
  m.node_name = "Fuzz_0";
  m.bone = in.ConsumeIntegralInRange(0, 7) == 0;
  m.mirrored = in.ConsumeBool();
  const uint32_t vertex_count = in.ConsumeIntegralInRange<uint32_t>(0, 48);
  for (uint32_t i = 0; i < vertex_count; ++i) m.positions.push_back(src.vec());
  const int face_count = in.ConsumeIntegralInRange(0, 160);
  for (int f = 0; f < face_count; ++f) {
    geometry::Face face;
    // Indices up to the vertex count: illegal faces now and then, and
    // degenerate ones often.
    for (uint32_t& v : face.v) v = in.ConsumeIntegralInRange<uint32_t>(0, vertex_count);
    face.smoothing_groups = in.ConsumeBool() ? in.ConsumeIntegral<uint32_t>()
                                             : in.ConsumeIntegralInRange<uint32_t>(0, 7);
    face.material_index = in.ConsumeIntegralInRange<uint32_t>(0, 3);
    m.faces.push_back(face);
    m.face_normals.push_back(src.vec());
  }
  for (geometry::MapChannel& channel : m.channels) channel = some_channel(src, m.faces.size());
  m.alpha = some_channel(src, m.faces.size());
  for (bool& on : m.export_tex_coord) on = in.ConsumeBool();
  for (float& v : m.normal_matrix) v = in.ConsumeBool() ? src.value() : v;
  if (in.ConsumeBool()) {
    m.skin.resize(m.positions.size());
    for (geometry::SkinRecord& s : m.skin)
      for (std::byte& b : s) b = std::byte(in.ConsumeIntegral<uint8_t>());
  }

  const geometry::GeometryResult r = geometry::export_geometry(m);
  if (!r.ok()) return 0;
  uint32_t material_count = 0;
  for (const model3da::SurfaceData& s : r.surfaces) {
    if (s.positions.size() > geometry::kMaxSurfaceVertices) __builtin_trap();
    for (size_t v = 0; v < s.positions.size(); ++v) {
      if (!finite(s.positions[v]) || !finite(s.normals[v]) || !finite(s.tangents[v])) {
        __builtin_trap();
      }
      for (const auto& uv : s.uv)
        if (!std::isfinite(uv[v][0]) || !std::isfinite(uv[v][1])) __builtin_trap();
    }
    if (s.material_index != geometry::kNoMaterial)
      material_count = std::max(material_count, s.material_index + 1);
  }
  model3da::NodeData node;
  node.node_type = m.skin.empty() ? model3da::MESH_3DA : model3da::MESH_SKINNED_3DA;
  node.name = m.node_name;
  node.box_min = r.box_min;
  node.box_max = r.box_max;
  node.surfaces = r.surfaces;
  model3da::set_static_tracks(node, {0, 0, 0}, {0, 0, 0, 1}, {1, 1, 1});
  model3da::ByteBuffer chain;
  if (!model3da::append_node(chain, node).empty()) __builtin_trap();
  const std::vector<model3da::MaterialRecord> materials(material_count);
  model3da::ModelWriteInput input;
  input.node_count = 1;
  input.chain = chain.bytes();
  input.materials = materials;
  model3da::Bytes bytes;
  if (!model3da::make_model_file(input, bytes, {}).empty()) __builtin_trap();
  if (!model3da::load_model(std::move(bytes)).ok()) __builtin_trap();
  return 0;
}
