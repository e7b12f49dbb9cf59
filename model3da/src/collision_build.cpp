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

struct SplitInput {
  const std::vector<TriangleRecord>& triangles;
  const std::vector<Box>& boxes;
};

Box union_box(const SplitInput& in, const std::vector<uint32_t>& set) {
  Vec3 max{-kHuge, -kHuge, -kHuge};
  Vec3 min{kHuge, kHuge, kHuge};
  for (uint32_t t : set) {
    const Box& b = in.boxes[t];
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

std::vector<TriangleRecord> gather(const SplitInput& in, const std::vector<uint32_t>& set) {
  std::vector<TriangleRecord> out;
  out.reserve(set.size());
  for (uint32_t t : set) out.push_back(in.triangles[t]);
  return out;
}

std::unique_ptr<TreeNode> split(const SplitInput& in, std::vector<uint32_t> set) {
  auto node = std::make_unique<TreeNode>();
  node->box = union_box(in, set);
  if (set.size() <= kLeafTriangles) {
    node->own_box = node->box;
    node->triangles = gather(in, set);
    return node;
  }
  const Vec3& half = node->box.half;
  int axis = 0;
  if (half[1] > half[axis]) axis = 1;
  if (half[2] > half[axis]) axis = 2;
  const float centre = node->box.centre[axis];
  const float limit = kStayRatio * half[axis];
  std::vector<uint32_t> stay, groups[2];
  for (uint32_t t : set) {
    const Box& b = in.boxes[t];
    if (b.half[axis] > limit || std::fabs(b.centre[axis] - centre) < kCentreTolerance) {
      stay.push_back(t);
    } else {
      groups[b.centre[axis] >= centre ? 0 : 1].push_back(t);
    }
  }
  // A split that moves every triangle into one child makes no progress (only
  // boxes with NaN or infinite coordinates do that): they stay.
  for (auto& group : groups) {
    if (group.size() == set.size()) {
      stay = std::move(group);
      group.clear();
    }
  }
  // The node's triangle count is 16 bits: the excess goes down to child 0,
  // which then holds fewer triangles than this node.
  if (stay.size() > kMaxNodeTriangles) {
    groups[0].insert(groups[0].end(), stay.begin() + kMaxNodeTriangles, stay.end());
    stay.resize(kMaxNodeTriangles);
  }
  if (!stay.empty()) {
    node->own_box = union_box(in, stay);
    node->triangles = gather(in, stay);
  }
  set.clear();
  set.shrink_to_fit();
  for (int c = 0; c < 2; ++c) {
    if (!groups[c].empty()) node->child[c] = split(in, std::move(groups[c]));
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
  std::vector<uint32_t> all(triangles.size());
  for (size_t i = 0; i < all.size(); ++i) all[i] = uint32_t(i);
  const SplitInput in{triangles, boxes};
  return split(in, std::move(all));
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
