// The split of a tree's triangles into nodes, told node by node to a sink in
// file order: the tree of nodes in memory (split_boxes) and the collision
// section written as the split goes are both made by this one split.
#pragma once

#include <algorithm>
#include <cmath>
#include <concepts>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "collision_extents.h"
#include "model3da/collision.h"

namespace model3da::collision {

// A node as the split makes it, before anything below it.
struct SplitNode {
  Box box;
  // The box of its own triangles (their boxes folded in order); a leaf's is
  // its box, and a node without triangles has none (all zeros).
  Box own_box;
  // Its own triangles' numbers, in their final order: `order` of the split
  // from `first` on.
  uint32_t first = 0;
  std::span<const uint32_t> own;
  bool child[2] = {false, false};  // whether it has child 0 and child 1
};

// What the split tells, in file order (depth first: a node, then the whole
// subtree of child 0, then that of child 1):
// - made(node) as each node is made, before its subtree; it gives back the
//   sink's handle of the node;
// - second_child(handle) when child 1 of that node is about to be made,
//   after the whole subtree of its child 0 (if it has one).
template <class Sink>
concept SplitSink = requires(Sink& sink, const SplitNode& node, typename Sink::Node handle) {
  { sink.made(node) } -> std::same_as<typename Sink::Node>;
  sink.second_child(handle);
};

namespace split_detail {

inline constexpr float kStayRatio = 0.8f;
inline constexpr float kCentreTolerance = 0.0001f;
inline constexpr uint32_t kMaxNodeTriangles = 0xFFFF;  // the node's count is a u16

// Groups of a node's triangles.
inline constexpr uint8_t kChild0 = 0;
inline constexpr uint8_t kChild1 = 1;
inline constexpr uint8_t kStay = 2;

// Splits a tree's triangles node by node. A node's triangle numbers are read
// from one of two arrays (`order` and a scratch array of the same length) and
// sorted into its groups in the other, over the same range, where its
// children read them; a node's own triangles are copied into `order` when they
// are not there already, before the node is told to the sink. Each position
// belongs to one node's own triangles in the end, so `order` ends up whole.
// Nothing is kept per node but the recursion's frames.
template <SplitSink Sink>
class Splitter {
 public:
  Splitter(std::span<const Box> boxes, Sink& sink)
      : boxes_(boxes),
        sink_(sink),
        order_(boxes.size()),
        scratch_(boxes.size()),
        group_(boxes.size()) {
    for (uint32_t i = 0; i < order_.size(); ++i) order_[i] = i;
  }

  // Splits all triangles; returns `order`.
  std::vector<uint32_t> split_all() {
    const auto n = uint32_t(boxes_.size());
    split(0, n, union_box(boxes_, order_.data(), 0, n), order_.data());
    return std::move(order_);
  }

 private:
  // Makes the node over order[begin, end), whose box is `box` and whose
  // triangle numbers are in `from` (order or the scratch array), and
  // everything below it.
  void split(uint32_t begin, uint32_t end, const Box& box, uint32_t* from) {
    uint32_t* const order = order_.data();
    const uint32_t n = end - begin;
    if (n <= kLeafTriangles) {
      if (from != order) std::copy(from + begin, from + end, order + begin);
      sink_.made(SplitNode{box, box, begin, {order + begin, n}, {false, false}});
      return;
    }
    uint32_t* const to = from == order ? scratch_.data() : order;
    int axis = 0;
    if (box.half[1] > box.half[axis]) axis = 1;
    if (box.half[2] > box.half[axis]) axis = 2;
    const float centre = box.centre[axis];
    const float limit = kStayRatio * box.half[axis];
    // Sort the triangles into their groups, keeping their order in each, and
    // fold each group's box over its triangles in that order.
    const Box* const boxes = boxes_.data();
    uint8_t* const group = group_.data();
    // Three separate folds (not an array), so that each stays in registers.
    Extents child0_extents;
    Extents child1_extents;
    Extents stay_extents;
    uint32_t child1_count = 0;
    uint32_t stay_count = 0;
    for (uint32_t i = begin; i < end; ++i) {
      const Box& b = boxes[from[i]];
      const float c = b.centre[axis];
      if (b.half[axis] > limit || std::fabs(c - centre) < kCentreTolerance) {
        group[i] = kStay;
        stay_extents.take(b);
        ++stay_count;
      } else if (c >= centre) {
        group[i] = kChild0;
        child0_extents.take(b);
      } else {
        group[i] = kChild1;
        child1_extents.take(b);
        ++child1_count;
      }
    }
    uint32_t child0_count = n - child1_count - stay_count;
    // The folded boxes hold unless the groups change below.
    bool folded = true;
    // A split that moves every triangle into one child makes no progress (only
    // boxes with NaN or infinite coordinates do that): they stay.
    if (child0_count == n || child1_count == n) {
      std::fill(group + begin, group + end, kStay);
      child0_count = child1_count = 0;
      stay_count = n;
      folded = false;
    }
    // The node's triangle count is 16 bits: the excess goes down to child 0,
    // after its own triangles. Order: kept | child 0 | excess | child 1.
    const uint32_t kept = std::min(stay_count, kMaxNodeTriangles);
    const uint32_t child0_end = begin + kept + child0_count + (stay_count - kept);
    uint32_t at[3] = {begin + kept, child0_end, begin};
    if (kept == stay_count) {
      for (uint32_t i = begin; i < end; ++i) to[at[group[i]]++] = from[i];
    } else {
      uint32_t at_excess = begin + kept + child0_count;
      for (uint32_t i = begin; i < end; ++i) {
        const uint8_t g = group[i];
        const uint32_t slot = g == kStay && at[kStay] == begin + kept ? at_excess++ : at[g]++;
        to[slot] = from[i];
      }
      folded = false;
    }
    if (to != order) std::copy(to + begin, to + begin + kept, order + begin);
    // Otherwise each group's box is folded again over its range, in order.
    const Box own_box = kept == 0 ? Box{}
                        : folded  ? stay_extents.box()
                                  : union_box(boxes_, to, begin, begin + kept);
    const Box child_box[2] = {
        folded ? child0_extents.box() : union_box(boxes_, to, begin + kept, child0_end),
        folded ? child1_extents.box() : union_box(boxes_, to, child0_end, end)};

    const bool has0 = begin + kept != child0_end;
    const bool has1 = child0_end != end;
    const typename Sink::Node node =
        sink_.made(SplitNode{box, own_box, begin, {order + begin, kept}, {has0, has1}});
    if (has0) split(begin + kept, child0_end, child_box[0], to);
    if (has1) {
      sink_.second_child(node);
      split(child0_end, end, child_box[1], to);
    }
  }

  std::span<const Box> boxes_;
  Sink& sink_;
  std::vector<uint32_t> order_;
  std::vector<uint32_t> scratch_;
  std::vector<uint8_t> group_;
};

}  // namespace split_detail

// Splits the triangles whose boxes are `boxes` (triangle i has boxes[i]),
// telling `sink` of each node as it is made. Every node's own triangles keep
// their input order. Returns the triangle numbers in the order the nodes own
// them (each node's are its SplitNode::own).
template <SplitSink Sink>
std::vector<uint32_t> split_into(std::span<const Box> boxes, Sink& sink) {
  return split_detail::Splitter<Sink>(boxes, sink).split_all();
}

}  // namespace model3da::collision
