// Loading .3da files: the worked two-helper file, version rules, the model
// operations, and refusal of files that point outside themselves.
#include <gtest/gtest.h>

#include <cmath>

#include <filesystem>

#include "model3da/model.h"
#include "test_support.h"

namespace model3da {
namespace {

using testing::build_file;
using testing::helper_node;
using testing::load_ok;
using testing::mesh_node;

Bytes two_helpers() {
  std::vector<NodeData> nodes;
  nodes.push_back(helper_node("Dummy01_0"));
  nodes.push_back(helper_node("Dummy02_0"));
  return build_file(std::move(nodes));
}

void put(Bytes& bytes, size_t at, uint32_t value) {
  put_u32(bytes.data() + at, value);
}

LoadResult load_refused(const Bytes& bytes, LoadError expected, const std::string& field) {
  LoadResult result = load_model(bytes);
  EXPECT_EQ(result.error, expected) << result.message;
  EXPECT_NE(result.message.find(field), std::string::npos) << result.message;
  return result;
}

TEST(model_loader_test, worked_file_of_two_helpers_has_exact_layout) {
  const Bytes bytes = two_helpers();
  ASSERT_EQ(bytes.size(), 674u);
  EXPECT_EQ(read_u32(bytes.data()), 0x5F414433u);
  EXPECT_EQ(read_u32(bytes.data() + 4), 519u);
  EXPECT_EQ(read_u32(bytes.data() + 8), 2u);
  EXPECT_EQ(read_u32(bytes.data() + 16), 658u);  // materialTableOffset
  EXPECT_EQ(read_u32(bytes.data() + 20), 0u);
  EXPECT_EQ(read_u32(bytes.data() + 32), 68u);
  EXPECT_EQ(read_u32(bytes.data() + 36), 0x7149F2CAu);
  EXPECT_EQ(read_u32(bytes.data() + 48), 0xF149F2CAu);
  EXPECT_EQ(read_u32(bytes.data() + 60), 2u);
  EXPECT_EQ(read_u32(bytes.data() + 64), 658u);  // collisionOffset
  // First node: record at 68, tracks of 45, 53 and 45 bytes after it.
  EXPECT_EQ(read_u32(bytes.data() + 68 + 72), 220u);
  EXPECT_EQ(read_u32(bytes.data() + 68 + 76), 265u);
  EXPECT_EQ(read_u32(bytes.data() + 68 + 80), 318u);
  EXPECT_EQ(read_u32(bytes.data() + 68 + 148), 363u);   // the second node, at an odd offset
  EXPECT_EQ(read_u32(bytes.data() + 363 + 148), 658u);  // last next offset as stored
  // Rotation block: linear, one key, keys right after its 33-byte header.
  EXPECT_EQ(read_i32(bytes.data() + 265 + 5), 1);
  EXPECT_EQ(read_i32(bytes.data() + 265 + 9), 3);
  EXPECT_EQ(read_u32(bytes.data() + 265 + 13), 298u);
  EXPECT_EQ(read_f32(bytes.data() + 298 + 16), 1.0f);  // w of the key's quaternion
  for (size_t i = 658; i < 674; ++i) EXPECT_EQ(bytes[i], std::byte{0}) << i;

  auto model = load_ok(bytes);
  ASSERT_EQ(model->nodes.size(), 2u);
  EXPECT_EQ(model->first_node_offset, 68u);
  EXPECT_EQ(model->nodes[1].offset, 363u);
  EXPECT_EQ(model->nodes[0].next_node_offset, 363u);
  EXPECT_EQ(model->nodes[1].record.nextNodeOffset, 658u);
  EXPECT_EQ(model->nodes[1].next_node_offset, 0u);  // null after loading
  EXPECT_EQ(model->nodes[1].record.surfacesOffset, 0u);
  EXPECT_TRUE(model->collision.present);
  EXPECT_EQ(model->collision.entry_count, 0u);
  EXPECT_FALSE(model->collision.static_tree);
  EXPECT_STREQ(model->nodes[0].rotation->class_name(), "LINEARTrack4D_c");
  EXPECT_STREQ(model->nodes[0].position->class_name(), "LINEARTrack3D_c");
}

// A viewing load tells each node's bytes once the node is checked: the
// chain, node after node, from the first record to the material table.
TEST(model_loader_test, a_viewing_load_tells_each_nodes_bytes_in_chain_order) {
  std::vector<NodeData> nodes;
  nodes.push_back(helper_node("Root_0"));
  nodes.push_back(mesh_node("Body_0", 20));
  nodes.push_back(mesh_node("Door_0", 3));
  const Bytes bytes = build_file(std::move(nodes));
  std::vector<std::span<const std::byte>> told;
  LoadResult loaded = load_model_view(
      bytes, 0, [&](std::span<const std::byte> node) { told.push_back(node); });
  ASSERT_TRUE(loaded.ok()) << loaded.message;
  const Model& model = *loaded.model;
  ASSERT_EQ(told.size(), 3u);
  size_t at = model.header.firstNodeOffset;
  for (size_t i = 0; i < told.size(); ++i) {
    EXPECT_EQ(told[i].data(), bytes.data() + model.nodes[i].offset);
    EXPECT_EQ(size_t(told[i].data() - bytes.data()), at);
    at += told[i].size();
  }
  EXPECT_EQ(at, model.header.materialTableOffset);
  // A refused file tells nothing past the node that fails.
  Bytes broken = bytes;
  put(broken, model.nodes[1].offset + 148, 70);  // node 1's next offset points back
  told.clear();
  EXPECT_FALSE(load_model_view(broken, 0, [&](std::span<const std::byte> node) {
                 told.push_back(node);
               }).ok());
  EXPECT_LE(told.size(), 1u);
}

TEST(model_loader_test, other_version_loads_only_when_expected) {
  Bytes bytes = two_helpers();
  put(bytes, 4, 520);
  LoadResult refused = load_refused(bytes, LoadError::kUnsupportedVersion, "version");
  EXPECT_EQ(refused.block, bytes);  // handed back unchanged
  EXPECT_EQ(load_model(bytes, 521).error, LoadError::kUnsupportedVersion);
  EXPECT_TRUE(load_model(bytes, 520).ok());
  put(bytes, 4, 519);
  EXPECT_TRUE(load_model(bytes, 520).ok());  // 519 always loads
}

TEST(model_loader_test, wrong_magic_and_short_files_are_refused) {
  Bytes bytes = two_helpers();
  bytes[3] = std::byte{'X'};
  load_refused(bytes, LoadError::kBadMagic, "magic");
  load_refused(Bytes(67), LoadError::kTooShort, "68-byte FileHeader");
}

TEST(model_loader_test, file_without_nodes_loads_with_null_first_node) {
  const Bytes bytes = build_file({});
  ASSERT_EQ(bytes.size(), 68u + 16u);
  auto model = load_ok(bytes);
  EXPECT_EQ(model->header.nodeCount, 0u);
  EXPECT_EQ(model->first_node_offset, 0u);
  EXPECT_TRUE(model->nodes.empty());
}

TEST(model_loader_test, file_without_its_collision_section_loads) {
  Bytes bytes = two_helpers();
  bytes.resize(658);
  auto model = load_ok(bytes);
  EXPECT_FALSE(model->collision.present);
}

TEST(model_loader_test, world_matrix_of_child_combines_parent_pose) {
  std::vector<NodeData> nodes;
  NodeData parent = helper_node("Parent_0", {10, 0, 0});
  // 90 degrees about z: (0, 0, sin 45, cos 45).
  const float h = std::sqrt(0.5f);
  set_static_tracks(parent, {10, 0, 0}, {0, 0, h, h}, {2, 2, 2});
  nodes.push_back(std::move(parent));
  nodes.push_back(helper_node("Child_0", {1, 0, 0}, 0));
  auto model = load_ok(build_file(std::move(nodes)));
  const Matrix4 child = node_world_matrix(*model, model->nodes[1]);
  // The child's origin: (1, 0, 0) through the parent's scale 2 and rotation,
  // then the parent's translation. The rotation rows map x to (0, -1, 0).
  const Vec3 origin = transform_point({0, 0, 0}, child);
  EXPECT_NEAR(origin[0], 10.0f, 1e-5f);
  EXPECT_NEAR(origin[1], -2.0f, 1e-5f);
  EXPECT_NEAR(origin[2], 0.0f, 1e-5f);
  const Matrix4 parent_world = node_world_matrix(*model, model->nodes[0]);
  EXPECT_NEAR(parent_world[12], 10.0f, 1e-6f);
  EXPECT_NEAR(parent_world[0], 0.0f, 1e-6f);
  EXPECT_NEAR(parent_world[1], -2.0f, 1e-6f);
  EXPECT_EQ(parent_world[15], 1.0f);
}

TEST(model_loader_test, animation_is_inherited_from_ancestors) {
  std::vector<NodeData> nodes;
  NodeData root = helper_node("Root_0");
  root.position = testing::moving_track({0, 0, 0}, {1, 0, 0});
  nodes.push_back(std::move(root));
  nodes.push_back(helper_node("Child_0", {0, 0, 0}, 0));
  nodes.push_back(helper_node("Other_0"));
  auto model = load_ok(build_file(std::move(nodes)));
  EXPECT_TRUE(node_is_animated(*model, model->nodes[0]));
  EXPECT_TRUE(node_is_animated(*model, model->nodes[1]));
  EXPECT_FALSE(node_is_animated(*model, model->nodes[2]));
}

TEST(model_loader_test, find_by_name_and_hierarchy_view) {
  std::vector<NodeData> nodes;
  nodes.push_back(helper_node("A_0"));
  nodes.push_back(helper_node("B_0", {0, 0, 0}, 0));
  nodes.push_back(helper_node("C_0", {0, 0, 0}, 0));
  nodes.push_back(helper_node("D_0"));
  nodes.push_back(helper_node("B_0"));
  auto model = load_ok(build_file(std::move(nodes)));
  EXPECT_EQ(find_node_by_name(*model, "B_0"), &model->nodes[1]);
  EXPECT_EQ(find_node_by_name(*model, "b_0"), nullptr);
  const auto view = node_hierarchy(*model);
  ASSERT_EQ(view.size(), 5u);
  EXPECT_EQ(view[0].first_child, 2);  // children in reverse chain order
  EXPECT_EQ(view[2].next_sibling, 1);
  EXPECT_EQ(view[1].next_sibling, -1);
  EXPECT_EQ(view[1].parent, 0);
  EXPECT_EQ(view[0].next_sibling, 4);  // top-level nodes in front of entry 0's siblings
  EXPECT_EQ(view[4].next_sibling, 3);
}

TEST(model_loader_test, surfaces_and_materials_are_read_through_views) {
  MaterialRecord material;
  material.name = "paint.mat";
  material.textureCount = 1;
  material.textures[0] = "paint.dds";
  std::vector<NodeData> nodes;
  nodes.push_back(mesh_node("Body_0", 2, {0, 0, 0}, 0));
  auto model = load_ok(build_file(std::move(nodes), {material}));
  const NodeView& node = model->nodes[0];
  ASSERT_EQ(node.surfaces.size(), 1u);
  const SurfaceView& s = node.surfaces[0];
  EXPECT_EQ(s.record.vertexCount, 6u);
  EXPECT_EQ(s.record.listIndexCount, 6u);
  EXPECT_EQ(s.next_surface_offset, 0u);
  EXPECT_EQ(s.record.nextSurfaceOffset, s.offset + 68);
  EXPECT_EQ(model->position(s, 4), (Vec3{1.5f, 1, 0}));
  EXPECT_EQ(model->list_index(s, 5), 5);
  EXPECT_EQ(model->material_name(s), "paint.mat");
  EXPECT_EQ(model->materials[0].textures[0], "paint.dds");
  // Colours default to opaque white.
  EXPECT_EQ(read_u32(model->block.data() + s.record.colorsOffset), 0xFFFFFFFFu);
}

TEST(model_loader_test, refuses_chains_that_loop_or_leave_the_file) {
  Bytes bytes = two_helpers();
  Bytes looping = bytes;
  put(looping, 68 + 148, 68);  // node 0's next offset points at itself
  load_refused(looping, LoadError::kBadNodeChain, "loops");
  Bytes long_chain = bytes;
  put(long_chain, 8, 3);  // a third node that would start at the material table
  load_refused(long_chain, LoadError::kBadNodeChain, "nextNodeOffset");
  Bytes huge = bytes;
  put(huge, 8, 0xFFFFFFFF);
  load_refused(huge, LoadError::kBadNodeChain, "nodeCount");
  Bytes first = bytes;
  put(first, 32, 670);
  load_refused(first, LoadError::kBadNodeChain, "firstNodeOffset");
  put(first, 32, 0);
  load_refused(first, LoadError::kBadNodeChain, "inside the FileHeader");
}

TEST(model_loader_test, refuses_bad_parents_tracks_and_materials) {
  const Bytes bytes = two_helpers();
  Bytes parent = bytes;
  put_u16(parent.data() + 363 + 60, 1);  // node 1 names itself as parent
  load_refused(parent, LoadError::kBadNodeRecord, "parentIndex");
  Bytes interpolation = bytes;
  put(interpolation, 220 + 9, 5);
  load_refused(interpolation, LoadError::kBadTrack, "interpolation 5");
  Bytes keys = bytes;
  put(keys, 265 + 5, 0x7FFFFFFF);
  load_refused(keys, LoadError::kBadTrack, "rotationTrackOffset");
  Bytes zero_keys = bytes;
  put(zero_keys, 318 + 5, 0);
  load_refused(zero_keys, LoadError::kBadTrack, "keyCount 0");
  Bytes track = bytes;
  put(track, 68 + 80, 673);
  load_refused(track, LoadError::kBadTrack, "scaleTrackOffset");
  Bytes materials = bytes;
  put(materials, 20, 1);
  load_refused(materials, LoadError::kBadMaterialTable, "materialCount");
}

TEST(model_loader_test, refuses_surfaces_outside_the_file_and_bad_indices) {
  std::vector<NodeData> nodes;
  nodes.push_back(mesh_node("Body_0", 2));
  const Bytes bytes = build_file(std::move(nodes));
  auto model = load_ok(bytes);
  const uint32_t surface = model->nodes[0].surfaces[0].offset;
  const uint32_t list = model->nodes[0].surfaces[0].record.listIndicesOffset;
  Bytes count = bytes;
  put(count, 68 + 68, 1000000);
  load_refused(count, LoadError::kBadSurface, "surfaceCount");
  Bytes vertices = bytes;
  put(vertices, surface + 60, 0x40000000);
  load_refused(vertices, LoadError::kBadSurface, "vertexCount");
  Bytes index = bytes;
  put_u16(index.data() + list + 2, 6);
  load_refused(index, LoadError::kBadIndices, "vertex 6");
  Bytes material = bytes;
  put(material, surface, 3);
  load_refused(material, LoadError::kBadSurface, "materialIndex");
  Bytes strip = bytes;
  put(strip, surface + 16, 4);  // strip indices counted but absent
  load_refused(strip, LoadError::kBadSurface, "stripIndicesOffset");
}

TEST(model_loader_test, refuses_collision_sections_that_do_not_add_up) {
  Bytes bytes = two_helpers();
  Bytes sizes = bytes;
  put(sizes, 658, 808);
  load_refused(sizes, LoadError::kBadCollisionSection, "do not add up");
  Bytes offset = bytes;
  put(offset, 64, 660);
  load_refused(offset, LoadError::kBadCollisionSection, "collisionOffset");
  Bytes trailing = bytes;
  trailing.push_back(std::byte{0});
  load_refused(trailing, LoadError::kBadCollisionSection, "do not add up");
}

// Every prefix of a file with meshes, tracks, materials and collision trees
// is refused without reading outside it, except the one that ends exactly
// where the collision section begins (a file not yet given its section).
TEST(model_loader_test, every_truncated_prefix_is_refused_cleanly) {
  MaterialRecord material;
  material.name = "m.mat";
  std::vector<NodeData> nodes;
  nodes.push_back(mesh_node("Static_0", 14, {1, 2, 3}, 0));
  NodeData moving = mesh_node("Moving_0", 3);
  moving.position = testing::moving_track({0, 0, 0}, {0, 5, 0});
  nodes.push_back(std::move(moving));
  nodes.push_back(mesh_node("CollisionHull_0", 2));
  const Bytes bytes = build_file(std::move(nodes), {material});
  auto model = load_ok(bytes);
  ASSERT_TRUE(model->collision.static_tree);
  ASSERT_TRUE(model->collision.hull_tree);
  ASSERT_EQ(model->collision.entry_count, 1u);
  const uint32_t section = model->header.collisionOffset;
  for (size_t length = 0; length < bytes.size(); ++length) {
    Bytes prefix(bytes.begin(), bytes.begin() + std::ptrdiff_t(length));
    const LoadResult result = load_model(std::move(prefix));
    EXPECT_EQ(result.ok(), length == section) << length << ": " << result.message;
    if (!result.ok()) {
      EXPECT_FALSE(result.message.empty());
    }
  }
}

// The seed files of the loader's fuzzer load, and every prefix of them is
// refused (the car holds TCB, Bezier and Euler tracks, materials and all three
// kinds of tree).
TEST(model_loader_test, seed_files_load_and_their_prefixes_are_refused) {
  const std::filesystem::path corpus =
      std::filesystem::path(GM_SOURCE_DIR) / "model3da/fuzz/fuzz_model3da_load_corpus";
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    LoadResult whole = load_model_file(entry.path());
    ASSERT_TRUE(whole.ok()) << entry.path() << ": " << whole.message;
    ++files;
    const Bytes bytes = whole.model->block;
    const uint32_t section = whole.model->header.collisionOffset;
    for (size_t length = 0; length < bytes.size(); ++length) {
      const LoadResult result =
          load_model(Bytes(bytes.begin(), bytes.begin() + std::ptrdiff_t(length)));
      EXPECT_EQ(result.ok(), length == section) << entry.path() << " " << length;
    }
  }
  EXPECT_GE(files, 3);
}

}  // namespace
}  // namespace model3da
