// Smoothing by the closure over smoothing groups.
#include "geometry/smoothing.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

namespace geometry {
namespace {

// Union-find over the 32 smoothing groups of one vertex.
struct GroupSets {
  std::array<uint8_t, 32> parent;

  void reset() {
    for (uint8_t i = 0; i < 32; ++i) parent[i] = i;
  }
  int find(int g) {
    while (parent[g] != g) {
      parent[g] = parent[parent[g]];
      g = parent[g];
    }
    return g;
  }
  void join(uint32_t mask) {
    const int first = std::countr_zero(mask);
    for (uint32_t rest = mask & (mask - 1); rest != 0; rest &= rest - 1) {
      const int a = find(first), b = find(std::countr_zero(rest));
      if (a != b) parent[b] = uint8_t(a);
    }
  }
};

int corner_at(const Triangle& face, uint32_t vertex) {
  return face[0] == vertex ? 0 : face[1] == vertex ? 1 : 2;
}

inline Vec3 unit_or(const double sum[3], double min_length_squared, const Vec3& fallback) {
  const double length_squared = sum[0] * sum[0] + sum[1] * sum[1] + sum[2] * sum[2];
  if (!(length_squared >= min_length_squared) || !std::isfinite(length_squared)) return fallback;
  const double length = std::sqrt(length_squared);
  return {float(sum[0] / length), float(sum[1] / length), float(sum[2] / length)};
}

}  // namespace

Vec3 unit_or_fallback(const double sum[3], double min_length_squared, const Vec3& fallback) {
  return unit_or(sum, min_length_squared, fallback);
}

CornerVectors smooth_corners(std::span<const Triangle> faces,
                             std::span<const uint32_t> smoothing_groups,
                             std::span<const Vec3> face_normals,
                             std::span<const Vec3> face_tangents, std::size_t vertex_count) {
  CornerVectors out;
  out.normals.resize(faces.size() * 3);
  out.tangents.resize(faces.size() * 3);
  smooth_corners(faces, smoothing_groups, face_normals, face_tangents, vertex_count, out.normals,
                 out.tangents);
  return out;
}

bool smooth_as_one_set(std::span<const uint32_t> smoothing_groups) {
  return !smoothing_groups.empty() && smoothing_groups[0] != 0 &&
         std::all_of(smoothing_groups.begin(), smoothing_groups.end(),
                     [&](uint32_t g) { return g == smoothing_groups[0]; });
}

void smooth_vertices(std::span<const Triangle> faces, std::span<const Vec3> face_normals,
                     std::span<const Vec3> face_tangents, std::size_t vertex_count,
                     std::span<Vec3> vertex_normals, std::span<Vec3> vertex_tangents) {
  // Going through the faces in order adds to each vertex's sums in the order
  // of the faces around it, as smooth_corners does. Per vertex the normal's
  // sums, then the tangent's.
  std::vector<double> sums(vertex_count * 6, 0.0);
  for (size_t f = 0; f < faces.size(); ++f) {
    const Vec3& n = face_normals[f];
    const Vec3& t = face_tangents[f];
    const double n0 = n[0], n1 = n[1], n2 = n[2], t0 = t[0], t1 = t[1], t2 = t[2];
    for (uint32_t v : faces[f]) {
      double* sum = &sums[6 * size_t(v)];
      sum[0] += n0;
      sum[1] += n1;
      sum[2] += n2;
      sum[3] += t0;
      sum[4] += t1;
      sum[5] += t2;
    }
  }
  for (size_t v = 0; v < vertex_count; ++v) {
    vertex_normals[v] = unit_or(&sums[6 * v], kMinNormalLengthSquared, kFallbackNormal);
    vertex_tangents[v] = unit_or(&sums[6 * v + 3], kMinTangentLengthSquared, kFallbackTangent);
  }
}

void smooth_corners(std::span<const Triangle> faces, std::span<const uint32_t> smoothing_groups,
                    std::span<const Vec3> face_normals, std::span<const Vec3> face_tangents,
                    std::size_t vertex_count, std::span<Vec3> corner_normals,
                    std::span<Vec3> corner_tangents) {
  if (smooth_as_one_set(smoothing_groups)) {
    std::vector<Vec3> normals(vertex_count), tangents(vertex_count);
    smooth_vertices(faces, face_normals, face_tangents, vertex_count, normals, tangents);
    for (size_t f = 0; f < faces.size(); ++f) {
      for (int k = 0; k < 3; ++k) {
        corner_normals[3 * f + size_t(k)] = normals[faces[f][k]];
        corner_tangents[3 * f + size_t(k)] = tangents[faces[f][k]];
      }
    }
    return;
  }
  // The faces around each vertex, in face order.
  std::vector<uint32_t> first(vertex_count + 1, 0);
  for (const Triangle& t : faces)
    for (uint32_t v : t) ++first[v + 1];
  for (size_t v = 0; v < vertex_count; ++v) first[v + 1] += first[v];
  std::vector<uint32_t> around(first[vertex_count]);
  {
    std::vector<uint32_t> fill(first.begin(), first.end() - 1);
    for (uint32_t f = 0; f < faces.size(); ++f)
      for (uint32_t v : faces[f]) around[fill[v]++] = f;
  }

  GroupSets sets;
  for (size_t v = 0; v < vertex_count; ++v) {
    const std::span<const uint32_t> ring(around.data() + first[v], first[v + 1] - first[v]);
    if (ring.empty()) continue;
    // With one group per face (the usual case) every group is a set of its
    // own and needs no union.
    bool joined = false;
    for (uint32_t f : ring) {
      const uint32_t mask = smoothing_groups[f];
      if ((mask & (mask - 1)) != 0) {
        joined = true;
        break;
      }
    }
    if (joined) {
      sets.reset();
      for (uint32_t f : ring)
        if (smoothing_groups[f] != 0) sets.join(smoothing_groups[f]);
    }
    auto root_of = [&](uint32_t mask) {
      const int group = std::countr_zero(mask);
      return joined ? sets.find(group) : group;
    };
    // Sums per connected set of groups, indexed by the set's root; a root's
    // sums are cleared when it is first met. Each set's unit vectors are
    // worked out once, for all the corners that share them.
    double normal_sum[32][3];
    double tangent_sum[32][3];
    Vec3 unit_normal[32];
    Vec3 unit_tangent[32];
    uint32_t started = 0;
    for (uint32_t f : ring) {
      if (smoothing_groups[f] == 0) continue;
      const int root = root_of(smoothing_groups[f]);
      if ((started & (1u << root)) == 0) {
        started |= 1u << root;
        for (int k = 0; k < 3; ++k) normal_sum[root][k] = tangent_sum[root][k] = 0.0;
      }
      for (int k = 0; k < 3; ++k) {
        normal_sum[root][k] += face_normals[f][k];
        tangent_sum[root][k] += face_tangents[f][k];
      }
    }
    for (uint32_t set = started; set != 0; set &= set - 1) {
      const int root = std::countr_zero(set);
      unit_normal[root] = unit_or(normal_sum[root], kMinNormalLengthSquared, kFallbackNormal);
      unit_tangent[root] = unit_or(tangent_sum[root], kMinTangentLengthSquared, kFallbackTangent);
    }
    for (uint32_t f : ring) {
      const size_t corner = size_t(f) * 3 + size_t(corner_at(faces[f], uint32_t(v)));
      if (smoothing_groups[f] == 0) {
        double n[3], t[3];
        for (int k = 0; k < 3; ++k) {
          n[k] = face_normals[f][k];
          t[k] = face_tangents[f][k];
        }
        corner_normals[corner] = unit_or(n, kMinNormalLengthSquared, kFallbackNormal);
        corner_tangents[corner] = unit_or(t, kMinTangentLengthSquared, kFallbackTangent);
      } else {
        const int root = root_of(smoothing_groups[f]);
        corner_normals[corner] = unit_normal[root];
        corner_tangents[corner] = unit_tangent[root];
      }
    }
  }
}

}  // namespace geometry
