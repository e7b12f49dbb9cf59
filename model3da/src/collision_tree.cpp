// The split of a tree's triangles into an array of nodes, and the
// triangles' boxes and records.
#include "collision_tree.h"

#include <bit>
#include <cstring>

#include "collision_split.h"

#if defined(__x86_64__) || defined(_M_X64)
#include <xmmintrin.h>
#endif

namespace model3da::collision {
namespace {

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

// Keeps each node the split makes in file order; a node's children are
// found by their indices.
class FlatTreeSink {
 public:
  using Node = int32_t;  // the node's index

  explicit FlatTreeSink(std::vector<FlatNode>& nodes) : nodes_(nodes) {}

  int32_t made(const SplitNode& split) {
    const auto index = static_cast<int32_t>(nodes_.size());
    FlatNode& node = nodes_.emplace_back();
    node.box = split.box;
    node.own_box = split.own_box;
    node.first = split.first;
    node.count = uint32_t(split.own.size());
    // Child 0 is the next node made.
    if (split.child[0]) node.child[0] = index + 1;
    return index;
  }

  void second_child(int32_t index) { nodes_[size_t(index)].child[1] = int32_t(nodes_.size()); }

 private:
  std::vector<FlatNode>& nodes_;
};

}  // namespace

FlatTree split_boxes(std::span<const Box> boxes) {
  FlatTree tree;
  FlatTreeSink sink(tree.nodes);
  tree.order = split_into(boxes, sink);
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
namespace {

// The bytes gather() reads of a surface: from the first to the end of the
// last of its positions, first texture coordinates and list indices.
std::span<const std::byte> read_bytes(const Model& model, const SurfaceView& s) {
  const uint64_t n = s.record.vertexCount;
  const uint64_t arrays[3][2] = {
      {s.record.positionsOffset, s.record.positionsOffset + 12 * n},
      {s.record.uvOffset[0], s.record.uvOffset[0] + 8 * n},
      {s.record.listIndicesOffset,
       s.record.listIndicesOffset + 2 * uint64_t(s.record.listIndexCount)}};
  uint64_t begin = arrays[0][0];
  uint64_t end = arrays[0][1];
  for (const auto& [from, to] : arrays) {
    begin = std::min(begin, from);
    end = std::max(end, to);
  }
  end = std::min<uint64_t>(end, model.bytes.size());
  return begin < end ? model.bytes.subspan(size_t(begin), size_t(end - begin))
                     : std::span<const std::byte>{};
}

}  // namespace

std::optional<TreeTriangles> TreeTriangles::gather(const Model& model,
                                                   std::span<const SurfaceEntry> entries,
                                                   const BytesDone& done) {
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
    if (done) done(read_bytes(model, s));
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
