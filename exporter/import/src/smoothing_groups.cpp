// Smoothing groups: smooth regions by union-find, then one group bit per
// region by greedy colouring of the regions that meet.
#include "smoothing_groups.h"

#include <algorithm>
#include <numeric>

namespace scene_import {
namespace {

constexpr int kGroupBits = 32;
constexpr uint32_t kNone = UINT32_MAX;

using RegionPairs = std::vector<std::pair<uint32_t, uint32_t>>;

struct UnionFind {
  explicit UnionFind(size_t n) : parent(n) { std::iota(parent.begin(), parent.end(), 0u); }
  uint32_t find(uint32_t x) {
    while (parent[x] != x) {
      parent[x] = parent[parent[x]];
      x = parent[x];
    }
    return x;
  }
  void unite(uint32_t a, uint32_t b) {
    a = find(a);
    b = find(b);
    if (a != b) parent[std::max(a, b)] = std::min(a, b);
  }
  std::vector<uint32_t> parent;
};

// The face corners at each vertex: offsets into one list (counting sort).
struct CornersByVertex {
  std::vector<uint32_t> start;    // vertex_count + 1 entries
  std::vector<uint32_t> corners;  // face * 3 + corner
};

CornersByVertex corners_by_vertex(std::span<const std::array<uint32_t, 3>> faces,
                                  size_t vertex_count) {
  CornersByVertex out;
  out.start.assign(vertex_count + 1, 0);
  for (const auto& face : faces)
    for (uint32_t v : face) ++out.start[v + 1];
  std::partial_sum(out.start.begin(), out.start.end(), out.start.begin());
  out.corners.resize(faces.size() * 3);
  std::vector<uint32_t> fill(out.start.begin(), out.start.end() - 1);
  for (size_t f = 0; f < faces.size(); ++f)
    for (uint32_t c = 0; c < 3; ++c) out.corners[fill[faces[f][c]]++] = uint32_t(f * 3 + c);
  return out;
}

// Notes that the regions in `here` (the regions at one vertex, in any order
// and repeated) meet one another.
void note_meeting(std::vector<uint32_t>& here, RegionPairs& pairs) {
  if (here.size() < 2) return;
  std::sort(here.begin(), here.end());
  here.erase(std::unique(here.begin(), here.end()), here.end());
  for (size_t i = 0; i < here.size(); ++i)
    for (size_t j = 0; j < here.size(); ++j)
      if (i != j) pairs.emplace_back(here[i], here[j]);
}

// One group bit per region, regions that meet with different bits where 32
// allow it: greedy colouring, most connected regions first. `shared` counts
// the regions that had to share a bit with a neighbour.
std::vector<int> colour_regions(uint32_t region_count, RegionPairs& pairs, size_t& shared) {
  std::sort(pairs.begin(), pairs.end());
  pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());
  std::vector<uint32_t> first_neighbour(region_count + 1, 0);
  for (const auto& [a, b] : pairs) ++first_neighbour[a + 1];
  std::partial_sum(first_neighbour.begin(), first_neighbour.end(), first_neighbour.begin());
  auto neighbours_of = [&](uint32_t r) {
    return std::span<const std::pair<uint32_t, uint32_t>>(
        pairs.data() + first_neighbour[r], first_neighbour[r + 1] - first_neighbour[r]);
  };

  std::vector<uint32_t> order(region_count);
  std::iota(order.begin(), order.end(), 0u);
  if (!pairs.empty()) {
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
      return neighbours_of(a).size() > neighbours_of(b).size();
    });
  }
  std::vector<int> bit(region_count, -1);
  for (uint32_t r : order) {
    uint32_t used = 0;
    std::array<int, kGroupBits> uses{};
    for (const auto& [self, n] : neighbours_of(r)) {
      if (bit[n] < 0) continue;
      used |= 1u << bit[n];
      ++uses[size_t(bit[n])];
    }
    if (used != UINT32_MAX) {
      int b = 0;
      while (used & (1u << b)) ++b;
      bit[r] = b;
    } else {
      // Every bit is taken around this region: share the least used one.
      bit[r] = int(std::min_element(uses.begin(), uses.end()) - uses.begin());
      ++shared;
    }
  }
  return bit;
}

