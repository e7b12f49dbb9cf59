// Splitting a tree's triangles over one array of triangle numbers, and the
// triangles' boxes and records.
#include "collision_tree.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstring>

#if defined(__x86_64__) || defined(_M_X64)
#include <xmmintrin.h>
#endif

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

// The box between the upper ends `max` and the lower ends `min`.
Box box_of(const float* max, const float* min) {
  Box box;
  for (int a = 0; a < 3; ++a) {
    box.centre[a] = (max[a] + min[a]) / 2;
    box.half[a] = max[a] - box.centre[a];
  }
  return box;
}

// The running extents of a fold of boxes: per axis the maximum of the
// boxes' upper ends (centre + half) and the minimum of their lower ends
// (centre - half), taken in the order the boxes come. Each step keeps the
// running value unless the new end is strictly beyond it (so a NaN end is
// skipped, and of two equal ends such as 0 and -0 the first stays): the same
// results, bit for bit, on both paths below.
#if defined(__x86_64__) || defined(_M_X64)
static_assert(sizeof(Box) == 24 && offsetof(Box, half) == 12, "a box is six packed floats");

class Extents {
 public:
  void take(const Box& b) {
    const float* p = b.centre.data();
    const __m128 centre = _mm_loadu_ps(p);                                    // c0 c1 c2 h0
    const __m128 tail = _mm_loadu_ps(p + 2);                                  // c2 h0 h1 h2
    const __m128 half = _mm_shuffle_ps(tail, tail, _MM_SHUFFLE(3, 3, 2, 1));  // h0 h1 h2 h2
    // maxps/minps give their first operand where it is strictly beyond the
    // second, else the second: the running value.
    max_ = _mm_max_ps(_mm_add_ps(centre, half), max_);
    min_ = _mm_min_ps(_mm_sub_ps(centre, half), min_);
  }

  Box box() const {
    float max[4];
    float min[4];
    _mm_storeu_ps(max, max_);
    _mm_storeu_ps(min, min_);
    return box_of(max, min);
  }

 private:
  __m128 max_ = _mm_set1_ps(-kHuge);
  __m128 min_ = _mm_set1_ps(kHuge);
};
#else
class Extents {
 public:
  void take(const Box& b) {
    for (int a = 0; a < 3; ++a) {
      max_[a] = std::max(max_[a], b.centre[a] + b.half[a]);
      min_[a] = std::min(min_[a], b.centre[a] - b.half[a]);
    }
  }

  Box box() const { return box_of(max_, min_); }

 private:
  float max_[3] = {-kHuge, -kHuge, -kHuge};
  float min_[3] = {kHuge, kHuge, kHuge};
};
#endif

// The box of a triangle: vertex A grown to take in B, then C (see grow()).
#if defined(__x86_64__) || defined(_M_X64)
// mask ? yes : no, lane by lane.
__m128 select(__m128 mask, __m128 yes, __m128 no) {
  return _mm_or_ps(_mm_and_ps(mask, yes), _mm_andnot_ps(mask, no));
}

// grow() on all three axes at once, for B and then C; halving is
// multiplying by 0.5, exactly.
Box triangle_box(const Vec3& a, const Vec3& b, const Vec3& c) {
  __m128 centre = _mm_setr_ps(a[0], a[1], a[2], 0.0f);
  __m128 half = _mm_setzero_ps();
  const __m128 halve = _mm_set1_ps(0.5f);
  const auto grow_to = [&](const Vec3& point) {
    const __m128 p = _mm_setr_ps(point[0], point[1], point[2], 0.0f);
    const __m128 high = _mm_add_ps(centre, half);
    const __m128 low = _mm_sub_ps(centre, half);
    const __m128 up_centre = _mm_mul_ps(_mm_add_ps(low, p), halve);
    const __m128 up_half = _mm_sub_ps(p, up_centre);
    const __m128 down_centre = _mm_mul_ps(_mm_add_ps(high, p), halve);
    const __m128 down_half = _mm_sub_ps(down_centre, p);
    const __m128 up = _mm_cmpgt_ps(p, high);
    const __m128 down = _mm_cmplt_ps(p, low);
    centre = select(up, up_centre, select(down, down_centre, centre));
    half = select(up, up_half, select(down, down_half, half));
  };
  grow_to(b);
  grow_to(c);
  float centre_out[4];
  float half_out[4];
  _mm_storeu_ps(centre_out, centre);
  _mm_storeu_ps(half_out, half);
  return Box{{centre_out[0], centre_out[1], centre_out[2]},
             {half_out[0], half_out[1], half_out[2]}};
}
#else
Box triangle_box(const Vec3& a, const Vec3& b, const Vec3& c) {
  Box box{a, {0.0f, 0.0f, 0.0f}};
  grow(box, b);
  grow(box, c);
  return box;
}
#endif

// The box around `boxes[order[i]]` for i in [begin, end).
Box union_box(std::span<const Box> boxes, const uint32_t* order, uint32_t begin, uint32_t end) {
  Extents extents;
  for (uint32_t i = begin; i < end; ++i) extents.take(boxes[order[i]]);
  return extents.box();
}

