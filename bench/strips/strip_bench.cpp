// The strip builder in the exporter's mode (lists only, cache size 24) on
// surfaces of 25k, 100k and 400k triangles: a regular grid and a closed torus,
// each in mesh order and shuffled. Each run reports its time and the average
// cache miss ratio (misses per triangle) of the resulting list for FIFO caches
// of 16, 24 and 32 entries; meshoptimizer's two vertex cache optimisers run on
// the same inputs as the peer.
#include <benchmark/benchmark.h>
#include <meshoptimizer.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "model3da/strip_builder.h"

namespace {

using Indices = std::vector<std::uint32_t>;

struct Surface {
  std::string name;
  Indices indices;
  std::size_t vertex_count = 0;
};

void add(Indices& out, std::uint32_t a, std::uint32_t b, std::uint32_t c) {
  out.insert(out.end(), {a, b, c});
}

// w x h quads, two triangles each.
Surface grid(int triangles) {
  const int side = static_cast<int>(std::lround(std::sqrt(triangles / 2.0)));
  Surface s{"grid", {}, static_cast<std::size_t>((side + 1) * (side + 1))};
  auto at = [side](int x, int y) { return static_cast<std::uint32_t>(y * (side + 1) + x); };
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      add(s.indices, at(x, y), at(x + 1, y), at(x + 1, y + 1));
      add(s.indices, at(x, y), at(x + 1, y + 1), at(x, y + 1));
    }
  return s;
}

// A closed torus of rings x 2 rings quads; every vertex has six triangles.
Surface torus(int triangles) {
  const int minor = static_cast<int>(std::lround(std::sqrt(triangles / 4.0)));
  const int major = 2 * minor;
  Surface s{"torus", {}, static_cast<std::size_t>(major * minor)};
  auto at = [&](int i, int j) {
    return static_cast<std::uint32_t>((i % major) * minor + (j % minor));
  };
  for (int i = 0; i < major; ++i)
    for (int j = 0; j < minor; ++j) {
      add(s.indices, at(i, j), at(i + 1, j), at(i + 1, j + 1));
      add(s.indices, at(i, j), at(i + 1, j + 1), at(i, j + 1));
    }
  return s;
}

Surface shuffled(Surface s) {
  std::vector<std::array<std::uint32_t, 3>> tris(s.indices.size() / 3);
  for (std::size_t i = 0; i < tris.size(); ++i)
    tris[i] = {s.indices[3 * i], s.indices[3 * i + 1], s.indices[3 * i + 2]};
  std::mt19937 rng(12345);
  std::shuffle(tris.begin(), tris.end(), rng);
  for (std::size_t i = 0; i < tris.size(); ++i)
    std::copy(tris[i].begin(), tris[i].end(),
              s.indices.begin() + static_cast<std::ptrdiff_t>(3 * i));
  s.name += "_shuffled";
  return s;
}

// Average cache miss ratio of a triangle list on a FIFO cache of `size`.
double acmr(const Indices& list, std::size_t vertex_count, std::size_t size) {
  std::vector<std::uint32_t> ring(size, UINT32_MAX);
  std::vector<std::uint8_t> cached(vertex_count, 0);
  std::size_t next = 0, misses = 0;
  for (std::uint32_t v : list) {
    if (cached[v]) continue;
    ++misses;
    if (ring[next] != UINT32_MAX) cached[ring[next]] = 0;
    ring[next] = v;
    cached[v] = 1;
    next = (next + 1) % size;
  }
  return list.empty() ? 0.0 : static_cast<double>(misses) / static_cast<double>(list.size() / 3);
}

void report(benchmark::State& state, const Indices& list, const Surface& s) {
  state.counters["triangles"] = static_cast<double>(s.indices.size() / 3);
  state.counters["acmr16"] = acmr(list, s.vertex_count, 16);
  state.counters["acmr24"] = acmr(list, s.vertex_count, 24);
  state.counters["acmr32"] = acmr(list, s.vertex_count, 32);
}

void strip_builder(benchmark::State& state, const Surface* s) {
  Indices list;
  for (auto _ : state) {
    auto groups = model3da::generate_strips32(s->indices, model3da::kExporterStripSettings,
                                              [](std::string_view) {});
    list = std::move(groups.front().indices);
    benchmark::DoNotOptimize(list.data());
  }
  report(state, list, *s);
}

void meshopt_cache(benchmark::State& state, const Surface* s) {
  Indices list(s->indices.size());
  for (auto _ : state) {
    meshopt_optimizeVertexCache(list.data(), s->indices.data(), s->indices.size(), s->vertex_count);
    benchmark::DoNotOptimize(list.data());
  }
  report(state, list, *s);
}

void meshopt_fifo24(benchmark::State& state, const Surface* s) {
  Indices list(s->indices.size());
  for (auto _ : state) {
    meshopt_optimizeVertexCacheFifo(list.data(), s->indices.data(), s->indices.size(),
                                    s->vertex_count, 24);
    benchmark::DoNotOptimize(list.data());
  }
  report(state, list, *s);
}

void unchanged(benchmark::State& state, const Surface* s) {
  for (auto _ : state) benchmark::DoNotOptimize(s->indices.data());
  report(state, s->indices, *s);
}

std::vector<Surface>& surfaces() {
  static std::vector<Surface> all = [] {
    std::vector<Surface> out;
    for (int triangles : {25000, 100000, 400000}) {
      for (Surface s : {grid(triangles), torus(triangles)}) {
        Surface mixed = shuffled(s);
        s.name += "/" + std::to_string(triangles / 1000) + "k";
        mixed.name += "/" + std::to_string(triangles / 1000) + "k";
        out.push_back(std::move(s));
        out.push_back(std::move(mixed));
      }
    }
    return out;
  }();
  return all;
}

}  // namespace

int main(int argc, char** argv) {
  for (const Surface& s : surfaces()) {
    benchmark::RegisterBenchmark(("input/" + s.name).c_str(), unchanged, &s)->Iterations(1);
    benchmark::RegisterBenchmark(("strip_builder/" + s.name).c_str(), strip_builder, &s)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(1.0);
    benchmark::RegisterBenchmark(("meshopt_optimizeVertexCache/" + s.name).c_str(), meshopt_cache,
                                 &s)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.5);
    benchmark::RegisterBenchmark(("meshopt_optimizeVertexCacheFifo24/" + s.name).c_str(),
                                 meshopt_fifo24, &s)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.5);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
