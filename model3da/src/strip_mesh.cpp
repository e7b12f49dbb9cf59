// Face and edge records: building them in one pass, with the edges found
// through per-vertex runs and a hash table for the exact duplicate-face test.
#include "strip_mesh.h"

#include <algorithm>
#include <bit>

namespace model3da::strips {
namespace {

std::size_t mix(std::uint64_t key) {
  key ^= key >> 29;
  key *= 0xBF58476D1CE4E5B9ull;
  key ^= key >> 32;
  return static_cast<std::size_t>(key);
}

// Open-addressing set of the kept faces by their three indices in order.
class FaceTable {
 public:
  explicit FaceTable(std::size_t faces) {
    const std::size_t capacity = std::bit_ceil(faces * 2 + 16);
    slots_.assign(capacity, kNone);
    mask_ = capacity - 1;
  }
  // Adds face f of `faces` unless an equal face is there; false if it was.
  bool insert(const std::vector<Face>& faces, const Face& face, std::int32_t f) {
    const std::uint64_t key = (std::uint64_t{face.v[0]} * 0x9E3779B97F4A7C15ull) ^
                              (std::uint64_t{face.v[1]} << 21) ^ (std::uint64_t{face.v[2]} << 42) ^
                              std::uint64_t{face.v[2]} ^ (std::uint64_t{face.v[1]} >> 11);
    for (std::size_t i = mix(key) & mask_;; i = (i + 1) & mask_) {
      const std::int32_t at = slots_[i];
      if (at == kNone) {
        slots_[i] = f;
        return true;
      }
      const Face& other = faces[static_cast<std::size_t>(at)];
      if (other.v[0] == face.v[0] && other.v[1] == face.v[1] && other.v[2] == face.v[2])
        return false;
    }
  }

 private:
  std::vector<std::int32_t> slots_;
  std::size_t mask_ = 0;
};

}  // namespace

void EdgeTable::prepare(std::span<const Vertex> triangles, Vertex max_index) {
  const std::size_t vertices = static_cast<std::size_t>(max_index) + 1;
  begin_.assign(vertices + 1, 0);
  used_.assign(vertices, 0);
  const std::size_t whole = triangles.size() / 3 * 3;
  for (std::size_t t = 0; t < whole; t += 3) {
    for (std::size_t k = 0; k < 3; ++k) {
      const Vertex a = triangles[t + k];
      const Vertex b = triangles[t + (k == 2 ? 0 : k + 1)];
      if (a != b) ++begin_[std::min(a, b) + 1];
    }
  }
  for (std::size_t v = 0; v < vertices; ++v) begin_[v + 1] += begin_[v];
  slots_.resize(begin_[vertices]);
}

std::int32_t Mesh::find_edge(VertexOrNone a, VertexOrNone b, std::int32_t face) const {
  if (face != kNone) {
    // Edge k of a face joins its vertices k and k + 1.
    const Face& fc = faces[static_cast<std::size_t>(face)];
    for (int k = 0; k < 3; ++k) {
      const Vertex x = fc.v[k];
      const Vertex y = fc.v[k == 2 ? 0 : k + 1];
      if ((x == a && y == b) || (x == b && y == a))
        return face_edges[static_cast<std::size_t>(face)].edge[k];
    }
  }
  if (a < 0 || b < 0) return kNone;
  return table.find(static_cast<Vertex>(a), static_cast<Vertex>(b));
}

std::int32_t Mesh::other_face_by_table(VertexOrNone a, VertexOrNone b, std::int32_t face) const {
  const std::int32_t e = find_edge(a, b, face);
  if (e == kNone) return kNone;
  const Edge& edge = edges[static_cast<std::size_t>(e)];
  return edge.face0 == face ? edge.face1 : edge.face0;
}

VertexOrNone Mesh::next_index_unusual(VertexOrNone p, VertexOrNone q, std::int32_t face) const {
  const Vertex* v = faces[static_cast<std::size_t>(face)].v;
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

int Mesh::swap_face_neighbour_count(const StripFace& f) const {
  int count = 0;
  for (int k = 0; k < 3; ++k)
    if (other_face(f.v[k], f.v[(k + 1) % 3], f.face) != kNone) ++count;
  return count;
}

Mesh build_mesh(std::span<const Vertex> triangles, Vertex max_index, const StripMessageSink& sink) {
  Mesh mesh;
  mesh.sink = &sink;
  mesh.max_index = max_index;
  const std::size_t triangle_count = triangles.size() / 3;
  mesh.heads.assign(static_cast<std::size_t>(max_index) + 1, kNone);
  mesh.table.prepare(triangles, max_index);
  mesh.faces.reserve(triangle_count);
  mesh.edges.reserve(triangle_count * 3 / 2 + 3);
  FaceTable kept(triangle_count);

  mesh.face_edges.reserve(triangle_count);
  for (std::size_t t = 0; t < triangle_count; ++t) {
    Face face;
    FaceEdges edges;
    for (int k = 0; k < 3; ++k) face.v[k] = triangles[t * 3 + static_cast<std::size_t>(k)];
    if (face.v[0] == face.v[1] || face.v[1] == face.v[2] || face.v[0] == face.v[2]) continue;
    const auto f = static_cast<std::int32_t>(mesh.faces.size());
    bool all_existed = true;
    std::int32_t linked[3] = {kNone, kNone, kNone};
    for (int k = 0; k < 3; ++k) {
      const Vertex a = face.v[k];
      const Vertex b = face.v[(k + 1) % 3];
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
      edges.edge[k] = e;
    }
    if (all_existed && !kept.insert(mesh.faces, face, f)) {
      for (std::int32_t e : linked)
        if (e != kNone) mesh.edges[static_cast<std::size_t>(e)].face1 = kNone;
      continue;
    }
    if (!all_existed) kept.insert(mesh.faces, face, f);
    mesh.faces.push_back(face);
    mesh.face_edges.push_back(edges);
  }
  // The edges are final now: note each face's neighbour across each edge.
  for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
    Face& face = mesh.faces[f];
    for (int k = 0; k < 3; ++k) {
      const Edge& edge = mesh.edges[static_cast<std::size_t>(mesh.face_edges[f].edge[k])];
      face.across[k] = edge.face0 == static_cast<std::int32_t>(f) ? edge.face1 : edge.face0;
    }
  }
  return mesh;
}

}  // namespace model3da::strips
