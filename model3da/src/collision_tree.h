// AABB trees in one piece: a tree's nodes in an array, split over a single
// array of triangle numbers (each node owns a run of it), and the data a
// tree's triangle records are made from. The collision set's trees of nodes
// (collision.h) are built from it; the streamed collision section is written
// by the same split (collision_split.h) without holding the nodes.
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
};

// The nodes in file order (depth first: a node, then the whole subtree of
// child 0, then that of child 1).
struct FlatTree {
  std::vector<FlatNode> nodes;
  std::vector<uint32_t> order;
};

// Grows `box` to take in `point`: along each axis where the point lies
// beyond the box, the box is stretched to it and keeps its opposite face.
// Both outcomes are worked out and one is chosen, without branches.
inline void grow(Box& box, const Vec3& point) {
  for (int a = 0; a < 3; ++a) {
    const float c = box.centre[a];
    const float h = box.half[a];
    const float p = point[a];
    const float high = c + h;
    const float low = c - h;
    const float up_centre = (low + p) / 2;
    const float up_half = p - up_centre;
    const float down_centre = (high + p) / 2;
    const float down_half = down_centre - p;
    const bool up = p > high;
    const bool down = p < low;
    box.centre[a] = up ? up_centre : down ? down_centre : c;
    box.half[a] = up ? up_half : down ? down_half : h;
  }
}

// Splits the triangles whose boxes are `boxes` (triangle i has boxes[i]).
// Every node's own triangles keep their input order.
FlatTree split_boxes(std::span<const Box> boxes);

// The boxes of all triangles of `triangles`.
std::vector<Box> triangle_boxes(const TreeTriangles& triangles);

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