// The per-corner form of source faces: the welded vertices and each
// corner's normal.
SmoothingResult per_corner(std::span<const std::array<uint32_t, 3>> source_faces,
                           std::span<const Point3> source_normals,
                           std::span<const uint32_t> welded_into, size_t vertex_count,
                           float cos_tolerance) {
  std::vector<std::array<uint32_t, 3>> faces(source_faces.size());
  std::vector<Point3> normals(source_faces.size() * 3);
  for (size_t f = 0; f < source_faces.size(); ++f) {
    for (size_t c = 0; c < 3; ++c) {
      const uint32_t s = source_faces[f][c];
      if (s >= source_normals.size()) return {std::vector<uint32_t>(source_faces.size(), 0), 0};
      faces[f][c] = welded_into[s];
      normals[f * 3 + c] = source_normals[s];
    }
  }
  return smoothing_groups(faces, normals, vertex_count, cos_tolerance);
}

}  // namespace

SmoothingResult smoothing_groups(std::span<const std::array<uint32_t, 3>> faces,
                                 std::span<const Point3> normals, size_t vertex_count,
                                 float cos_tolerance) {
  SmoothingResult out;
  out.groups.assign(faces.size(), 0);
  if (faces.empty() || normals.size() != faces.size() * 3) return out;
  const CornersByVertex at = corners_by_vertex(faces, vertex_count);

  // Smooth regions: at each vertex, corners with the same normal join their
  // faces. Corners are compared with the first corner of each cluster.
  std::vector<Point3> unit(normals.size());
  for (size_t i = 0; i < normals.size(); ++i) unit[i] = Normalize(normals[i]);
  UnionFind regions(faces.size());
  std::vector<uint32_t> cluster_heads;
  for (size_t v = 0; v < vertex_count; ++v) {
    cluster_heads.clear();
    for (uint32_t k = at.start[v]; k < at.start[v + 1]; ++k) {
      const uint32_t corner = at.corners[k];
      const Point3& n = unit[corner];
      bool joined = false;
      if (n.LengthSquared() > 0.0f) {
        for (uint32_t head : cluster_heads) {
          if (DotProd(unit[head], n) >= cos_tolerance) {
            regions.unite(head / 3, corner / 3);
            joined = true;
            break;
          }
        }
      }
      if (!joined) cluster_heads.push_back(corner);
    }
  }

  // Regions of more than one face, numbered; single faces keep group 0.
  std::vector<uint32_t> size(faces.size(), 0);
  for (size_t f = 0; f < faces.size(); ++f) ++size[regions.find(uint32_t(f))];
  std::vector<uint32_t> region_of(faces.size(), kNone);
  std::vector<uint32_t> number(faces.size(), kNone);
  uint32_t region_count = 0;
  for (size_t f = 0; f < faces.size(); ++f) {
    const uint32_t root = regions.find(uint32_t(f));
    if (size[root] < 2) continue;
    if (number[root] == kNone) number[root] = region_count++;
    region_of[f] = number[root];
  }
  if (region_count == 0) return out;

  // Regions that meet at a vertex must not share a bit.
  RegionPairs pairs;
  std::vector<uint32_t> here;
  for (size_t v = 0; v < vertex_count; ++v) {
    here.clear();
    for (uint32_t k = at.start[v]; k < at.start[v + 1]; ++k) {
      const uint32_t r = region_of[at.corners[k] / 3];
      if (r != kNone) here.push_back(r);
    }
    note_meeting(here, pairs);
  }
  const std::vector<int> bit = colour_regions(region_count, pairs, out.shared);
  for (size_t f = 0; f < faces.size(); ++f) {
    if (region_of[f] != kNone) out.groups[f] = 1u << bit[region_of[f]];
  }
  return out;
}

