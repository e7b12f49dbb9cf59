// The collision section streamed to a file one tree at a time against the
// whole collision set written at once, and the file read back as a view.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>

#include "collision_stream.h"
#include "collision_tree.h"
#include "model3da/collision.h"
#include "section_file.h"
#include "test_support.h"

namespace model3da {
namespace {

using testing::build_file;
using testing::load_ok;
using testing::mesh_node;
using testing::moving_track;

// A surface of `count` random triangles around `centre`, some of them large
// enough to stay in the nodes they are split at.
SurfaceData random_surface(std::mt19937& random, int count, Vec3 centre, uint32_t material) {
  std::uniform_real_distribution<float> near(-20, 20);
  SurfaceData s;
  s.material_index = material;
  for (int t = 0; t < count; ++t) {
    const float scale = random() % 8 == 0 ? 15.0f : 1.0f;
    for (int k = 0; k < 3; ++k) {
      s.positions.push_back({centre[0] + near(random) * (k == 0 ? 1.0f : 0.05f * scale),
                             centre[1] + near(random), centre[2] + near(random) * 0.5f});
      s.uv[0].push_back({near(random), near(random)});
    }
    for (int k = 0; k < 3; ++k) s.list_indices.push_back(uint16_t(3 * t + (k + t) % 3));
  }
  return s;
}

// A surface of `count` copies of one triangle: all of them stay in one node.
SurfaceData same_triangles(int count, uint32_t material) {
  SurfaceData s;
  s.material_index = material;
  s.positions = {{-1, 0, 0}, {1, 0, 0}, {0, 2, 1}};
  s.uv[0] = {{0, 0}, {1, 0}, {0, 1}};
  for (int t = 0; t < count; ++t) s.list_indices.insert(s.list_indices.end(), {0, 1, 2});
  return s;
}

// Random triangles whose first corner has a coordinate that is not a number
// now and then, so that their boxes are not numbers either.
// The file of `nodes` with two materials, "A" and "B".
Bytes build_with_materials_a_and_b(std::vector<NodeData> nodes) {
  std::vector<MaterialRecord> materials(2);
  materials[0].name = "A";
  materials[1].name = "B";
  return build_file(std::move(nodes), std::move(materials));
}

SurfaceData some_not_numbers(std::mt19937& random, int count) {
  SurfaceData s = random_surface(random, count, {0, 0, 0}, 0);
  for (int t = 0; t < count; t += 3) {
    const uint16_t first = s.list_indices[size_t(3 * t)];
    s.positions[first][size_t(t % 3)] = std::numeric_limits<float>::quiet_NaN();
  }
  return s;
}

class collision_stream_test : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        std::filesystem::temp_directory_path() /
        ("collision_stream_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // The model's file without its collision section, as the exporter writes
  // it before it appends the section.
  std::filesystem::path write_without_section(const Model& model) {
    const auto path = dir_ / "m.3da";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(model.block.data()),
               std::streamsize(model.header.collisionOffset));
    return path;
  }

  Bytes read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Bytes bytes(text.size());
    std::memcpy(bytes.data(), text.data(), text.size());
    return bytes;
  }

  std::filesystem::path dir_;
};

