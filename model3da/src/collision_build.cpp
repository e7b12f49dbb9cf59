// Building the collision set and splitting AABB trees.
#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "collision_tree.h"
#include "filesystem/ascii_case.h"
#include "model3da/collision.h"
#include "model3da/crash_log.h"

namespace model3da {
namespace {

bool is_hull_name(const std::string& name) {
  return ascii::equal_no_case(name, "collisionhull_0");
}

bool qualifies(const NodeView& node) {
  const uint32_t type = node.record.nodeType;
  return !node.record.name.empty() && node.record.name.back() == '0' && type != MESH_SKINNED_3DA &&
         type != HELPER_3DA && type != BONE_3DA;
}

void add_surfaces(const NodeView& node, const Matrix4& matrix, std::vector<SurfaceEntry>& out) {
  for (const SurfaceView& surface : node.surfaces) out.push_back({&surface, matrix, node.index});
}

// The tree of nodes of a split, its triangles' records from `record_of`.
template <class RecordOf>
std::unique_ptr<TreeNode> tree_of_nodes(const collision::FlatTree& tree, int32_t index,
                                        const RecordOf& record_of) {
  const collision::FlatNode& flat = tree.nodes[size_t(index)];
  auto node = std::make_unique<TreeNode>();
  node->box = flat.box;
  node->own_box = flat.own_box;
  node->triangles.reserve(flat.count);
  for (uint32_t i = flat.first; i < flat.first + flat.count; ++i) {
    node->triangles.push_back(record_of(tree.order[i]));
  }
  for (int c = 0; c < 2; ++c) {
    if (flat.child[c] != collision::kNoChild) {
      node->child[c] = tree_of_nodes(tree, flat.child[c], record_of);
    }
  }
  return node;
}

}  // namespace

namespace collision {

CollisionPlan collision_plan(const Model& model) {
  CollisionPlan plan;
  for (const NodeView& node : model.nodes) {
    if (qualifies(node) && !is_hull_name(node.record.name) && !node_is_animated(model, node)) {
      add_surfaces(node, node_world_matrix(model, node), plan.static_entries);
    }
  }
  for (const NodeView& node : model.nodes) {
    if (is_hull_name(node.record.name)) {
      add_surfaces(node, node_world_matrix(model, node), plan.hull_entries);
    }
  }
  for (const NodeView& node : model.nodes) {
    if (qualifies(node) && !is_hull_name(node.record.name) && node_is_animated(model, node)) {
      add_surfaces(node, identity_matrix(), plan.per_node.emplace_back());
    }
  }
  return plan;
}

}  // namespace collision

CrashLogSink crash_log_sink() {
  return [](const std::string& line) { fs::crash_log_line("%s", line.c_str()); };
}

std::string max_init_size_line() {
  return fmt::format("aabbtree::build(..): Init set size >= MAX_INIT_SIZE({})\n", kMaxInitSize);
}

void grow_box(Box& box, const Vec3& point) {
  collision::grow(box, point);
}

std::unique_ptr<TreeNode> split_triangles(std::vector<TriangleRecord> triangles,
                                          std::vector<Box> boxes) {
  const collision::FlatTree tree = collision::split_boxes(boxes);
  return tree_of_nodes(tree, 0, [&](uint32_t i) { return triangles[i]; });
}

void build_tree(const Model& model, std::span<const SurfaceEntry> entries, TreeKind kind,
                CollisionSet& set, const CrashLogSink& log) {
  if (entries.empty()) return;
  if (entries.size() >= kMaxInitSize) {
    if (log) log(max_init_size_line());
    return;
  }
  std::optional<TreeTriangles> triangles = TreeTriangles::gather(model, entries);
  if (!triangles) return;
  const collision::FlatTree split = collision::split_boxes(collision::triangle_boxes(*triangles));
  CollisionTree tree;
  tree.root = tree_of_nodes(split, 0, [&](uint32_t i) { return triangles->record(i); });
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
  const collision::CollisionPlan plan = collision::collision_plan(model);
  build_tree(model, plan.static_entries, TreeKind::kStatic, set, log);
  build_tree(model, plan.hull_entries, TreeKind::kHull, set, log);
  for (const std::vector<SurfaceEntry>& entries : plan.per_node) {
    build_tree(model, entries, TreeKind::kPerNode, set, log);
  }
  return set;
}

void release_collision_set(CollisionSet& set) {
  set.static_tree.reset();
  set.hull_tree.reset();
  set.per_node.clear();
}

}  // namespace model3da
