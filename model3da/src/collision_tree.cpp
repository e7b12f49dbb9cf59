// Splitting a tree's triangles over one array of triangle numbers, and the
// triangles' boxes and records.
#include "collision_tree.h"

#include <algorithm>
#include <cmath>

namespace model3da::collision {
namespace {

constexpr float kStayRatio = 0.8f;
constexpr float kCentreTolerance = 0.0001f;
constexpr uint32_t kMaxNodeTriangles = 0xFFFF;  // the node's count is a u16
constexpr float kHuge = 1e30f;

// Groups of a node's triangles.
constexpr uint8_t kChild0 = 0;
constexpr uint8_t kChild1 = 1;
constexpr uint8_t kStay = 2;

uint64_t node_bytes(uint32_t triangles) {
  return triangles == 0 ? kTreeNodeSize
                        : kTreeLeafHeaderSize + uint64_t(kTriangleRecordSize) * triangles;
}

// The box around `boxes[order[i]]` for i in [begin, end): per axis the
// maximum and minimum of the boxes' ends, folded in order. The six running
// values are locals so that they stay in registers.
Box union_box(std::span<const Box> boxes, const uint32_t* order, uint32_t begin, uint32_t end) {
  float max0 = -kHuge, max1 = -kHuge, max2 = -kHuge;
  float min0 = kHuge, min1 = kHuge, min2 = kHuge;
  for (uint32_t i = begin; i < end; ++i) {
    const Box& b = boxes[order[i]];
    max0 = std::max(max0, b.centre[0] + b.half[0]);
    min0 = std::min(min0, b.centre[0] - b.half[0]);
    max1 = std::max(max1, b.centre[1] + b.half[1]);
    min1 = std::min(min1, b.centre[1] - b.half[1]);
    max2 = std::max(max2, b.centre[2] + b.half[2]);
    min2 = std::min(min2, b.centre[2] - b.half[2]);
  }
  const float max[3] = {max0, max1, max2};
  const float min[3] = {min0, min1, min2};
  Box box;
  for (int a = 0; a < 3; ++a) {
    box.centre[a] = (max[a] + min[a]) / 2;
    box.half[a] = max[a] - box.centre[a];
  }
  return box;
}

class Splitter {
 public:
  Splitter(std::span<const Box> boxes, FlatTree& tree)
      : boxes_(boxes), tree_(tree), scratch_(boxes.size()), group_(boxes.size()) {}

  Box union_of(uint32_t begin, uint32_t end) const {
    return union_box(boxes_, tree_.order.data(), begin, end);
  }

  // Makes the node over order[begin, end), whose box is `box`, and everything
  // below it; returns its index.
  int32_t split(uint32_t begin, uint32_t end, const Box& box) {
    const auto index = static_cast<int32_t>(tree_.nodes.size());
    tree_.nodes.emplace_back();
    const uint32_t n = end - begin;
    if (n <= kLeafTriangles) {
      FlatNode& leaf = tree_.nodes[size_t(index)];
      leaf.box = box;
      leaf.own_box = box;
      leaf.first = begin;
      leaf.count = n;
      leaf.subtree_bytes = node_bytes(n);
      return index;
    }
    int axis = 0;
    if (box.half[1] > box.half[axis]) axis = 1;
    if (box.half[2] > box.half[axis]) axis = 2;
    const float centre = box.centre[axis];
    const float limit = kStayRatio * box.half[axis];
    // Sort the triangles into their groups, keeping their order in each.
    uint32_t child0_count = 0;
    uint32_t child1_count = 0;
    for (uint32_t i = begin; i < end; ++i) {
      const Box& b = boxes_[tree_.order[i]];
      const bool stays =
          b.half[axis] > limit || std::fabs(b.centre[axis] - centre) < kCentreTolerance;
      const bool above = b.centre[axis] >= centre;
      const uint8_t g = stays ? kStay : above ? kChild0 : kChild1;
      group_[i] = g;
      child0_count += g == kChild0;
      child1_count += g == kChild1;
    }
    uint32_t stay_count = n - child0_count - child1_count;
    // A split that moves every triangle into one child makes no progress (only
    // boxes with NaN or infinite coordinates do that): they stay.
    if (child0_count == n || child1_count == n) {
      std::fill(group_.begin() + begin, group_.begin() + end, kStay);
      child0_count = child1_count = 0;
      stay_count = n;
    }
    // The node's triangle count is 16 bits: the excess goes down to child 0,
    // after its own triangles. Order: kept | child 0 | excess | child 1.
    const uint32_t kept = std::min(stay_count, kMaxNodeTriangles);
    uint32_t at[3] = {begin + kept, begin + kept + child0_count + (stay_count - kept), begin};
    uint32_t at_excess = begin + kept + child0_count;
    const uint32_t child0_end = at[kChild1];
    for (uint32_t i = begin; i < end; ++i) {
      const uint8_t g = group_[i];
      const uint32_t to = g == kStay && at[kStay] == begin + kept ? at_excess++ : at[g]++;
      scratch_[to] = tree_.order[i];
    }
    std::copy(scratch_.begin() + begin, scratch_.begin() + end, tree_.order.begin() + begin);
    // Each group's box, folded over its triangles in their order.
    const Box own_box = union_of(begin, begin + kept);
    const Box child_box[2] = {union_of(begin + kept, child0_end), union_of(child0_end, end)};

    uint64_t bytes = node_bytes(kept);
    {
      FlatNode& node = tree_.nodes[size_t(index)];
      node.box = box;
      node.first = begin;
      node.count = kept;
      if (kept > 0) node.own_box = own_box;
    }
    const uint32_t ranges[2][2] = {{begin + kept, child0_end}, {child0_end, end}};
    for (int c = 0; c < 2; ++c) {
      if (ranges[c][0] == ranges[c][1]) continue;
      const int32_t child = split(ranges[c][0], ranges[c][1], child_box[c]);
      tree_.nodes[size_t(index)].child[c] = child;
      bytes += tree_.nodes[size_t(child)].subtree_bytes;
    }
    tree_.nodes[size_t(index)].subtree_bytes = bytes;
    return index;
  }

