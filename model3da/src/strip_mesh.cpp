// Face and edge records: building them in one pass with a hash table for the
// edges and another for the exact duplicate-face test.
#include "strip_mesh.h"

#include <bit>
#include <unordered_set>

namespace model3da::strips {
namespace {

constexpr std::uint32_t kEmptyKey = 0xFFFFFFFFu;  // no pair of distinct 16-bit vertices

std::uint32_t pair_key(std::uint16_t a, std::uint16_t b) {
  return a < b ? (std::uint32_t{a} << 16) | b : (std::uint32_t{b} << 16) | a;
}

std::uint64_t face_key(const std::uint16_t* v) {
  return (std::uint64_t{v[0]} << 32) | (std::uint64_t{v[1]} << 16) | v[2];
}

}  // namespace

void EdgeTable::reserve(std::size_t edges) {
  const std::size_t capacity = std::bit_ceil(edges * 2 + 16);
  keys_.assign(capacity, kEmptyKey);
  values_.assign(capacity, kNone);
  mask_ = capacity - 1;
}

std::size_t EdgeTable::slot(std::uint32_t key) const {
  return static_cast<std::size_t>((key * 0x9E3779B1u) ^ (key >> 15)) & mask_;
}

std::int32_t EdgeTable::find(std::uint16_t a, std::uint16_t b) const {
  if (a == b || keys_.empty()) return kNone;
  const std::uint32_t key = pair_key(a, b);
  for (std::size_t i = slot(key);; i = (i + 1) & mask_) {
    if (keys_[i] == key) return values_[i];
    if (keys_[i] == kEmptyKey) return kNone;
  }
}

void EdgeTable::insert(std::uint16_t a, std::uint16_t b, std::int32_t edge) {
  const std::uint32_t key = pair_key(a, b);
  std::size_t i = slot(key);
  while (keys_[i] != kEmptyKey) i = (i + 1) & mask_;
  keys_[i] = key;
  values_[i] = edge;
}

std::int32_t Mesh::find_edge(int a, int b, std::int32_t face) const {
  if (face != kNone) {
    const Face& fc = faces[static_cast<std::size_t>(face)];
    for (std::int32_t e : fc.edge) {
      const Edge& edge = edges[static_cast<std::size_t>(e)];
      if ((edge.v0 == a && edge.v1 == b) || (edge.v0 == b && edge.v1 == a)) return e;
    }
  }
  if (a < 0 || b < 0) return kNone;
  return table.find(static_cast<std::uint16_t>(a), static_cast<std::uint16_t>(b));
}

std::int32_t Mesh::other_face(int a, int b, std::int32_t face) const {
  const std::int32_t e = find_edge(a, b, face);
  if (e == kNone) return kNone;
  const Edge& edge = edges[static_cast<std::size_t>(e)];
  return edge.face0 == face ? edge.face1 : edge.face0;
}

int Mesh::next_index(int p, int q, std::int32_t face) const {
  const std::uint16_t* v = faces[static_cast<std::size_t>(face)].v;
  for (int i = 0; i < 3; ++i) {
    if (v[i] == p || v[i] == q) continue;
    for (int j = i + 1; j < 3; ++j) {
      if (v[j] != p && v[j] != q) {
        say(kMessageMissingVertex);
        say(kMessageDerailed);
        break;
      }
    }
    return v[i];
  }
  if (v[0] == v[1] || v[0] == v[2]) return v[0];
  if (v[1] == v[2]) return v[1];
  return kNone;
}

int Mesh::neighbour_count(const StripFace& f) const {
  int count = 0;
  for (int k = 0; k < 3; ++k)
    if (other_face(f.v[k], f.v[(k + 1) % 3], f.face) != kNone) ++count;
  return count;
}

Mesh build_mesh(std::span<const std::uint16_t> triangles, int max_index,
                const StripMessageSink& sink) {
  Mesh mesh;
  mesh.sink = &sink;
  mesh.max_index = max_index;
  const std::size_t triangle_count = triangles.size() / 3;
  mesh.heads.assign(static_cast<std::size_t>(max_index) + 1, kNone);
  mesh.table.reserve(triangle_count * 3);
  mesh.faces.reserve(triangle_count);
  mesh.edges.reserve(triangle_count * 3 / 2 + 3);
  std::unordered_set<std::uint64_t> kept;
  kept.reserve(triangle_count);

  for (std::size_t t = 0; t < triangle_count; ++t) {
    Face face;
    for (int k = 0; k < 3; ++k) face.v[k] = triangles[t * 3 + static_cast<std::size_t>(k)];
    if (face.v[0] == face.v[1] || face.v[1] == face.v[2] || face.v[0] == face.v[2]) continue;
    const auto f = static_cast<std::int32_t>(mesh.faces.size());
    bool all_existed = true;
    std::int32_t linked[3] = {kNone, kNone, kNone};
    for (int k = 0; k < 3; ++k) {
      const std::uint16_t a = face.v[k];
      const std::uint16_t b = face.v[(k + 1) % 3];
      std::int32_t e = mesh.table.find(a, b);
      if (e == kNone) {
        e = static_cast<std::int32_t>(mesh.edges.size());
        mesh.edges.push_back(Edge{a, b, f, kNone, mesh.heads[a], mesh.heads[b]});
        mesh.heads[a] = e;
        mesh.heads[b] = e;
        mesh.table.insert(a, b, e);
        all_existed = false;
      } else if (mesh.edges[static_cast<std::size_t>(e)].face1 == kNone) {
        mesh.edges[static_cast<std::size_t>(e)].face1 = f;
        linked[k] = e;
      } else {
        mesh.say(kMessageThirdFaceOnEdge);
      }
      face.edge[k] = e;
    }
    const std::uint64_t key = face_key(face.v);
    if (all_existed && kept.contains(key)) {
      for (std::int32_t e : linked)
        if (e != kNone) mesh.edges[static_cast<std::size_t>(e)].face1 = kNone;
      continue;
    }
    kept.insert(key);
    mesh.faces.push_back(face);
  }
  return mesh;
}

}  // namespace model3da::strips
