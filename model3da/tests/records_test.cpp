// Record images, material comparison and the ByteBuffer growth rule.
#include <gtest/gtest.h>

#include "model3da/byte_buffer.h"
#include "model3da/records.h"

namespace model3da {
namespace {

TEST(records_test, record_images_have_their_sizes_and_round_trip) {
  Bytes out;
  append_file_header(out, new_header());
  EXPECT_EQ(out.size(), 68u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(out.data()), 4), "3DA_");
  out.clear();
  NodeRecord node;
  node.name = "Wheel_0";
  node.parentIndex = -1;
  node.transform[13] = 2.5f;
  append_node_record(out, node);
  ASSERT_EQ(out.size(), 152u);
  EXPECT_EQ(read_u16(out.data() + 60), 0xFFFF);
  const NodeRecord back = read_node_record(out.data());
  EXPECT_EQ(back.name, "Wheel_0");
  EXPECT_EQ(back.transform[13], 2.5f);
  out.clear();
  append_surface_record(out, SurfaceRecord{});
  EXPECT_EQ(out.size(), 68u);
  EXPECT_EQ(read_u32(out.data()), 0xFFFFu);  // no material
  out.clear();
  MaterialRecord material;
  material.name = "chrome.mat";
  material.textures[1] = "env.dds";
  material.textureKinds[1] = 3;
  material.specularPower = 40;
  material.flags = 3;
  append_material_record(out, material);
  ASSERT_EQ(out.size(), 252u);
  EXPECT_EQ(read_text(out.data() + 64, 32), "env.dds");
  EXPECT_EQ(read_i32(out.data() + 164), 3);
  EXPECT_EQ(read_f32(out.data() + 244), 40.0f);
  EXPECT_EQ(read_u32(out.data() + 248), 3u);
  const MaterialRecord read = read_material_record(out.data());
  EXPECT_EQ(read.textures[1], "env.dds");
  EXPECT_EQ(read.specularPower, 40.0f);
}

TEST(records_test, names_are_cut_to_keep_a_terminating_zero) {
  NodeRecord node;
  node.name = std::string(40, 'n');
  Bytes out;
  append_node_record(out, node);
  EXPECT_EQ(read_text(out.data() + 4, 32), std::string(31, 'n'));
  EXPECT_EQ(out[4 + 31], std::byte{0});
}

TEST(records_test, material_equality_ignores_name_flags_and_uncounted_textures) {
  MaterialRecord a;
  a.name = "a.mat";
  a.textureCount = 1;
  a.textures[0] = "t.dds";
  a.diffuse = {1, 0.5f, 0, 1};
  MaterialRecord b = a;
  b.name = "b.mat";
  b.flags = 1;
  b.textures[2] = "other.dds";  // not counted
  EXPECT_TRUE(material_records_equal(a, b));
  b.textureKinds[0] = 2;
  EXPECT_FALSE(material_records_equal(a, b));
  b = a;
  b.specularPower = 1;
  EXPECT_FALSE(material_records_equal(a, b));
  b = a;
  b.textureCount = 2;
  EXPECT_FALSE(material_records_equal(a, b));
  b = a;
  b.emissive[3] = 0.5f;
  EXPECT_FALSE(material_records_equal(a, b));
}

TEST(byte_buffer_test, grows_by_whole_multiples_of_its_capacity) {
  ByteBuffer buffer;
  EXPECT_EQ(buffer.capacity(), 128u);
  const Bytes chunk(100, std::byte{7});
  ASSERT_TRUE(buffer.append(chunk));
  EXPECT_EQ(buffer.capacity(), 128u);
  ASSERT_TRUE(buffer.append(chunk));  // needs 200: 128 * (200 / 128 + 1) = 256
  EXPECT_EQ(buffer.capacity(), 256u);
  const Bytes big(600, std::byte{9});
  ASSERT_TRUE(buffer.append(big));  // needs 800: 256 * (800 / 256 + 1) = 1024
  EXPECT_EQ(buffer.capacity(), 1024u);
  EXPECT_EQ(buffer.length(), 800u);
  EXPECT_EQ(buffer.bytes()[199], std::byte{7});
  EXPECT_EQ(buffer.bytes()[799], std::byte{9});
  // Writing inside keeps the length.
  ASSERT_TRUE(buffer.seek(10));
  ASSERT_TRUE(buffer.append(Bytes(5, std::byte{1})));
  EXPECT_EQ(buffer.length(), 800u);
  EXPECT_EQ(buffer.position(), 15u);
  EXPECT_FALSE(buffer.seek(801));
}

TEST(byte_buffer_test, buffer_without_block_refuses_appends) {
  ByteBuffer none(0);
  EXPECT_FALSE(none.append(Bytes(4)));
  EXPECT_EQ(none.length(), 0u);
}

}  // namespace
}  // namespace model3da