 private:
  std::span<const Box> boxes_;
  FlatTree& tree_;
  std::vector<uint32_t> scratch_;
  std::vector<uint8_t> group_;
};

}  // namespace

FlatTree split_boxes(std::span<const Box> boxes) {
  FlatTree tree;
  tree.order.resize(boxes.size());
  for (uint32_t i = 0; i < tree.order.size(); ++i) tree.order[i] = i;
  Splitter splitter(boxes, tree);
  const auto n = uint32_t(boxes.size());
  splitter.split(0, n, splitter.union_of(0, n));
  return tree;
}

std::vector<Box> triangle_boxes(const TreeTriangles& triangles) {
  std::vector<Box> boxes(triangles.size());
  for (uint32_t i = 0; i < boxes.size(); ++i) boxes[i] = triangles.box(i);
  return boxes;
}

}  // namespace model3da::collision

namespace model3da {

std::optional<TreeTriangles> TreeTriangles::gather(const Model& model,
                                                   std::span<const SurfaceEntry> entries) {
  if (entries.empty() || entries.size() >= kMaxInitSize) return std::nullopt;
  size_t count = 0;
  size_t vertices = 0;
  for (const SurfaceEntry& e : entries) {
    count += e.surface->record.listIndexCount / 3;
    vertices += e.surface->record.vertexCount;
  }
  if (count == 0) return std::nullopt;
  TreeTriangles out;
  out.entries_.reserve(entries.size());
  out.entry_of_.reserve(count);
  out.corners_.reserve(3 * count);
  out.positions_.reserve(vertices);
  out.uv0_.reserve(vertices);
  for (size_t k = 0; k < entries.size(); ++k) {
    const SurfaceEntry& e = entries[k];
    const SurfaceView& s = *e.surface;
    out.entries_.push_back(Entry{uint32_t(out.entry_of_.size()), uint32_t(out.positions_.size()),
                                 uint16_t(s.record.materialIndex & 0xFFFF)});
    for (uint32_t v = 0; v < s.record.vertexCount; ++v) {
      out.positions_.push_back(transform_point(model.position(s, v), e.matrix));
      out.uv0_.push_back(model.uv0(s, v));
    }
    const uint32_t faces = s.record.listIndexCount / 3;
    for (uint32_t k3 = 0; k3 < 3 * faces; ++k3) out.corners_.push_back(model.list_index(s, k3));
    out.entry_of_.insert(out.entry_of_.end(), faces, uint8_t(k));
  }
  return out;
}

Box TreeTriangles::box(uint32_t i) const {
  const Vec3* positions = positions_.data() + entries_[entry_of_[i]].first_vertex;
  const uint16_t* corner = corners_.data() + 3 * size_t(i);
  Box box{positions[corner[0]], {0.0f, 0.0f, 0.0f}};
  grow_box(box, positions[corner[1]]);
  grow_box(box, positions[corner[2]]);
  return box;
}

TriangleRecord TreeTriangles::record(uint32_t i) const {
  const Entry& e = entries_[entry_of_[i]];
  const uint16_t* corner = corners_.data() + 3 * size_t(i);
  const Vec3& a = positions_[e.first_vertex + corner[0]];
  const Vec3& b = positions_[e.first_vertex + corner[1]];
  const Vec3& c = positions_[e.first_vertex + corner[2]];
  const Vec2& ta = uv0_[e.first_vertex + corner[0]];
  const Vec2& tb = uv0_[e.first_vertex + corner[1]];
  const Vec2& tc = uv0_[e.first_vertex + corner[2]];
  TriangleRecord t;
  t.a = a;
  t.uv_a = ta;
  t.uv_ab = {tb[0] - ta[0], tb[1] - ta[1]};
  t.uv_ac = {tc[0] - ta[0], tc[1] - ta[1]};
  t.edge_ab = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
  t.edge_ac = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
  t.material = e.material;
  return t;
}

}  // namespace model3da
