// Building the collision set and splitting AABB trees.
#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "model3da/collision.h"
#include "model3da/crash_log.h"

namespace model3da {
namespace {

constexpr float kStayRatio = 0.8f;
constexpr float kCentreTolerance = 0.0001f;
constexpr size_t kMaxNodeTriangles = 0xFFFF;  // the node's count is a u16
constexpr float kHuge = 1e30f;

// A triangle being sorted into the tree: its box and its index in the
// tree's triangle array. Each split moves these into contiguous arrays of
// their own, so every pass over a node's triangles reads memory in order.
struct Item {
  Box box;
  uint32_t triangle;
};

Box union_box(std::span<const Item> items) {
  Vec3 max{-kHuge, -kHuge, -kHuge};
  Vec3 min{kHuge, kHuge, kHuge};
  for (const Item& item : items) {
    const Box& b = item.box;
    for (int a = 0; a < 3; ++a) {
      max[a] = std::max(max[a], b.centre[a] + b.half[a]);
      min[a] = std::min(min[a], b.centre[a] - b.half[a]);
    }
  }
  Box box;
  for (int a = 0; a < 3; ++a) {
    box.centre[a] = (max[a] + min[a]) / 2;
    box.half[a] = max[a] - box.centre[a];
  }
  return box;
}

std::vector<TriangleRecord> gather(const std::vector<TriangleRecord>& triangles,
                                   std::span<const Item> items) {
  std::vector<TriangleRecord> out;
  out.reserve(items.size());
  for (const Item& item : items) out.push_back(triangles[item.triangle]);
  return out;
}

std::unique_ptr<TreeNode> split(const std::vector<TriangleRecord>& triangles,
                                std::vector<Item> set) {
  auto node = std::make_unique<TreeNode>();
  node->box = union_box(set);
  if (set.size() <= kLeafTriangles) {
    node->own_box = node->box;
    node->triangles = gather(triangles, set);
    return node;
  }
  const Vec3& half = node->box.half;
  int axis = 0;
  if (half[1] > half[axis]) axis = 1;
  if (half[2] > half[axis]) axis = 2;
  const float centre = node->box.centre[axis];
  const float limit = kStayRatio * half[axis];
  // Group of each item: 0 or 1 for the children, 2 to stay.
  std::vector<uint8_t> group(set.size());
  size_t counts[3] = {0, 0, 0};
  for (size_t i = 0; i < set.size(); ++i) {
    const Box& b = set[i].box;
    uint8_t g = 2;
    if (!(b.half[axis] > limit || std::fabs(b.centre[axis] - centre) < kCentreTolerance)) {
      g = b.centre[axis] >= centre ? 0 : 1;
    }
    group[i] = g;
    ++counts[g];
  }
  // A split that moves every triangle into one child makes no progress (only
  // boxes with NaN or infinite coordinates do that): they stay.
  if (counts[0] == set.size() || counts[1] == set.size()) {
    std::fill(group.begin(), group.end(), uint8_t{2});
    counts[0] = counts[1] = 0;
    counts[2] = set.size();
  }
  std::vector<Item> children[2];
  std::vector<Item> stay;
  children[0].reserve(counts[0]);
  children[1].reserve(counts[1]);
  stay.reserve(counts[2]);
  for (size_t i = 0; i < set.size(); ++i) {
    (group[i] == 2 ? stay : children[group[i]]).push_back(set[i]);
  }
  // The node's triangle count is 16 bits: the excess goes down to child 0,
  // which then holds fewer triangles than this node.
  if (stay.size() > kMaxNodeTriangles) {
    children[0].insert(children[0].end(), stay.begin() + kMaxNodeTriangles, stay.end());
    stay.resize(kMaxNodeTriangles);
  }
  if (!stay.empty()) {
    node->own_box = union_box(stay);
    node->triangles = gather(triangles, stay);
  }
  std::vector<Item>().swap(set);
  std::vector<Item>().swap(stay);
  std::vector<uint8_t>().swap(group);
  for (int c = 0; c < 2; ++c) {
    if (!children[c].empty()) node->child[c] = split(triangles, std::move(children[c]));
  }
  return node;
}

bool is_hull_name(const std::string& name) {
  static constexpr char kHull[] = "collisionhull_0";
  if (name.size() != sizeof(kHull) - 1) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(name[i])) != kHull[i]) return false;
  }
  return true;
}

bool qualifies(const NodeView& node) {
  const uint32_t type = node.record.nodeType;
  return !node.record.name.empty() && node.record.name.back() == '0' && type != MESH_SKINNED_3DA &&
         type != HELPER_3DA && type != BONE_3DA;
}

void add_surfaces(const NodeView& node, const Matrix4& matrix, std::vector<SurfaceEntry>& out) {
  for (const SurfaceView& surface : node.surfaces) out.push_back({&surface, matrix, node.index});
}

}  // namespace

