// Appending nodes and writing whole files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "model3da/writer.h"
#include "test_support.h"
#include "test_support/scratch_folder.h"

namespace model3da {
namespace {

using testing::helper_node;
using testing::mesh_node;

TEST(writer_test, refused_nodes_append_nothing) {
  ByteBuffer chain;
  NodeData long_name = helper_node(std::string(32, 'x'));
  EXPECT_NE(append_node(chain, long_name).find("longer than 31"), std::string::npos);
  NodeData mismatched = mesh_node("Body_0", 2);
  mismatched.surfaces[0].normals.resize(5);
  EXPECT_NE(append_node(chain, mismatched).find("normals 5 entries for 6 vertices"),
            std::string::npos);
  NodeData bad_index = mesh_node("Body_0", 2);
  bad_index.surfaces[0].strip_indices = {0, 1, 6};
  EXPECT_NE(append_node(chain, bad_index).find("index 6"), std::string::npos);
  EXPECT_EQ(chain.length(), 0u);
}

TEST(writer_test, transforms_come_from_the_matrix_table_in_chain_order) {
  ByteBuffer chain;
  ASSERT_EQ(append_node(chain, helper_node("A_0")), "");
  ASSERT_EQ(append_node(chain, mesh_node("B_0", 1)), "");
  std::vector<Matrix4> matrices(2, identity_matrix());
  matrices[1][12] = 42.0f;
  ModelWriteInput input;
  input.node_count = 2;
  input.frame_count = 30;
  input.chain = chain.bytes();
  input.node_matrices = matrices;
  Bytes out;
  ASSERT_EQ(make_model_file(input, out), "");
  auto model = testing::load_ok(out);
  EXPECT_EQ(model->header.frameCount, 30u);
  EXPECT_EQ(model->nodes[1].record.transform[12], 42.0f);
  EXPECT_EQ(model->nodes[0].record.transform[12], 0.0f);
  // A table shorter than the node count is refused.
  input.node_matrices = std::span<const Matrix4>(matrices).first(1);
  EXPECT_NE(make_model_file(input, out).find("matrix table"), std::string::npos);
  // A chain holding fewer nodes than counted is refused.
  input.node_matrices = {};
  input.node_count = 3;
  EXPECT_NE(make_model_file(input, out).find("fewer than 3"), std::string::npos);
}

// A name fills its 32-byte field with its terminating zero: 31 characters fit,
// 32 are refused with a message naming the material, never cut.
TEST(writer_test, material_and_texture_names_that_do_not_fit_are_refused) {
  ByteBuffer chain;
  ASSERT_EQ(append_node(chain, mesh_node("Body_0", 1)), "");
  std::vector<MaterialRecord> materials(2);
  materials[0].name = "Plain.mat";
  materials[1].name = std::string(27, 'm') + ".mat";  // 31 characters
  materials[1].textures[3] = std::string(27, 't') + ".dds";
  materials[1].textureCount = 4;
  ModelWriteInput input;
  input.node_count = 1;
  input.chain = chain.bytes();
  input.materials = materials;
  Bytes out;
  ASSERT_EQ(make_model_file(input, out), "");
  auto model = testing::load_ok(out);
  ASSERT_EQ(model->materials.size(), 2u);
  EXPECT_EQ(model->materials[1].name, materials[1].name);
  EXPECT_EQ(model->materials[1].textures[3], materials[1].textures[3]);

  const std::string long_material = std::string(28, 'm') + ".mat";  // 32 characters
  materials[1].name = long_material;
  EXPECT_EQ(make_model_image(input, out),
            "material 1 name \"" + long_material + "\" is longer than 31 characters");
  materials[1].name = "Short.mat";
  materials[1].textures[3] = std::string(40, 't') + ".dds";
  EXPECT_EQ(make_model_file(input, out), "material 1 \"Short.mat\": texture 3 name \"" +
                                             materials[1].textures[3] +
                                             "\" is longer than 31 characters");
  // An unused slot is written too, so it has to fit as well.
  materials[1].textures[3].clear();
  materials[1].textureCount = 1;
  materials[0].textures[2] = std::string(32, 'u');
  EXPECT_NE(make_model_file(input, out).find("material 0 \"Plain.mat\": texture 2"),
            std::string::npos);

  const auto dir = std::filesystem::temp_directory_path() / "model3da_name_test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const std::string error = write_model_file(dir / "long.3da", input);
  EXPECT_NE(error.find("long.3da: material 0"), std::string::npos) << error;
  EXPECT_FALSE(std::filesystem::exists(dir / "long.3da"));
  std::filesystem::remove_all(dir);
}

TEST(writer_test, writes_the_file_whole_or_not_at_all) {
  const gm_test::ScratchFolder dir;
  ByteBuffer chain;
  ASSERT_EQ(append_node(chain, mesh_node("Body_0", 4)), "");
  ModelWriteInput input;
  input.node_count = 1;
  input.chain = chain.bytes();
  const auto path = dir / "body.3da";
  ASSERT_EQ(write_model_file(path, input), "");
  LoadResult loaded = load_model_file(path);
  ASSERT_TRUE(loaded.ok()) << loaded.message;
  EXPECT_EQ(loaded.model->collision.static_tree->triangle_count, 4u);
  // A failing write (a chain missing its node) leaves the earlier file as it was.
  const auto before = std::filesystem::file_size(path);
  input.node_count = 2;
  EXPECT_NE(write_model_file(path, input), "");
  EXPECT_EQ(std::filesystem::file_size(path), before);
  EXPECT_FALSE(std::filesystem::exists(dir / "body.3da.tmp"));
  input.node_count = 1;
  EXPECT_NE(write_model_file(dir / "missing" / "x.3da", input).find("cannot create"),
            std::string::npos);
}

TEST(writer_test, appends_collision_section_to_a_file) {
  const gm_test::ScratchFolder dir;
  ByteBuffer chain;
  ASSERT_EQ(append_node(chain, mesh_node("Body_0", 2)), "");
  ModelWriteInput input;
  input.node_count = 1;
  input.chain = chain.bytes();
  Bytes image;
  ASSERT_EQ(make_model_image(input, image), "");
  const auto path = dir / "image.3da";
  {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
  }
  auto model = testing::load_ok(image);
  const CollisionSet set = build_collision_set(*model);
  ASSERT_EQ(append_collision_section(path, set), "");
  Bytes whole;
  ASSERT_EQ(make_model_file(input, whole), "");
  LoadResult appended = load_model_file(path);
  ASSERT_TRUE(appended.ok()) << appended.message;
  EXPECT_EQ(appended.model->block, whole);
  std::vector<std::string> logged;
  EXPECT_NE(append_collision_section(dir / "none" / "x.3da", set,
                                     [&](const std::string& line) { logged.push_back(line); }),
            "");
  EXPECT_EQ(logged.size(), 1u);
}

}  // namespace
}  // namespace model3da