SmoothingResult smoothing_groups_of_source(std::span<const std::array<uint32_t, 3>> source_faces,
                                           std::span<const Point3> source_normals,
                                           std::span<const uint32_t> welded_into,
                                           size_t vertex_count, float cos_tolerance) {
  SmoothingResult out;
  out.groups.assign(source_faces.size(), 0);
  const size_t sources = source_normals.size();
  if (source_faces.empty() || welded_into.size() != sources) return out;
  for (uint32_t v : welded_into)
    if (v >= vertex_count) return out;

  // Clusters, as the corners form them at a vertex: taken in face order,
  // each corner joins the first cluster whose first corner's normal is
  // within the tolerance, or starts one. A corner whose normal is within the
  // tolerance of itself joins the cluster of any earlier corner at the same
  // source vertex, so clusters can be made of source vertices, in the order
  // of their first corners; a source vertex with any other normal (zero, not
  // a number) leaves the work to the per-corner form.
  struct Source {
    Point3 unit;               // the unit normal, once the vertex is met
    uint32_t cluster = kNone;  // the first source vertex of its cluster
    uint32_t next = kNone;     // a cluster's first: the next cluster at its vertex
    uint32_t faces = 0;        // a region's root: its faces
    uint32_t number = kNone;   // a region's root: its number, when it has a group
    uint32_t group = 0;        // a region's root: its group bit
  };
  std::vector<Source> at(sources);
  std::vector<uint32_t> first_cluster(vertex_count, kNone);
  // Smooth regions: a face joins the clusters of its corners (union-find
  // over the clusters' first source vertices).
  UnionFind regions(sources);
  for (const auto& face : source_faces) {
    std::array<uint32_t, 3> heads;
    for (size_t c = 0; c < 3; ++c) {
      const uint32_t s = face[c];
      if (s >= sources) {
        out.groups.assign(source_faces.size(), 0);
        return out;
      }
      uint32_t head = at[s].cluster;
      if (head == kNone) {
        const Point3 n = Normalize(source_normals[s]);
        if (!(n.LengthSquared() > 0.0f && DotProd(n, n) >= cos_tolerance)) {
          return per_corner(source_faces, source_normals, welded_into, vertex_count, cos_tolerance);
        }
        at[s].unit = n;
        uint32_t* link = &first_cluster[welded_into[s]];
        for (; *link != kNone; link = &at[*link].next) {
          if (DotProd(at[*link].unit, n) >= cos_tolerance) {
            head = *link;
            break;
          }
        }
        if (head == kNone) {
          head = s;
          *link = s;
        }
        at[s].cluster = head;
      }
      heads[c] = head;
    }
    regions.unite(heads[0], heads[1]);
    regions.unite(heads[0], heads[2]);
  }
  // Every cluster straight to its region's root.
  for (size_t s = 0; s < sources; ++s)
    if (at[s].cluster == s) regions.parent[s] = regions.find(uint32_t(s));

  // Regions of more than one face, numbered in the order of their first
  // faces; single faces keep group 0.
  // Each face's region root is kept in its group's place meanwhile.
  std::vector<uint32_t> roots;
  for (size_t f = 0; f < source_faces.size(); ++f) {
    const uint32_t root = regions.parent[at[source_faces[f][0]].cluster];
    out.groups[f] = root;
    if (at[root].faces++ == 0) roots.push_back(root);
  }
  uint32_t region_count = 0;
  for (uint32_t root : roots)
    if (at[root].faces >= 2) at[root].number = region_count++;
  if (region_count == 0) {
    out.groups.assign(source_faces.size(), 0);
    return out;
  }
  const auto region_of = [&](uint32_t cluster) { return at[regions.parent[cluster]].number; };

  // Regions that meet at a vertex must not share a bit: the regions of the
  // vertex's clusters (a vertex of one cluster has one region).
  RegionPairs pairs;
  std::vector<uint32_t> here;
  for (size_t v = 0; v < vertex_count; ++v) {
    uint32_t head = first_cluster[v];
    if (head == kNone || at[head].next == kNone) continue;
    here.clear();
    for (; head != kNone; head = at[head].next) {
      const uint32_t r = region_of(head);
      if (r != kNone) here.push_back(r);
    }
    note_meeting(here, pairs);
  }
  const std::vector<int> bit = colour_regions(region_count, pairs, out.shared);
  for (uint32_t root : roots)
    if (at[root].number != kNone) at[root].group = 1u << bit[at[root].number];
  for (uint32_t& group : out.groups) group = at[group].group;
  return out;
}

}  // namespace scene_import