TEST_F(collision_stream_test, streamed_section_is_the_sets_section_byte_for_byte) {
  std::mt19937 random(11);
  std::vector<NodeData> nodes;
  // Static meshes of several surfaces, one rotated under a moved parent.
  NodeData ground = mesh_node("Ground_0", 1, {5, 0, 0});
  ground.surfaces = {random_surface(random, 900, {0, 0, 0}, 0),
                     random_surface(random, 500, {30, 5, 0}, 1)};
  nodes.push_back(std::move(ground));
  NodeData rock = mesh_node("Rock_0", 1, {0, 3, 0});
  rock.parent_index = 0;
  rock.rotation = constant_rotation_track({0, 0.38268343f, 0, 0.9238795f});
  rock.surfaces = {random_surface(random, 300, {-10, 0, 4}, 2)};
  nodes.push_back(std::move(rock));
  // A hull in any case, and three animated nodes (one without triangles).
  NodeData hull = mesh_node("collisionHULL_0", 1);
  hull.surfaces = {random_surface(random, 40, {0, 0, 0}, 0)};
  nodes.push_back(std::move(hull));
  for (const char* name : {"DoorA_0", "Empty_0", "DoorB_0"}) {
    NodeData door = mesh_node(name, 1);
    door.position = moving_track({0, 0, 0}, {1, 2, 3});
    door.surfaces = {
        random_surface(random, std::string(name) == "Empty_0" ? 0 : 200, {2, 2, 2}, 1)};
    nodes.push_back(std::move(door));
  }
  std::vector<MaterialRecord> materials(3);
  for (size_t m = 0; m < materials.size(); ++m) materials[m].name = "Mat" + std::to_string(m);
  const Bytes whole = build_file(std::move(nodes), std::move(materials));
  auto model = load_ok(whole);
  ASSERT_TRUE(model->collision.static_tree && model->collision.hull_tree);
  ASSERT_EQ(model->collision.entry_count, 2u);

  const auto path = write_without_section(*model);
  std::vector<std::string> lines;
  std::vector<std::span<const std::byte>> told;
  const CollisionInput input = gather_collision_input(
      *model, [&](const std::string& line) { lines.push_back(line); },
      [&](std::span<const std::byte> bytes) { told.push_back(bytes); });
  EXPECT_EQ(append_collision_section(path, input), "");
  EXPECT_EQ(read(path), whole);
  EXPECT_TRUE(lines.empty());

  // Each surface whose triangles were taken is told once, with bytes that
  // hold all that was read of it.
  const auto covered = [&](uint64_t from, uint64_t length) {
    return std::any_of(told.begin(), told.end(), [&](std::span<const std::byte> bytes) {
      const auto start = uint64_t(bytes.data() - model->bytes.data());
      return from >= start && from + length <= start + bytes.size();
    });
  };
  size_t surfaces = 0;
  for (const NodeView& node : model->nodes) {
    for (const SurfaceView& s : node.surfaces) {
      if (s.record.listIndexCount == 0) continue;
      ++surfaces;
      const uint64_t n = s.record.vertexCount;
      EXPECT_TRUE(covered(s.record.positionsOffset, 12 * n)) << node.record.name;
      EXPECT_TRUE(covered(s.record.uvOffset[0], 8 * n)) << node.record.name;
      EXPECT_TRUE(covered(s.record.listIndicesOffset, 2 * uint64_t(s.record.listIndexCount)))
          << node.record.name;
    }
  }
  EXPECT_EQ(told.size(), surfaces);
}

TEST_F(collision_stream_test, more_than_a_node_holds_and_oversized_lists_match_too) {
  // 70 000 triangles that all straddle the split stay in the root up to its
  // 16-bit count; the rest go to child 0. A node of 256 surfaces is logged.
  NodeData wide = mesh_node("Wide_0", 1);
  SurfaceData& s = wide.surfaces[0];
  s = SurfaceData{};
  for (int j = 0; j < 20000; ++j) {
    const float y = float(j % 7);
    s.positions.push_back({-100, y, 0});
    s.positions.push_back({100, y, 1});
    s.positions.push_back({0, y + 1, 0});
    for (int k = 0; k < 3; ++k) s.uv[0].push_back({float(k), float(j)});
  }
  for (int t = 0; t < 70000; ++t) {
    for (int k = 0; k < 3; ++k) s.list_indices.push_back(uint16_t(3 * (t % 20000) + k));
  }
  std::vector<NodeData> nodes;
  nodes.push_back(std::move(wide));
  NodeData many = mesh_node("Many_0", 1);
  many.position = moving_track({0, 0, 0}, {0, 1, 0});
  for (int i = 0; i < 255; ++i) many.surfaces.push_back(many.surfaces[0]);
  nodes.push_back(std::move(many));
  std::vector<std::string> expected_lines;
  const Bytes whole = build_file(std::move(nodes), {},
                                 [&](const std::string& line) { expected_lines.push_back(line); });
  auto model = load_ok(whole);
  const auto path = write_without_section(*model);
  std::vector<std::string> lines;
  const CollisionInput input =
      gather_collision_input(*model, [&](const std::string& line) { lines.push_back(line); });
  EXPECT_EQ(append_collision_section(path, input), "");
  EXPECT_EQ(read(path), whole);
  EXPECT_EQ(lines, expected_lines);
  ASSERT_EQ(lines.size(), 1u);
}

