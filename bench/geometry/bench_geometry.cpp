// The geometry export of a UV sphere of 250 segments and 200 rings (99 500
// triangles, one material, channel 1 with a seam, four latitude bands in
// their own smoothing groups), whole (and a 49 914-triangle sphere skinned to
// two bones) and step by step: corners (face
// normals, tangents and smoothing), the weld sort, the cache order (strip
// builder and renumbering) and the surfaces' bytes. In the same run, the
// file made from the result: its image with the collision section (which
// loads it once) and a load of the finished file, the peer the geometry is
// measured against. A fan of faces around one vertex shows the smoothing
// closure growing linearly, next to the plain closure.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "geometry/face_vectors.h"
#include "geometry/geometry_export.h"
#include "geometry/skin.h"
#include "geometry/smoothing.h"
#include "geometry/surface_order.h"
#include "model3da/model.h"
#include "model3da/writer.h"

namespace {

using geometry::Vec3;

Vec3 cross(const Vec3& a, const Vec3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

Vec3 sub(const Vec3& a, const Vec3& b) {
  return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

geometry::MeshInput sphere(int segments, int rings) {
  geometry::MeshInput m;
  m.node_name = "Sphere_0";
  // Vertex 0 the north pole, then rings 1..rings-1 of `segments`, then the
  // south pole; map vertices (segments + 1) x (rings + 1), the seam doubled.
  const double pi = std::numbers::pi;
  m.positions.push_back({0, 1, 0});
  for (int r = 1; r < rings; ++r) {
    const double theta = pi * r / rings;
    for (int s = 0; s < segments; ++s) {
      const double phi = 2 * pi * s / segments;
      m.positions.push_back({float(std::sin(theta) * std::cos(phi)), float(std::cos(theta)),
                             float(std::sin(theta) * std::sin(phi))});
    }
  }
  m.positions.push_back({0, -1, 0});
  const uint32_t south = uint32_t(m.positions.size() - 1);
  auto vertex = [&](int r, int s) {
    if (r == 0) return 0u;
    if (r == rings) return south;
    return uint32_t(1 + (r - 1) * segments + s % segments);
  };
  for (int r = 0; r <= rings; ++r)
    for (int s = 0; s <= segments; ++s)
      m.channels[1].vertices.push_back({float(s) / segments, 1.0f - float(r) / rings, 0});
  auto map_vertex = [&](int r, int s) { return uint32_t(r * (segments + 1) + s); };
  auto add = [&](int r0, int s0, int r1, int s1, int r2, int s2) {
    const geometry::Triangle v{vertex(r0, s0), vertex(r1, s1), vertex(r2, s2)};
    const uint32_t band = 1u << (4 * std::min(r0, r1) / rings);
    m.faces.push_back({v, band, 0});
    m.channels[1].faces.push_back({map_vertex(r0, s0), map_vertex(r1, s1), map_vertex(r2, s2)});
    // The host's normal, in host axes: the file-axes normal converted back.
    const Vec3 n = geometry::unit_or_zero(cross(sub(m.positions[v[1]], m.positions[v[0]]),
                                                sub(m.positions[v[2]], m.positions[v[0]])));
    m.face_normals.push_back({n[0], -n[2], n[1]});
  };
  for (int r = 0; r < rings; ++r) {
    for (int s = 0; s < segments; ++s) {
      if (r != 0) add(r, s, r, s + 1, r + 1, s);
      if (r != rings - 1) add(r, s + 1, r + 1, s + 1, r + 1, s);
    }
  }
  return m;
}

// A sphere skinned to two bones, the upper one above the equator and the
// lower one below, blended over the middle fifth.
geometry::MeshInput skinned_sphere(int segments, int rings) {
  geometry::MeshInput m = sphere(segments, rings);
  m.node_name = "Arm_0";
  for (const Vec3& p : m.positions) {
    const float upper = std::clamp(0.5f + p[1] * 2.5f, 0.0f, 1.0f);
    const geometry::BoneWeight weights[] = {{1, upper}, {2, 1.0f - upper}};
    m.skin.push_back(*geometry::skin_record(weights));
  }
  return m;
}

const geometry::MeshInput& the_sphere() {
  static const geometry::MeshInput m = sphere(250, 200);
  return m;
}

void report(benchmark::State& state) {
  state.counters["triangles"] = double(the_sphere().faces.size());
}

void whole_export(benchmark::State& state) {
  size_t vertices = 0;
  for (auto _ : state) {
    geometry::GeometryResult r = geometry::export_geometry(the_sphere());
    model3da::Bytes data;
    uint32_t offset = 0;
    geometry::append_surface_bytes(data, 220, r.surfaces, offset);
    vertices = r.surfaces.at(0).positions.size();
    benchmark::DoNotOptimize(data.data());
  }
  report(state);
  state.counters["vertices"] = double(vertices);
}

void skinned_export(benchmark::State& state) {
  static const geometry::MeshInput m = skinned_sphere(177, 142);
  size_t vertices = 0;
  for (auto _ : state) {
    geometry::GeometryResult r = geometry::export_geometry(m);
    model3da::Bytes data;
    uint32_t offset = 0;
    geometry::append_surface_bytes(data, 220, r.surfaces, offset);
    vertices = r.surfaces.at(0).positions.size();
    benchmark::DoNotOptimize(data.data());
  }
  state.counters["triangles"] = double(m.faces.size());
  state.counters["vertices"] = double(vertices);
}

void corners(benchmark::State& state) {
  for (auto _ : state) {
    geometry::CornerGeometry g;
    geometry::build_corner_geometry(the_sphere(), g);
    benchmark::DoNotOptimize(g.surfaces.data());
  }
  report(state);
}

// Smoothing alone, on the face vectors the export computes.
void smoothing(benchmark::State& state) {
  const geometry::MeshInput& m = the_sphere();
  std::vector<geometry::Triangle> faces;
  std::vector<uint32_t> groups;
  for (const geometry::Face& f : m.faces) {
    faces.push_back(f.v);
    groups.push_back(f.smoothing_groups);
  }
  const geometry::FaceNormals normals = geometry::face_normals(m.face_normals, m.normal_matrix);
  const std::vector<Vec3> tangents(faces.size(), Vec3{1, 0, 0});
  for (auto _ : state) {
    geometry::CornerVectors c =
        geometry::smooth_corners(faces, groups, normals.normals, tangents, m.positions.size());
    benchmark::DoNotOptimize(c.normals.data());
  }
  report(state);
}

const geometry::CornerGeometry& sphere_corners() {
  static const geometry::CornerGeometry g = [] {
    geometry::CornerGeometry out;
    geometry::build_corner_geometry(the_sphere(), out);
    return out;
  }();
  return g;
}

void weld(benchmark::State& state) {
  const geometry::CornerSurface& s = sphere_corners().surfaces.at(0);
  for (auto _ : state) {
    geometry::WeldMap w = geometry::weld_corners(s.corners);
    benchmark::DoNotOptimize(w.vertex_of_corner.data());
  }
  report(state);
}

void cache_order(benchmark::State& state) {
  const geometry::CornerSurface& s = sphere_corners().surfaces.at(0);
  const geometry::WeldMap w = geometry::weld_corners(s.corners);
  for (auto _ : state) {
    model3da::SurfaceData d = geometry::ordered_surface(s, w, {});
    benchmark::DoNotOptimize(d.list_indices.data());
  }
  report(state);
}

const geometry::GeometryResult& sphere_result() {
  static const geometry::GeometryResult r = geometry::export_geometry(the_sphere());
  return r;
}

void surface_bytes(benchmark::State& state) {
  for (auto _ : state) {
    model3da::Bytes data;
    uint32_t offset = 0;
    geometry::append_surface_bytes(data, 220, sphere_result().surfaces, offset);
    benchmark::DoNotOptimize(data.data());
  }
  report(state);
}

// The sphere as the one static mesh node of a file.
model3da::Bytes sphere_chain() {
  model3da::NodeData node;
  node.node_type = model3da::MESH_3DA;
  node.name = "Sphere_0";
  node.surfaces = sphere_result().surfaces;
  node.surfaces[0].material_index = model3da::kNoMaterial;
  model3da::set_static_tracks(node, {0, 0, 0}, {0, 0, 0, 1}, {1, 1, 1});
  model3da::ByteBuffer chain;
  model3da::append_node(chain, node);
  return {chain.bytes().begin(), chain.bytes().end()};
}

void file_with_collision(benchmark::State& state) {
  const model3da::Bytes chain = sphere_chain();
  model3da::ModelWriteInput input;
  input.node_count = 1;
  input.chain = chain;
  for (auto _ : state) {
    model3da::Bytes file;
    model3da::make_model_file(input, file, {});
    benchmark::DoNotOptimize(file.data());
  }
  report(state);
}

void load_file(benchmark::State& state) {
  const model3da::Bytes chain = sphere_chain();
  model3da::ModelWriteInput input;
  input.node_count = 1;
  input.chain = chain;
  model3da::Bytes file;
  model3da::make_model_file(input, file, {});
  for (auto _ : state) {
    model3da::LoadResult r = model3da::load_model(file);
    if (!r.ok()) state.SkipWithError(r.message.c_str());
    benchmark::DoNotOptimize(r.model.get());
  }
  state.counters["bytes"] = double(file.size());
}

// N faces around vertex 0, groups chained (face i in groups i mod 31 and
// i + 1 mod 31), so the closure spans every face.
struct Fan {
  std::vector<geometry::Triangle> faces;
  std::vector<uint32_t> groups;
  std::vector<Vec3> normals;
  std::vector<Vec3> tangents;
  size_t vertex_count = 0;
};

Fan fan(int n) {
  Fan f;
  for (int i = 0; i < n; ++i) {
    f.faces.push_back({0, uint32_t(1 + i), uint32_t(1 + (i + 1) % n)});
    f.groups.push_back(1u << (i % 31) | 1u << ((i + 1) % 31));
    const double a = 2 * std::numbers::pi * i / n;
    f.normals.push_back({float(std::cos(a)), 1, float(std::sin(a))});
    f.tangents.push_back({1, 0, 0});
  }
  f.vertex_count = size_t(n) + 1;
  return f;
}

void fan_closure(benchmark::State& state) {
  const Fan f = fan(int(state.range(0)));
  for (auto _ : state) {
    geometry::CornerVectors c =
        geometry::smooth_corners(f.faces, f.groups, f.normals, f.tangents, f.vertex_count);
    benchmark::DoNotOptimize(c.normals.data());
  }
  state.SetComplexityN(state.range(0));
}

// The closure as defined, for the corners at vertex 0 only: rescan the faces
// around the vertex until the mask stops growing, then sum.
void fan_plain_closure(benchmark::State& state) {
  const Fan f = fan(int(state.range(0)));
  for (auto _ : state) {
    double total = 0;
    for (size_t face = 0; face < f.faces.size(); ++face) {
      uint32_t mask = f.groups[face];
      for (bool changed = true; changed;) {
        changed = false;
        for (size_t g = 0; g < f.faces.size(); ++g) {
          if (g != face && (f.groups[g] & mask) != 0 && (f.groups[g] | mask) != mask) {
            mask |= f.groups[g];
            changed = true;
          }
        }
      }
      for (size_t g = 0; g < f.faces.size(); ++g)
        if ((f.groups[g] & mask) != 0) total += f.normals[g][0];
    }
    benchmark::DoNotOptimize(total);
  }
  state.SetComplexityN(state.range(0));
}

}  // namespace

int main(int argc, char** argv) {
  auto ms = [](benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->MinTime(2.0);
  };
  ms(benchmark::RegisterBenchmark("geometry_export/sphere_100k", whole_export));
  ms(benchmark::RegisterBenchmark("geometry_export/skinned_sphere_50k", skinned_export));
  ms(benchmark::RegisterBenchmark("step/corners_and_smoothing", corners));
  ms(benchmark::RegisterBenchmark("step/smoothing_only", smoothing));
  ms(benchmark::RegisterBenchmark("step/weld_sort", weld));
  ms(benchmark::RegisterBenchmark("step/cache_order", cache_order));
  ms(benchmark::RegisterBenchmark("step/surface_bytes", surface_bytes));
  ms(benchmark::RegisterBenchmark("file/image_collision_and_check", file_with_collision));
  ms(benchmark::RegisterBenchmark("file/load", load_file));
  benchmark::RegisterBenchmark("fan/closure", fan_closure)
      ->RangeMultiplier(4)
      ->Range(256, 65536)
      ->Complexity();
  benchmark::RegisterBenchmark("fan/plain_closure", fan_plain_closure)
      ->RangeMultiplier(4)
      ->Range(256, 4096)
      ->Complexity();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