CrashLogSink crash_log_sink() {
  return [](const std::string& line) { fs::crash_log_line("%s", line.c_str()); };
}

std::string max_init_size_line() {
  return fmt::format("aabbtree::build(..): Init set size >= MAX_INIT_SIZE({})\n", kMaxInitSize);
}

void grow_box(Box& box, const Vec3& point) {
  for (int a = 0; a < 3; ++a) {
    const float c = box.centre[a];
    const float h = box.half[a];
    if (point[a] > c + h) {
      const float low = c - h;
      box.centre[a] = (low + point[a]) / 2;
      box.half[a] = point[a] - box.centre[a];
    } else if (point[a] < c - h) {
      const float high = c + h;
      box.centre[a] = (high + point[a]) / 2;
      box.half[a] = box.centre[a] - point[a];
    }
  }
}

std::unique_ptr<TreeNode> split_triangles(std::vector<TriangleRecord> triangles,
                                          std::vector<Box> boxes) {
  std::vector<Item> all(triangles.size());
  for (size_t i = 0; i < all.size(); ++i) all[i] = {boxes[i], uint32_t(i)};
  std::vector<Box>().swap(boxes);
  return split(triangles, std::move(all));
}

void build_tree(const Model& model, std::span<const SurfaceEntry> entries, TreeKind kind,
                CollisionSet& set, const CrashLogSink& log) {
  if (entries.empty()) return;
  if (entries.size() >= kMaxInitSize) {
    if (log) log(max_init_size_line());
    return;
  }
  size_t count = 0;
  for (const SurfaceEntry& e : entries) count += e.surface->record.listIndexCount / 3;
  if (count == 0) return;
  std::vector<TriangleRecord> triangles;
  std::vector<Box> boxes;
  triangles.reserve(count);
  boxes.reserve(count);
  std::vector<Vec3> positions;
  for (const SurfaceEntry& e : entries) {
    const SurfaceView& s = *e.surface;
    positions.resize(s.record.vertexCount);
    for (uint32_t v = 0; v < s.record.vertexCount; ++v) {
      positions[v] = transform_point(model.position(s, v), e.matrix);
    }
    const uint32_t faces = s.record.listIndexCount / 3;
    for (uint32_t f = 0; f < faces; ++f) {
      const uint16_t ia = model.list_index(s, 3 * f);
      const uint16_t ib = model.list_index(s, 3 * f + 1);
      const uint16_t ic = model.list_index(s, 3 * f + 2);
      const Vec3& a = positions[ia];
      const Vec3& b = positions[ib];
      const Vec3& c = positions[ic];
      const Vec2 ta = model.uv0(s, ia);
      const Vec2 tb = model.uv0(s, ib);
      const Vec2 tc = model.uv0(s, ic);
      TriangleRecord t;
      t.a = a;
      t.uv_a = ta;
      t.uv_ab = {tb[0] - ta[0], tb[1] - ta[1]};
      t.uv_ac = {tc[0] - ta[0], tc[1] - ta[1]};
      t.edge_ab = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
      t.edge_ac = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
      t.material = uint16_t(s.record.materialIndex & 0xFFFF);
      triangles.push_back(t);
      Box box{a, {0.0f, 0.0f, 0.0f}};
      grow_box(box, b);
      grow_box(box, c);
      boxes.push_back(box);
    }
  }
  CollisionTree tree;
  tree.root = split_triangles(std::move(triangles), std::move(boxes));
  tree.node_index = entries.front().node_index;
  switch (kind) {
    case TreeKind::kStatic:
      set.static_tree = std::move(tree);
      break;
    case TreeKind::kHull:
      set.hull_tree = std::move(tree);
      break;
    case TreeKind::kPerNode:
      set.per_node.insert(set.per_node.begin(), std::move(tree));
      break;
  }
}

CollisionSet build_collision_set(const Model& model, const CrashLogSink& log) {
  CollisionSet set;
  std::vector<SurfaceEntry> entries;
  for (const NodeView& node : model.nodes) {
    if (qualifies(node) && !is_hull_name(node.record.name) && !node_is_animated(model, node)) {
      add_surfaces(node, node_world_matrix(model, node), entries);
    }
  }
  build_tree(model, entries, TreeKind::kStatic, set, log);
  entries.clear();
  for (const NodeView& node : model.nodes) {
    if (is_hull_name(node.record.name)) {
      add_surfaces(node, node_world_matrix(model, node), entries);
    }
  }
  build_tree(model, entries, TreeKind::kHull, set, log);
  for (const NodeView& node : model.nodes) {
    if (qualifies(node) && !is_hull_name(node.record.name) && node_is_animated(model, node)) {
      entries.clear();
      add_surfaces(node, identity_matrix(), entries);
      build_tree(model, entries, TreeKind::kPerNode, set, log);
    }
  }
  return set;
}

void release_collision_set(CollisionSet& set) {
  set.static_tree.reset();
  set.hull_tree.reset();
  set.per_node.clear();
}

}  // namespace model3da
