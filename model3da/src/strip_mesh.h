// Face and edge records of the strip builder: the faces of one surface with
// their edges, each edge knowing the faces on its two sides and chained into
// the edge lists of its two vertices.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "model3da/strip_builder.h"

namespace model3da::strips {

inline constexpr std::int32_t kNone = -1;

// Vertex numbers are 32-bit inside the builder; kNone marks "no vertex" where
// a vertex or nothing is meant (VertexOrNone).
using Vertex = std::uint32_t;
using VertexOrNone = std::int64_t;

// A face: its indices in input order and the face on the other side of each
// of its edges (v0,v1), (v1,v2), (v2,v0).
struct Face {
  Vertex v[3] = {0, 0, 0};
  std::int32_t across[3] = {kNone, kNone, kNone};
};

// The edge records of a face's edges (v0,v1), (v1,v2), (v2,v0).
struct FaceEdges {
  std::int32_t edge[3] = {kNone, kNone, kNone};
};

struct Edge {
  Vertex v0 = 0, v1 = 0;  // as first met
  std::int32_t face0 = kNone, face1 = kNone;
  std::int32_t next_v0 = kNone, next_v1 = kNone;  // next edge in v0's / v1's list
};

// A face as a strip holds it: its indices and its face record, or kNone for a
// swap face (p, q, p) that a strip added.
struct StripFace {
  Vertex v[3] = {0, 0, 0};
  std::int32_t face = kNone;
};

inline bool is_degenerate(const StripFace& f) {
  return f.v[0] == f.v[1] || f.v[1] == f.v[2] || f.v[0] == f.v[2];
}

// The edges by their vertex pairs: each vertex keeps, in one run of slots,
// the edges to its higher-numbered neighbours, so a lookup reads the few
// slots of the pair's lower vertex. The runs are sized in advance from the
// triangles, which bound how many edges a vertex can have.
class EdgeTable {
 public:
  // Sizes the runs for the edges of `triangles` (whole triangles only).
  void prepare(std::span<const Vertex> triangles, Vertex max_index);
  // Inline, as building the faces asks it three times a face.
  std::int32_t find(Vertex a, Vertex b) const {
    if (a == b || begin_.empty()) return kNone;
    const Vertex low = a < b ? a : b;
    const Vertex high = a < b ? b : a;
    const Slot* run = slots_.data() + begin_[low];
    for (std::uint32_t i = 0, n = used_[low]; i < n; ++i) {
      if (run[i].other == high) return run[i].edge;
    }
    return kNone;
  }
  // Adds an edge that find does not know yet.
  void insert(Vertex a, Vertex b, std::int32_t edge) {
    const Vertex low = a < b ? a : b;
    slots_[begin_[low] + used_[low]++] = Slot{a < b ? b : a, edge};
  }

 private:
  struct Slot {
    Vertex other;
    std::int32_t edge;
  };
  std::vector<std::uint32_t> begin_;  // per vertex: its run, then one end
  std::vector<std::uint32_t> used_;   // per vertex: slots taken in its run
  std::vector<Slot> slots_;
};

struct Mesh {
  std::vector<Face> faces;
  std::vector<FaceEdges> face_edges;  // kept apart: the strip walks only need `faces`
  std::vector<Edge> edges;
  std::vector<std::int32_t> heads;  // first edge of each vertex, maxIndex + 1 of them
  EdgeTable table;
  Vertex max_index = 0;
  const StripMessageSink* sink = nullptr;

  void say(std::string_view message) const {
    if (sink != nullptr && *sink) (*sink)(message);
  }
  // The edge between a and b, looked up among the face's own edges first
  // (face may be kNone); kNone when there is no such edge.
  std::int32_t find_edge(VertexOrNone a, VertexOrNone b, std::int32_t face = kNone) const;
  // The face on the other side of edge (a, b) from `face`: the edge's second
  // face when `face` is its first, else its first; kNone without the edge.
  // Inline, with the face's own edges looked at first, as the strip walks
  // ask this for almost every step.
  std::int32_t other_face(VertexOrNone a, VertexOrNone b, std::int32_t face) const {
    if (face != kNone) {
      const Face& fc = faces[static_cast<std::size_t>(face)];
      for (int k = 0; k < 3; ++k) {
        const Vertex x = fc.v[k];
        const Vertex y = fc.v[k == 2 ? 0 : k + 1];
        if ((x == a && y == b) || (x == b && y == a)) return fc.across[k];
      }
    }
    return other_face_by_table(a, b, face);
  }
  // The vertex of `face` that is neither p nor q (reports a face that has
  // more than one such vertex).
  VertexOrNone next_index(VertexOrNone p, VertexOrNone q, std::int32_t face) const {
    const Vertex* v = faces[static_cast<std::size_t>(face)].v;
    const bool out0 = v[0] != p && v[0] != q;
    const bool out1 = v[1] != p && v[1] != q;
    const bool out2 = v[2] != p && v[2] != q;
    if (out0 + out1 + out2 == 1) return out0 ? v[0] : out1 ? v[1] : v[2];
    return next_index_unusual(p, q, face);
  }
  // How many of the three edges of f have a face on their other side. Inline
  // for a face record, whose neighbours are noted.
  int neighbour_count(const StripFace& f) const {
    if (f.face == kNone) return swap_face_neighbour_count(f);
    const std::int32_t* across = faces[static_cast<std::size_t>(f.face)].across;
    return (across[0] != kNone) + (across[1] != kNone) + (across[2] != kNone);
  }
  // neighbour_count for a swap face, through the edge table.
  int swap_face_neighbour_count(const StripFace& f) const;
  // other_face for an edge that is not one of the face's own.
  std::int32_t other_face_by_table(VertexOrNone a, VertexOrNone b, std::int32_t face) const;
  // next_index for a face with none or more than one vertex beside p and q.
  VertexOrNone next_index_unusual(VertexOrNone p, VertexOrNone q, std::int32_t face) const;

  StripFace strip_face(std::int32_t face) const {
    const Face& fc = faces[static_cast<std::size_t>(face)];
    return StripFace{{fc.v[0], fc.v[1], fc.v[2]}, face};
  }
};

// Builds the face and edge records of `triangles` (whole triangles only):
// degenerate triangles are skipped, a triangle repeating an earlier one in the
// same index order is dropped, a third or later face on an edge is kept but
// not linked to it (with a message).
Mesh build_mesh(std::span<const Vertex> triangles, Vertex max_index, const StripMessageSink& sink);

}  // namespace model3da::strips
