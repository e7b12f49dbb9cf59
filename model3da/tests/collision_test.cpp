// Collision trees: qualification of nodes, tree splits, spaces, the
// 256-entry limit and the section's byte layout.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <random>

#include "model3da/collision.h"
#include "model3da/crash_log.h"
#include "test_support.h"

namespace model3da {
namespace {

using testing::build_file;
using testing::load_ok;
using testing::mesh_node;
using testing::moving_track;

std::vector<NodeData> one(NodeData node) {
  std::vector<NodeData> nodes;
  nodes.push_back(std::move(node));
  return nodes;
}

TEST(collision_tree_test, twelve_triangles_make_one_leaf_of_808_bytes) {
  const Bytes bytes = build_file(one(mesh_node("Box_0", 12)));
  auto model = load_ok(bytes);
  const uint32_t section = model->header.collisionOffset;
  ASSERT_EQ(bytes.size(), section + 16u + 808u);
  EXPECT_EQ(read_u32(bytes.data() + section), 808u);  // static tree size
  EXPECT_EQ(read_u32(bytes.data() + section + 4), 0u);
  EXPECT_EQ(read_u32(bytes.data() + section + 8), 0u);
  EXPECT_EQ(read_u32(bytes.data() + section + 12), 0u);
  const std::byte* root = bytes.data() + section + 16;
  EXPECT_EQ(read_u16(root + 24), 12);
  EXPECT_EQ(read_u32(root + 28), 0u);  // no children
  EXPECT_EQ(read_u32(root + 32), 0u);
  EXPECT_EQ(read_u32(root + 60), section + 16 + 64);
  // Node box: x from 0 to 11.5, y 0..1, z 0..1; own box the same.
  EXPECT_FLOAT_EQ(read_f32(root), 5.75f);
  EXPECT_FLOAT_EQ(read_f32(root + 12), 5.75f);
  EXPECT_FLOAT_EQ(read_f32(root + 16), 0.5f);
  EXPECT_EQ(std::memcmp(root, root + 36, 24), 0);
  // Triangle 1: A = (1, 0, 0), uv (0, .5), uv deltas (.25, 0) (.5, 0),
  // edges (.5, 1, 0) and (0, 0, 1), material 0xFFFF.
  const std::byte* t = root + 64 + 62;
  EXPECT_EQ(read_f32(t), 1.0f);
  EXPECT_EQ(read_f32(t + 16), 0.5f);
  EXPECT_EQ(read_f32(t + 20), 0.25f);
  EXPECT_EQ(read_f32(t + 28), 0.5f);
  EXPECT_EQ(read_f32(t + 36), 0.5f);
  EXPECT_EQ(read_f32(t + 40), 1.0f);
  EXPECT_EQ(read_f32(t + 56), 1.0f);
  EXPECT_EQ(read_u16(t + 60), 0xFFFF);
  ASSERT_TRUE(model->collision.static_tree);
  EXPECT_EQ(model->collision.static_tree->node_count, 1u);
}

TEST(collision_tree_test, thirteen_triangles_split_along_the_longest_axis) {
  auto model = load_ok(build_file(one(mesh_node("Row_0", 13))));
  const CollisionSet set = build_collision_set(*model);
  ASSERT_TRUE(set.static_tree);
  const TreeNode& root = *set.static_tree->root;
  // x spans 0..12.5 (centre 6.25), the longest axis. Triangle boxes are 0.5
  // wide; triangle 6 is centred on the split and stays, 7..12 go to child 0
  // (at or above the centre), 0..5 to child 1.
  ASSERT_EQ(root.triangles.size(), 1u);
  EXPECT_EQ(root.triangles[0].a[0], 6.0f);
  ASSERT_TRUE(root.child[0] && root.child[1]);
  EXPECT_EQ(root.child[0]->triangles.size(), 6u);
  EXPECT_EQ(root.child[1]->triangles.size(), 6u);
  EXPECT_EQ(root.child[0]->triangles[0].a[0], 7.0f);  // kept in input order
  EXPECT_FALSE(root.child[0]->child[0]);
  EXPECT_EQ(tree_size(root), 3u * 64 + 13 * 62);
  // Written depth first: root, then child 0, then child 1.
  const Bytes section = collision_section_bytes(set, 1000);
  const std::byte* r = section.data() + 16;
  EXPECT_EQ(read_u16(r + 24), 1);
  EXPECT_EQ(read_u32(r + 28), 1000u + 16 + 126);
  EXPECT_EQ(read_u32(r + 32), 1000u + 16 + 126 + 64 + 6 * 62);
}

TEST(collision_tree_test, straddling_triangles_stay_in_the_node) {
  std::vector<TriangleRecord> triangles(20);
  std::vector<Box> boxes;
  for (int i = 0; i < 20; ++i) {
    // Long triangles across the whole x range: they all straddle the split.
    triangles[size_t(i)].a = {0, float(i), 0};
    boxes.push_back({{5, float(i) * 0.1f, 0}, {5, 0.1f, 0}});
  }
  auto root = split_triangles(triangles, boxes);
  EXPECT_EQ(root->triangles.size(), 20u);
  EXPECT_FALSE(root->child[0]);
  EXPECT_FALSE(root->child[1]);

  // Mixed: two straddle, the rest split to either side; one sits on the centre.
  std::vector<Box> mixed;
  for (int i = 0; i < 14; ++i) mixed.push_back({{float(i), 0, 0}, {0.1f, 0.1f, 0.1f}});
  mixed[3] = {{6.5f, 0, 0}, {6.0f, 0.1f, 0.1f}};
  mixed[9] = {{6.50005f, 0, 0}, {0.1f, 0.1f, 0.1f}};
  std::vector<TriangleRecord> tris(14);
  for (int i = 0; i < 14; ++i) tris[size_t(i)].material = uint16_t(i);
  auto node = split_triangles(tris, mixed);
  ASSERT_EQ(node->triangles.size(), 2u);
  EXPECT_EQ(node->triangles[0].material, 3);
  EXPECT_EQ(node->triangles[1].material, 9);
  EXPECT_FLOAT_EQ(node->own_box.half[0], 6.0f);
  EXPECT_EQ(node->child[0]->triangles.size(), 6u);  // 7, 8, 10 .. 13
  EXPECT_EQ(node->child[1]->triangles.size(), 6u);  // 0, 1, 2, 4, 5, 6
}

TEST(collision_tree_test, degenerate_boxes_terminate) {
  // Coordinates that are not numbers never separate; a node keeps at most
  // 65535 triangles and passes the rest down.
  std::vector<Box> boxes(70000, Box{{NAN, NAN, NAN}, {0, 0, 0}});
  std::vector<TriangleRecord> triangles(70000);
  auto root = split_triangles(triangles, boxes);
  EXPECT_EQ(root->triangles.size(), 65535u);
  ASSERT_TRUE(root->child[0]);
  EXPECT_EQ(root->child[0]->triangles.size(), 70000u - 65535u);
}

// The split rules written out plainly, one copy of every triangle per group:
// the oracle for split_triangles.
struct PlainNode {
  Box box;
  Box own_box;           // when it has own triangles
  std::vector<int> own;  // triangle numbers (kept in the material field)
  std::unique_ptr<PlainNode> child[2];
};

Box plain_union(const std::vector<std::pair<Box, int>>& set) {
  Vec3 max{-1e30f, -1e30f, -1e30f}, min{1e30f, 1e30f, 1e30f};
  for (const auto& [b, id] : set) {
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

std::unique_ptr<PlainNode> plain_split(const std::vector<std::pair<Box, int>>& set) {
  auto node = std::make_unique<PlainNode>();
  node->box = plain_union(set);
  if (set.size() <= 12) {
    for (const auto& item : set) node->own.push_back(item.second);
    node->own_box = node->box;
    return node;
  }
  int axis = 0;
  for (int a = 1; a < 3; ++a) {
    if (node->box.half[a] > node->box.half[axis]) axis = a;
  }
  std::vector<std::pair<Box, int>> own;
  std::vector<std::pair<Box, int>> groups[2];
  for (const auto& item : set) {
    const Box& b = item.first;
    if (b.half[axis] > 0.8f * node->box.half[axis] ||
        std::fabs(b.centre[axis] - node->box.centre[axis]) < 0.0001f) {
      node->own.push_back(item.second);
      own.push_back(item);
    } else {
      groups[b.centre[axis] >= node->box.centre[axis] ? 0 : 1].push_back(item);
    }
  }
  // No progress (coordinates that are not numbers): all stay.
  if (groups[0].size() == set.size() || groups[1].size() == set.size()) {
    for (auto& group : groups) {
      for (const auto& item : group) {
        node->own.push_back(item.second);
        own.push_back(item);
      }
      group.clear();
    }
  }
  node->own_box = plain_union(own);
  for (int c = 0; c < 2; ++c) {
    if (!groups[c].empty()) node->child[c] = plain_split(groups[c]);
  }
  return node;
}

// The six floats of a box as bits, so that 0 and -0 differ.
std::array<uint32_t, 6> bits(const Box& box) {
  std::array<uint32_t, 6> out;
  for (int a = 0; a < 3; ++a) {
    out[size_t(a)] = std::bit_cast<uint32_t>(box.centre[size_t(a)]);
    out[size_t(a) + 3] = std::bit_cast<uint32_t>(box.half[size_t(a)]);
  }
  return out;
}

void expect_same_tree(const TreeNode& fast, const PlainNode& plain) {
  EXPECT_EQ(bits(fast.box), bits(plain.box));
  ASSERT_EQ(fast.triangles.size(), plain.own.size());
  if (!plain.own.empty()) {
    EXPECT_EQ(bits(fast.own_box), bits(plain.own_box));
  }
  for (size_t i = 0; i < plain.own.size(); ++i) {
    EXPECT_EQ(fast.triangles[i].material, plain.own[i]);
  }
  for (int c = 0; c < 2; ++c) {
    ASSERT_EQ(bool(fast.child[c]), bool(plain.child[c]));
    if (plain.child[c]) expect_same_tree(*fast.child[c], *plain.child[c]);
  }
}

// Splits `boxes` (triangle i has material i, so the leaves tell the
// triangles apart) and compares the tree with the plain rules' tree.
std::unique_ptr<TreeNode> expect_split_matches_plain(const std::vector<Box>& boxes) {
  std::vector<TriangleRecord> triangles(boxes.size());
  std::vector<std::pair<Box, int>> items;
  for (size_t i = 0; i < boxes.size(); ++i) {
    triangles[i].material = uint16_t(i);
    items.push_back({boxes[i], int(i)});
  }
  auto fast = split_triangles(triangles, boxes);
  expect_same_tree(*fast, *plain_split(items));
  return fast;
}

TEST(collision_tree_test, split_matches_the_plain_rules_on_random_boxes) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> position(-50, 50);
  std::uniform_real_distribution<float> size(0, 4);
  for (int round = 0; round < 20; ++round) {
    const int count = 1 + int(random() % 3000);
    std::vector<Box> boxes;
    for (int i = 0; i < count; ++i) {
      boxes.push_back(Box{{position(random), position(random) * 0.2f, std::floor(position(random))},
                          {size(random), size(random), random() % 10 == 0 ? 60.0f : size(random)}});
    }
    expect_split_matches_plain(boxes);
  }
}

TEST(collision_tree_test, split_matches_the_plain_rules_bit_for_bit_on_few_values) {
  // Ends of 0 and -0 compare equal, so the box of a group depends on which
  // comes first; flat boxes, and boxes that share one centre, stay together;
  // infinite boxes make no progress once none else is left, and stay.
  const float values[] = {0.0f, -0.0f, 1.0f, -1.0f, 0.5f, -0.5f, 2.0f};
  std::mt19937 random(3);
  for (int round = 0; round < 60; ++round) {
    const int count = round == 0 ? 1 : 1 + int(random() % 400);
    const bool flat = round % 3 == 1;
    const bool one_centre = round % 10 == 9;
    const bool some_nan = round % 10 == 4;
    const bool some_infinite = round % 10 == 6;  // none but those may be left to split
    std::vector<Box> boxes;
    for (int i = 0; i < count; ++i) {
      Box b;
      for (size_t a = 0; a < 3; ++a) {
        b.centre[a] = one_centre ? 1.0f : values[random() % 7];
        b.half[a] = flat ? (random() % 2 ? 0.0f : -0.0f) : std::fabs(values[random() % 7]) * 0.25f;
      }
      if (some_nan && random() % 3 == 0) b.centre[random() % 3] = NAN;
      if (some_infinite && random() % 3 == 0) b = Box{{INFINITY, INFINITY, INFINITY}, {0, 0, 0}};
      boxes.push_back(b);
    }
    const auto fast = expect_split_matches_plain(boxes);
    if (one_centre) {
      EXPECT_EQ(fast->triangles.size(), size_t(count));
    }
  }
}

TEST(collision_tree_test, triangle_boxes_are_vertex_a_grown_by_b_and_c) {
  // Coordinates from a few values, so that vertices often meet a box's face
  // or lie inside it; a matrix that scales, turns and moves.
  const float values[] = {0.0f, -0.0f, 1.0f, -1.0f, 0.5f, 3.0f, -2.5f, 1e-7f};
  std::mt19937 random(5);
  NodeData node = mesh_node("Grid_0", 0);
  SurfaceData& s = node.surfaces[0];
  for (int t = 0; t < 600; ++t) {
    for (int k = 0; k < 3; ++k) {
      s.positions.push_back(
          {values[random() % 8], values[random() % 8], values[random() % 8] * float(t % 3)});
      s.uv[0].push_back({0, 0});
      s.list_indices.push_back(uint16_t(3 * t + k));
    }
  }
  const std::vector<Vec3> positions = s.positions;
  auto model = load_ok(build_file(one(std::move(node))));
  for (const bool turned : {false, true}) {
    SurfaceEntry entry{&model->nodes.at(0).surfaces.at(0), identity_matrix(), 0};
    if (turned) {
      entry.matrix = {0, 2, 0, 0, -0.5f, 0, 0, 0, 0, 0, 1, 0, 3, -1, 0.25f, 1};
    }
    const std::optional<TreeTriangles> triangles = TreeTriangles::gather(*model, {&entry, 1});
    ASSERT_TRUE(triangles);
    ASSERT_EQ(triangles->size(), 600u);
    for (uint32_t i = 0; i < 600; ++i) {
      const auto corner = [&](int k) {
        return transform_point(positions[3 * i + uint32_t(k)], entry.matrix);
      };
      Box expected{corner(0), {0, 0, 0}};
      grow_box(expected, corner(1));
      grow_box(expected, corner(2));
      ASSERT_EQ(bits(triangles->box(i)), bits(expected)) << "triangle " << i;
    }
  }
}

TEST(collision_tree_test, grow_box_keeps_the_opposite_face) {
  Box box{{0, 0, 0}, {1, 1, 1}};
  grow_box(box, {3, 0.5f, -5});
  EXPECT_FLOAT_EQ(box.centre[0], 1.0f);  // -1 .. 3
  EXPECT_FLOAT_EQ(box.half[0], 2.0f);
  EXPECT_FLOAT_EQ(box.centre[1], 0.0f);   // inside: unchanged
  EXPECT_FLOAT_EQ(box.centre[2], -2.0f);  // -5 .. 1
  EXPECT_FLOAT_EQ(box.half[2], 3.0f);
}

TEST(collision_set_test, hull_in_any_case_goes_only_to_the_hull_tree) {
  std::vector<NodeData> nodes;
  NodeData hull = mesh_node("COLLISIONhull_0", 2);
  hull.position = moving_track({0, 0, 0}, {1, 1, 1});  // animated, still only the hull
  nodes.push_back(std::move(hull));
  nodes.push_back(mesh_node("collisionhull_0", 1, {0, 0, 5}));
  auto model = load_ok(build_file(std::move(nodes)));
  EXPECT_FALSE(model->collision.static_tree);
  ASSERT_TRUE(model->collision.hull_tree);
  EXPECT_EQ(model->collision.hull_tree->triangle_count, 3u);
  EXPECT_EQ(model->collision.entry_count, 0u);
}

TEST(collision_set_test, lower_detail_and_non_mesh_nodes_get_no_tree) {
  std::vector<NodeData> nodes;
  nodes.push_back(mesh_node("Body_1", 3));
  NodeData moving = mesh_node("Door_1", 3);
  moving.position = moving_track({0, 0, 0}, {1, 0, 0});
  nodes.push_back(std::move(moving));
  NodeData skinned = mesh_node("Skin_0", 3);
  skinned.node_type = MESH_SKINNED_3DA;
  nodes.push_back(std::move(skinned));
  const Bytes bytes = build_file(std::move(nodes));
  auto model = load_ok(bytes);
  EXPECT_EQ(bytes.size(), model->header.collisionOffset + 16u);
  EXPECT_FALSE(model->collision.static_tree);
  EXPECT_EQ(model->collision.entry_count, 0u);
}

TEST(collision_set_test, static_trees_in_world_space_animated_in_node_space) {
  std::vector<NodeData> nodes;
  nodes.push_back(mesh_node("Ground_0", 1, {100, 0, 0}));
  NodeData door = mesh_node("Door_0", 1, {0, 50, 0});
  door.position = moving_track({0, 50, 0}, {0, 60, 0});
  nodes.push_back(std::move(door));
  NodeData wheel = mesh_node("Wheel_0", 1);
  wheel.position = moving_track({0, 0, 7}, {0, 0, 9});
  nodes.push_back(std::move(wheel));
  auto model = load_ok(build_file(std::move(nodes)));
  const CollisionSet set = build_collision_set(*model);
  ASSERT_TRUE(set.static_tree);
  EXPECT_EQ(set.static_tree->root->triangles[0].a[0], 100.0f);
  ASSERT_EQ(set.per_node.size(), 2u);
  EXPECT_EQ(set.per_node[0].node_index, 2u);  // decreasing node index
  EXPECT_EQ(set.per_node[1].node_index, 1u);
  EXPECT_EQ(set.per_node[1].root->triangles[0].a[1], 0.0f);  // untransformed
  // In the file: entries in the same order, each tree after the entry list.
  ASSERT_EQ(model->collision.entries.size(), 2u);
  EXPECT_EQ(model->collision.entries[0].node_index, 2u);
  EXPECT_EQ(model->collision.entries[1].node_index, 1u);
  const uint32_t list = model->header.collisionOffset + 16 + model->collision.static_tree_size;
  EXPECT_EQ(read_u32(model->block.data() + list + 8), list + 12);
  EXPECT_EQ(read_u32(model->block.data() + list + 20), 0u);
  EXPECT_EQ(model->collision.entries[0].tree.offset, list + 24);
  EXPECT_EQ(model->collision.entry_area_size, 24u + 2 * (64 + 62));
}

TEST(collision_set_test, entry_list_of_256_surfaces_logs_and_builds_nothing) {
  NodeData node = mesh_node("Big_0", 1);
  for (int i = 0; i < 255; ++i) node.surfaces.push_back(node.surfaces[0]);
  std::vector<std::string> lines;
  const Bytes bytes =
      build_file(one(std::move(node)), {}, [&](const std::string& line) { lines.push_back(line); });
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "aabbtree::build(..): Init set size >= MAX_INIT_SIZE(256)\n");
  auto model = load_ok(bytes);
  EXPECT_FALSE(model->collision.static_tree);
  // 255 surfaces still build.
  NodeData fewer = mesh_node("Big_0", 1);
  for (int i = 0; i < 254; ++i) fewer.surfaces.push_back(fewer.surfaces[0]);
  lines.clear();
  auto built = load_ok(build_file(one(std::move(fewer)), {},
                                  [&](const std::string& line) { lines.push_back(line); }));
  EXPECT_TRUE(lines.empty());
  ASSERT_TRUE(built->collision.static_tree);
  EXPECT_EQ(built->collision.static_tree->triangle_count, 255u);
}

TEST(collision_set_test, limit_line_goes_to_the_crash_log_by_default) {
  NodeData node = mesh_node("Big_0", 1);
  for (int i = 0; i < 299; ++i) node.surfaces.push_back(node.surfaces[0]);
  auto model = load_ok(build_file(one(std::move(node)), {}, [](const std::string&) {}));
  std::FILE* console = std::tmpfile();
  ASSERT_NE(console, nullptr);
  fs::crash_log_start_without_file();
  fs::crash_log_set_console(console);
  const CollisionSet set = build_collision_set(*model);
  fs::crash_log_set_console(nullptr);
  fs::crash_log_close();
  EXPECT_FALSE(set.static_tree);
  std::rewind(console);
  char text[200] = {};
  const size_t n = std::fread(text, 1, sizeof(text) - 1, console);
  std::fclose(console);
  EXPECT_EQ(std::string(text, n), "aabbtree::build(..): Init set size >= MAX_INIT_SIZE(256)\r\n");
}

TEST(collision_set_test, corrupt_trees_are_refused_on_load) {
  const Bytes bytes = build_file(one(mesh_node("Row_0", 13)));
  auto model = load_ok(bytes);
  const uint32_t root = model->header.collisionOffset + 16;
  Bytes backwards = bytes;
  put_u32(backwards.data() + root + 28, root);  // child 0 is the node itself
  EXPECT_EQ(load_model(backwards).error, LoadError::kBadCollisionSection);
  Bytes count = bytes;
  put_u16(count.data() + root + 126 + 24, 60000);  // child 0's triangle count
  EXPECT_EQ(load_model(count).error, LoadError::kBadCollisionSection);
}

TEST(collision_set_test, release_empties_the_set) {
  auto model = load_ok(build_file(one(mesh_node("Row_0", 3))));
  CollisionSet set = build_collision_set(*model);
  ASSERT_TRUE(set.static_tree);
  release_collision_set(set);
  EXPECT_FALSE(set.static_tree);
  const Bytes empty = collision_section_bytes(set, 0);
  EXPECT_EQ(empty, Bytes(16, std::byte{0}));
}

}  // namespace
}  // namespace model3da
