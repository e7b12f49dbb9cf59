#include "test_support.h"

#include <gtest/gtest.h>

namespace model3da::testing {

NodeData helper_node(const std::string& name, Vec3 position, int16_t parent) {
  NodeData node;
  node.node_type = HELPER_3DA;
  node.name = name;
  node.parent_index = parent;
  set_static_tracks(node, position, {0, 0, 0, 1}, {1, 1, 1});
  return node;
}

NodeData mesh_node(const std::string& name, int triangles, Vec3 position, uint32_t material) {
  NodeData node;
  node.node_type = MESH_3DA;
  node.name = name;
  SurfaceData surface;
  surface.material_index = material;
  for (int t = 0; t < triangles; ++t) {
    const float x = float(t);
    surface.positions.push_back({x, 0, 0});
    surface.positions.push_back({x + 0.5f, 1, 0});
    surface.positions.push_back({x, 0, 1});
    for (int k = 0; k < 3; ++k) {
      surface.uv[0].push_back({0.25f * float(k), 0.5f});
      surface.list_indices.push_back(uint16_t(3 * t + k));
    }
  }
  node.surfaces.push_back(std::move(surface));
  set_static_tracks(node, position, {0, 0, 0, 1}, {1, 1, 1});
  return node;
}

std::unique_ptr<Track_c> moving_track(Vec3 from, Vec3 to) {
  const LinearKey<3> keys[] = {{0, from}, {10, to}};
  return std::make_unique<LINEARTrack3D_c>(std::span<const LinearKey<3>>(keys));
}

Bytes build_file(std::vector<NodeData> nodes, std::vector<MaterialRecord> materials,
                 const CrashLogSink& log) {
  ByteBuffer chain;
  for (const NodeData& node : nodes) {
    const std::string error = append_node(chain, node);
    EXPECT_EQ(error, "");
  }
  ModelWriteInput input;
  input.node_count = uint32_t(nodes.size());
  input.chain = chain.bytes();
  input.materials = materials;
  Bytes out;
  const std::string error = make_model_file(input, out, log);
  EXPECT_EQ(error, "");
  return out;
}

std::unique_ptr<Model> load_ok(const Bytes& bytes) {
  LoadResult result = load_model(bytes);
  EXPECT_TRUE(result.ok()) << result.message;
  return std::move(result.model);
}

}  // namespace model3da::testing
