// Loading and checking a 200 MB model against a plain copy of its bytes, and
// building the collision section of static meshes of 200k and 400k triangles.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "model3da/collision.h"
#include "model3da/writer.h"

namespace {

using namespace model3da;

// A grid surface of `quads` x `quads` quads (2 triangles each) whose corner
// lies at (x0, 0, z0), with a little height so boxes are not flat.
SurfaceData grid_surface(int quads, float x0, float z0) {
  SurfaceData s;
  s.material_index = kNoMaterial;
  const int side = quads + 1;
  for (int j = 0; j < side; ++j) {
    for (int i = 0; i < side; ++i) {
      const float x = x0 + float(i);
      const float z = z0 + float(j);
      s.positions.push_back({x, 0.3f * std::sin(x * 0.7f) * std::cos(z * 0.3f), z});
      s.normals.push_back({0, 1, 0});
      s.uv[0].push_back({float(i) / float(quads), float(j) / float(quads)});
    }
  }
  for (int j = 0; j < quads; ++j) {
    for (int i = 0; i < quads; ++i) {
      const auto v = uint16_t(j * side + i);
      const auto right = uint16_t(v + 1), up = uint16_t(v + side), diag = uint16_t(v + side + 1);
      s.list_indices.insert(s.list_indices.end(), {v, up, right, right, up, diag});
    }
  }
  return s;
}

Bytes build_model(std::vector<NodeData>& nodes) {
  ByteBuffer chain;
  for (const NodeData& node : nodes) {
    if (!append_node(chain, node).empty()) std::abort();
  }
  ModelWriteInput input;
  input.node_count = uint32_t(nodes.size());
  input.chain = chain.bytes();
  Bytes out;
  if (!make_model_file(input, out).empty()) std::abort();
  return out;
}

// About 200 MB: 34 lower-detail mesh nodes of 57600 triangles with keyed
// tracks, and one static node that gives a collision tree to check.
const Bytes& big_model() {
  static const Bytes bytes = [] {
    std::vector<NodeData> nodes;
    for (int n = 0; n < 35; ++n) {
      NodeData node;
      node.node_type = MESH_3DA;
      node.name = n == 0 ? "Ground_0" : "Part" + std::to_string(n) + "_1";
      node.surfaces.push_back(grid_surface(n == 0 ? 60 : 240, float(n) * 300, 0));
      std::vector<TcbKey<3>> keys(1000);
      for (size_t k = 0; k < keys.size(); ++k) keys[k].frame = int32_t(k);
      node.position = std::make_unique<TCBTrack3D_c>(std::span<const TcbKey<3>>(keys));
      node.rotation = constant_rotation_track({0, 0, 0, 1});
      nodes.push_back(std::move(node));
    }
    return build_model(nodes);
  }();
  return bytes;
}

void BM_CopyBytes(benchmark::State& state) {
  const Bytes& source = big_model();
  for (auto _ : state) {
    Bytes copy(source.size());
    std::memcpy(copy.data(), source.data(), source.size());
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(source.size()));
  state.counters["file_MB"] = double(source.size()) / 1e6;
}

void BM_CopyAndLoad(benchmark::State& state) {
  const Bytes& source = big_model();
  for (auto _ : state) {
    Bytes copy(source.size());
    std::memcpy(copy.data(), source.data(), source.size());
    LoadResult result = load_model(std::move(copy));
    if (!result.ok()) state.SkipWithError(result.message.c_str());
    benchmark::DoNotOptimize(result.model.get());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(source.size()));
}

// A static mesh of `triangles` triangles (grid surfaces of 20000 each).
const Model& static_mesh(int triangles) {
  static std::map<int, std::unique_ptr<Model>> models;
  auto& slot = models[triangles];
  if (!slot) {
    std::vector<NodeData> nodes(1);
    nodes[0].node_type = MESH_3DA;
    nodes[0].name = "Terrain_0";
    for (int s = 0; s < triangles / 20000; ++s) {
      nodes[0].surfaces.push_back(grid_surface(100, float(s % 5) * 100, float(s / 5) * 100));
    }
    slot = std::move(load_model(build_model(nodes)).model);
  }
  return *slot;
}

void BM_CollisionBuild(benchmark::State& state) {
  const Model& model = static_mesh(int(state.range(0)));
  for (auto _ : state) {
    CollisionSet set = build_collision_set(model);
    Bytes section = collision_section_bytes(set, model.header.collisionOffset);
    benchmark::DoNotOptimize(section.data());
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
}

}  // namespace

BENCHMARK(BM_CopyBytes)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_CopyAndLoad)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_CollisionBuild)->Arg(200000)->Arg(400000)->Unit(benchmark::kMillisecond);