// Splits a tree's triangles node by node. A node's triangle numbers are read
// from one of two arrays (`order` and a scratch array of the same length) and
// sorted into its groups in the other, over the same range, where its
// children read them; a node's own triangles are copied into `order` when they
// are not there already. Each position belongs to one node's own triangles in
// the end, so `order` ends up whole.
class Splitter {
 public:
  Splitter(std::span<const Box> boxes, FlatTree& tree)
      : boxes_(boxes), tree_(tree), scratch_(boxes.size()), group_(boxes.size()) {}

  Box union_of(uint32_t begin, uint32_t end) const {
    return union_box(boxes_, tree_.order.data(), begin, end);
  }

  // Makes the node over order[begin, end), whose box is `box` and whose
  // triangle numbers are in `from` (order or the scratch array), and
  // everything below it; returns its index.
  int32_t split(uint32_t begin, uint32_t end, const Box& box, uint32_t* from) {
    uint32_t* const order = tree_.order.data();
    const auto index = static_cast<int32_t>(tree_.nodes.size());
    tree_.nodes.emplace_back();
    const uint32_t n = end - begin;
    if (n <= kLeafTriangles) {
      if (from != order) std::copy(from + begin, from + end, order + begin);
      FlatNode& leaf = tree_.nodes[size_t(index)];
      leaf.box = box;
      leaf.own_box = box;
      leaf.first = begin;
      leaf.count = n;
      leaf.subtree_bytes = node_bytes(n);
      return index;
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
    const Box own_box = folded ? stay_extents.box() : union_box(boxes_, to, begin, begin + kept);
    const Box child_box[2] = {
        folded ? child0_extents.box() : union_box(boxes_, to, begin + kept, child0_end),
        folded ? child1_extents.box() : union_box(boxes_, to, child0_end, end)};

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
      const int32_t child = split(ranges[c][0], ranges[c][1], child_box[c], to);
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
  splitter.split(0, n, splitter.union_of(0, n), tree.order.data());
  return tree;
}

std::vector<Box> triangle_boxes(const TreeTriangles& triangles) {
  // Appended, not zero-filled first and then overwritten.
  std::vector<Box> boxes;
  boxes.reserve(triangles.size());
  for (uint32_t i = 0; i < triangles.size(); ++i) boxes.push_back(triangles.box(i));
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
    // The list indices, read where the model holds them (as list_index does).
    const std::byte* list = model.bytes.data() + s.record.listIndicesOffset;
    const size_t at = out.corners_.size();
    out.corners_.resize(at + 3 * size_t(faces));
    uint16_t* corners = out.corners_.data() + at;
    for (size_t k = 0; k < 3 * size_t(faces); ++k) corners[k] = read_u16(list + 2 * k);
    out.entry_of_.insert(out.entry_of_.end(), faces, uint8_t(k));
  }
  return out;
}

Box TreeTriangles::box(uint32_t i) const {
  const Vec3* positions = positions_.data() + entries_[entry_of_[i]].first_vertex;
  const uint16_t* corner = corners_.data() + 3 * size_t(i);
  return collision::triangle_box(positions[corner[0]], positions[corner[1]], positions[corner[2]]);
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

void TreeTriangles::put_records(std::span<const uint32_t> numbers, std::byte* out) const {
  for (const uint32_t i : numbers) {
    const Entry& e = entries_[entry_of_[i]];
    const uint16_t* corner = corners_.data() + 3 * size_t(i);
    const Vec3* positions = positions_.data() + e.first_vertex;
    const Vec2* uv = uv0_.data() + e.first_vertex;
    const Vec3& a = positions[corner[0]];
    const Vec3& b = positions[corner[1]];
    const Vec3& c = positions[corner[2]];
    const Vec2& ta = uv[corner[0]];
    const Vec2& tb = uv[corner[1]];
    const Vec2& tc = uv[corner[2]];
    // As record(i) gives them: A, its texture coordinates, those of B and C
    // less A's, the edges AB and AC, and the material. Value by value, from
    // registers to the buffer: put together in an array first, they were
    // stored to the stack and read back with wide loads that wait on the
    // narrow stores.
    const auto put = [out](int k, float value) {
      if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(out + 4 * k, &value, sizeof value);
      } else {
        put_f32(out + 4 * k, value);
      }
    };
    put(0, a[0]);
    put(1, a[1]);
    put(2, a[2]);
    put(3, ta[0]);
    put(4, ta[1]);
    put(5, tb[0] - ta[0]);
    put(6, tb[1] - ta[1]);
    put(7, tc[0] - ta[0]);
    put(8, tc[1] - ta[1]);
    put(9, b[0] - a[0]);
    put(10, b[1] - a[1]);
    put(11, b[2] - a[2]);
    put(12, c[0] - a[0]);
    put(13, c[1] - a[1]);
    put(14, c[2] - a[2]);
    put_u16(out + 60, e.material);
    out += kTriangleRecordSize;
  }
}

}  // namespace model3da