TEST_F(collision_stream_test, entries_and_header_are_patched_wherever_they_lie) {
  // The entries' tree offsets and the header are patched last, in the file's
  // 64 KiB buffer or in the file or partly in each. A static tree of 831
  // triangles ends the buffer's first 64 KiB just after it; hull trees of
  // growing size move the twenty entries after it across that point: with
  // 1 triangle everything is still in the buffer, with 34 the entries and
  // the header are in the file, with 78 the entries are split between the
  // two, and with 100 the entries are in the buffer, the header in the file.
  for (const int hull : {1, 34, 78, 100}) {
    std::vector<NodeData> nodes;
    nodes.push_back(mesh_node("Row_0", 831));
    nodes.push_back(mesh_node("CollisionHull_0", hull));
    for (int i = 0; i < 20; ++i) {
      NodeData door = mesh_node("Door" + std::to_string(i) + "_0", 1 + i % 2);
      door.position = moving_track({0, 0, 0}, {1, 0, 0});
      nodes.push_back(std::move(door));
    }
    const Bytes whole = build_file(std::move(nodes));
    auto model = load_ok(whole);
    ASSERT_EQ(model->collision.entry_count, 20u);
    const auto path = write_without_section(*model);
    EXPECT_EQ(append_collision_section(path, gather_collision_input(*model)), "");
    EXPECT_EQ(read(path), whole) << "hull of " << hull << " triangles";
  }
}

TEST_F(collision_stream_test, child_offsets_are_patched_in_the_buffer_and_in_the_file) {
  // A node's child-1 offset is written once its child 0's subtree is: in the
  // file's 64 KiB buffer for small subtrees, in the file for those that
  // reach past a flush. 6000 triangles make a tree of over 400 KiB.
  std::mt19937 random(5);
  NodeData field = mesh_node("Field_0", 1);
  field.surfaces = {random_surface(random, 3000, {0, 0, 0}, 0),
                    random_surface(random, 3000, {40, 10, 0}, 1)};
  std::vector<NodeData> nodes;
  nodes.push_back(std::move(field));
  const Bytes whole = build_with_materials_a_and_b(std::move(nodes));
  auto model = load_ok(whole);
  ASSERT_TRUE(model->collision.static_tree);

  const auto path = write_without_section(*model);
  EXPECT_EQ(append_collision_section(path, gather_collision_input(*model)), "");
  EXPECT_EQ(read(path), whole);

  // The static tree alone, after the section's header, to see where the
  // offsets went.
  const size_t tree_at = model->header.collisionOffset + kCollisionHeaderSize;
  const auto tree_path = dir_ / "tree.3da";
  std::ofstream(tree_path, std::ios::binary)
      .write(reinterpret_cast<const char*>(whole.data()), std::streamsize(tree_at));
  const auto triangles =
      TreeTriangles::gather(*model, collision::collision_plan(*model).static_entries);
  ASSERT_TRUE(triangles);
  std::FILE* handle = std::fopen(tree_path.string().c_str(), "r+b");
  ASSERT_NE(handle, nullptr);
  ASSERT_EQ(std::fseek(handle, 0, SEEK_END), 0);
  SectionFile file(handle, tree_at);
  const uint64_t size = stream_tree(file, *triangles);
  file.finish();
  EXPECT_TRUE(file.ok());
  EXPECT_EQ(std::fclose(handle), 0);
  EXPECT_EQ(size, model->collision.static_tree_size);
  EXPECT_GT(size, 6 * SectionFile::kBufferSize);
  EXPECT_EQ(read(tree_path), Bytes(whole.begin(), whole.begin() + ptrdiff_t(tree_at + size)));
  EXPECT_GT(file.overwrites_in_buffer(), 0u);
  EXPECT_GT(file.overwrites_in_file(), 0u);
  // Most of them in the buffer: only the nodes whose child 0 spans a flush
  // reach the file.
  EXPECT_GT(file.overwrites_in_buffer(), 4 * file.overwrites_in_file());
}

TEST_F(collision_stream_test, nodes_that_keep_all_their_triangles_and_boxes_that_are_not_numbers) {
  // 3000 copies of one triangle share their centre and all stay in the root
  // (its records run past the buffer); in the hull tree every third box is
  // not a number, and such boxes never separate; an animated node mixes both.
  std::mt19937 random(9);
  std::vector<NodeData> nodes;
  NodeData same = mesh_node("Same_0", 1);
  same.surfaces = {same_triangles(3000, 0)};
  nodes.push_back(std::move(same));
  NodeData hull = mesh_node("CollisionHull_0", 1);
  hull.surfaces = {some_not_numbers(random, 4000)};
  nodes.push_back(std::move(hull));
  NodeData door = mesh_node("Door_0", 1);
  door.position = moving_track({0, 0, 0}, {1, 2, 3});
  door.surfaces = {some_not_numbers(random, 1500), same_triangles(1200, 0)};
  nodes.push_back(std::move(door));
  const Bytes whole = build_with_materials_a_and_b(std::move(nodes));
  auto model = load_ok(whole);
  ASSERT_TRUE(model->collision.static_tree && model->collision.hull_tree);
  ASSERT_EQ(model->collision.entry_count, 1u);
  EXPECT_EQ(model->collision.static_tree->node_count, 1u);
  EXPECT_EQ(model->collision.static_tree->triangle_count, 3000u);
  const auto hull_triangles =
      TreeTriangles::gather(*model, collision::collision_plan(*model).hull_entries);
  ASSERT_TRUE(hull_triangles);
  const std::vector<Box> hull_boxes = collision::triangle_boxes(*hull_triangles);
  EXPECT_EQ(std::count_if(hull_boxes.begin(), hull_boxes.end(),
                          [](const Box& b) {
                            return std::isnan(b.centre[0]) || std::isnan(b.centre[1]) ||
                                   std::isnan(b.centre[2]);
                          }),
            1334);

  const auto path = write_without_section(*model);
  EXPECT_EQ(append_collision_section(path, gather_collision_input(*model)), "");
  EXPECT_EQ(read(path), whole);
}

