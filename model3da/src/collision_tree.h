// AABB trees in one piece: the split of a tree's triangles over a single
// array of triangle numbers (each node owns a run of it), and the data a
// tree's triangle records are made from. The collision set's trees of nodes
// (collision.h) and the streamed collision section are both built from it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "model3da/collision.h"

namespace model3da::collision {

inline constexpr int32_t kNoChild = -1;

// A node of a split tree. The node's own triangles are the numbers
// order[first, first + count).
struct FlatNode {
  Box box;
  Box own_box;  // when count > 0
  uint32_t first = 0;
  uint32_t count = 0;
  int32_t child[2] = {kNoChild, kNoChild};
  uint64_t subtree_bytes = 0;  // of the node and everything below it in the file
};

// The nodes in file order (depth first: a node, then the whole subtree of
// child 0, then that of child 1).
struct FlatTree {
  std::vector<FlatNode> nodes;
  std::vector<uint32_t> order;
};

// Splits the triangles whose boxes are `boxes` (triangle i has boxes[i]).
// Every node's own triangles keep their input order.
FlatTree split_boxes(std::span<const Box> boxes);

// The triangles of one tree from a list of surface entries: their boxes and
// what their records are made from (the positions already in the tree's
// space).
class TreeTriangles {
 public:
  // Empty when the entries hold no triangle.
  static std::optional<TreeTriangles> gather(const Model& model,
                                             std::span<const SurfaceEntry> entries);

  size_t size() const { return boxes_.size(); }
  std::span<const Box> boxes() const { return boxes_; }
  // The record of triangle i (triangles are numbered entry by entry, each
  // surface's in list order).
  TriangleRecord record(uint32_t i) const;
  // Frees the boxes, which only the split reads.
  void drop_boxes() { std::vector<Box>().swap(boxes_); }

 private:
  const Model* model_ = nullptr;
  std::span<const SurfaceEntry> entries_;
  std::vector<uint32_t> first_triangle_;  // per entry, then the total
  std::vector<uint32_t> first_vertex_;    // per entry: its first position
  std::vector<uint8_t> entry_of_;         // per triangle (fewer than kMaxInitSize entries)
  std::vector<Vec3> positions_;
  std::vector<Box> boxes_;
};

// Which surfaces go into which tree of a model's collision set, in the order
// the trees are built: the static tree, the hull tree, then one tree per
// animated node in chain order.
struct CollisionPlan {
  std::vector<SurfaceEntry> static_entries;
  std::vector<SurfaceEntry> hull_entries;
  std::vector<std::vector<SurfaceEntry>> per_node;  // each of one node's surfaces
};

CollisionPlan collision_plan(const Model& model);

}  // namespace model3da::collision