TEST_F(collision_stream_test, overwrites_land_in_the_buffer_or_the_file) {
  const auto path = dir_ / "f.bin";
  std::ofstream(path, std::ios::binary) << "head";
  std::FILE* handle = std::fopen(path.string().c_str(), "r+b");
  ASSERT_NE(handle, nullptr);
  ASSERT_EQ(std::fseek(handle, 0, SEEK_END), 0);
  SectionFile file(handle, 4);
  // Two rooms of 40 000 bytes: the first is flushed when the second is
  // asked for.
  for (const uint8_t fill : {1, 2}) {
    std::byte* room = file.room(40000);
    std::memset(room, fill, 40000);
  }
  EXPECT_EQ(file.position(), 80004u);
  const std::byte a[4] = {std::byte{0xA0}, std::byte{0xA1}, std::byte{0xA2}, std::byte{0xA3}};
  file.overwrite(0, a);      // in the file
  file.overwrite(40002, a);  // two bytes in the file, two in the buffer
  file.overwrite(80000, a);  // in the buffer
  const std::byte b[2] = {std::byte{0xB0}, std::byte{0xB1}};
  file.overwrite(1, b);  // over the first one: the later one counts
  file.overwrite(3, b);  // and over both, ahead of the earlier place
  EXPECT_EQ(file.overwrites_in_file(), 4u);
  EXPECT_EQ(file.overwrites_in_buffer(), 1u);
  // Appending goes on at the end.
  std::memset(file.room(4), 3, 4);
  file.finish();
  EXPECT_TRUE(file.ok());
  EXPECT_EQ(std::fclose(handle), 0);

  Bytes expected(80008);
  std::memset(expected.data(), 1, 40004);
  std::memset(expected.data() + 40004, 2, 40000);
  std::memset(expected.data() + 80004, 3, 4);
  std::memcpy(expected.data(), a, 4);
  std::memcpy(expected.data() + 1, b, 2);
  std::memcpy(expected.data() + 3, b, 2);
  std::memcpy(expected.data() + 40002, a, 4);
  std::memcpy(expected.data() + 80000, a, 4);
  EXPECT_EQ(read(path), expected);
}

TEST_F(collision_stream_test, missing_file_is_refused_and_logged) {
  auto model = load_ok(build_file({}));
  std::vector<std::string> lines;
  const auto log = [&](const std::string& line) { lines.push_back(line); };
  const std::string error =
      append_collision_section(dir_ / "none" / "x.3da", gather_collision_input(*model, log), log);
  EXPECT_NE(error.find("cannot open"), std::string::npos);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], error + "\n");
}

TEST_F(collision_stream_test, a_viewed_model_reads_the_bytes_it_was_given) {
  std::vector<NodeData> nodes;
  nodes.push_back(mesh_node("Row_0", 13));
  const Bytes whole = build_file(std::move(nodes));
  const LoadResult viewed = load_model_view(whole);
  ASSERT_TRUE(viewed.ok()) << viewed.message;
  EXPECT_TRUE(viewed.model->block.empty());
  EXPECT_EQ(viewed.model->bytes.data(), whole.data());
  const SurfaceView& surface = viewed.model->nodes.at(0).surfaces.at(0);
  auto owned = load_ok(whole);
  const SurfaceView& same = owned->nodes.at(0).surfaces.at(0);
  for (uint32_t v = 0; v < surface.record.vertexCount; ++v) {
    EXPECT_EQ(viewed.model->position(surface, v), owned->position(same, v));
  }
  Bytes broken = whole;
  broken[0] = std::byte{'X'};
  EXPECT_EQ(load_model_view(broken).error, LoadError::kBadMagic);
}

}  // namespace
}  // namespace model3da
