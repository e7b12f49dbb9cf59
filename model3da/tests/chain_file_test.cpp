// Writing a file node by node, and reading it back through a mapping.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "model3da/chain_file.h"
#include "model3da/mapped_file.h"
#include "test_support.h"
#include "test_support/scratch_folder.h"

namespace model3da {
namespace {

using testing::helper_node;
using testing::mesh_node;

Bytes file_bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Bytes bytes(text.size());
  std::memcpy(bytes.data(), text.data(), text.size());
  return bytes;
}

MaterialRecord material(const std::string& name) {
  MaterialRecord m;
  m.name = name;
  m.textures[0] = "paint.dds";
  return m;
}

// The nodes of a chain written one by one, with a node whose data spans
// several growths of the node buffer, give the file the whole chain gives.
TEST(chain_file_test, a_file_written_node_by_node_is_the_image_of_the_whole_chain) {
  const gm_test::ScratchFolder dir;
  const std::vector<NodeData> nodes = [] {
    std::vector<NodeData> n;
    n.push_back(helper_node("Root_0"));
    n.push_back(mesh_node("Body_0", 300));
    n.push_back(mesh_node("Door_0", 2));
    return n;
  }();
  std::vector<Matrix4> matrices(nodes.size(), identity_matrix());
  matrices[1][12] = 3.5f;
  matrices[2][13] = -1.0f;
  const std::vector<MaterialRecord> materials = {material("Paint"), material("Glass")};
  ModelWriteInput input;
  input.node_count = uint32_t(nodes.size());
  input.frame_count = 12;
  input.node_matrices = matrices;
  input.materials = materials;

  ByteBuffer chain;
  for (const NodeData& node : nodes) ASSERT_EQ(append_node(chain, node), "");
  input.chain = chain.bytes();
  Bytes expected;
  ASSERT_EQ(make_model_image(input, expected), "");

  ChainFile out(dir / "car.3da");
  ASSERT_EQ(out.error(), "");
  for (const NodeData& node : nodes) ASSERT_EQ(out.append(node), "");
  EXPECT_EQ(out.node_count(), nodes.size());
  EXPECT_EQ(out.chain_length(), chain.length());
  input.chain = {};
  ASSERT_EQ(out.finish(input), "");
  EXPECT_EQ(file_bytes(dir / "car.3da"), expected);
}

TEST(chain_file_test, refusals_name_their_reason) {
  const gm_test::ScratchFolder dir;
  ChainFile missing(dir / "none" / "x.3da");
  EXPECT_NE(missing.error().find("cannot create"), std::string::npos);
  EXPECT_NE(missing.append(helper_node("A_0")), "");

  ChainFile out(dir / "x.3da");
  // A refused node writes nothing and the file goes on.
  EXPECT_NE(out.append(helper_node(std::string(32, 'x'))).find("longer than 31"),
            std::string::npos);
  ASSERT_EQ(out.append(helper_node("A_0")), "");
  EXPECT_EQ(out.node_count(), 1u);
  ModelWriteInput input;
  input.node_count = 2;
  EXPECT_NE(out.finish(input).find("fewer than 2"), std::string::npos);
  const std::vector<MaterialRecord> long_name = {material(std::string(32, 'm'))};
  input.node_count = 1;
  input.materials = long_name;
  EXPECT_NE(out.finish(input).find("longer than 31"), std::string::npos);
  input.materials = {};
  EXPECT_EQ(out.finish(input), "");
  EXPECT_TRUE(testing::load_ok(file_bytes(dir / "x.3da")));
  // Finished means closed.
  EXPECT_NE(out.append(helper_node("B_0")), "");
}

TEST(mapped_file_test, maps_the_file_and_keeps_changes_to_itself) {
  const gm_test::ScratchFolder dir;
  const auto path = dir / "data.bin";
  std::ofstream(path, std::ios::binary) << "0123456789";
  {
    MappedFile mapped;
    ASSERT_EQ(mapped.open(path), "");
    ASSERT_EQ(mapped.bytes().size(), 10u);
    EXPECT_EQ(char(mapped.bytes()[3]), '3');
    mapped.bytes()[3] = std::byte{'x'};
    EXPECT_EQ(char(mapped.bytes()[3]), 'x');
    MappedFile moved = std::move(mapped);
    EXPECT_TRUE(mapped.bytes().empty());
    EXPECT_EQ(char(moved.bytes()[3]), 'x');
  }
  EXPECT_EQ(file_bytes(path)[3], std::byte{'3'});

  MappedFile mapped;
  EXPECT_NE(mapped.open(dir / "missing.bin").find("cannot open"), std::string::npos);
  std::ofstream(dir / "empty.bin") << "";
  EXPECT_NE(mapped.open(dir / "empty.bin").find("empty"), std::string::npos);
  EXPECT_TRUE(mapped.bytes().empty());
}

#ifdef __linux__
// The resident pages mapped from files, in KiB.
long resident_file_kib() {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("RssFile:", 0) == 0) return std::stol(line.substr(8));
  }
  return -1;
}

TEST(mapped_file_test, released_pages_leave_memory_and_come_back_as_the_file_has_them) {
  const gm_test::ScratchFolder dir;
  const auto path = dir / "big.bin";
  constexpr size_t kSize = 8u << 20;
  {
    std::ofstream out(path, std::ios::binary);
    std::string block(4096, 'a');
    for (size_t i = 0; i < kSize / block.size(); ++i) out << block;
  }
  MappedFile mapped;
  ASSERT_EQ(mapped.open(path), "");
  const long before = resident_file_kib();
  unsigned sum = 0;
  for (size_t i = 0; i < kSize; i += 4096) sum += unsigned(mapped.bytes()[i]);
  EXPECT_EQ(sum, unsigned('a') * (kSize / 4096));
  const long touched = resident_file_kib();
  EXPECT_GE(touched - before, 7 * 1024);
  mapped.bytes()[kSize / 2] = std::byte{'z'};
  mapped.release(mapped.bytes());
  EXPECT_LE(resident_file_kib(), before + 512);  // the code run meanwhile
  EXPECT_EQ(mapped.bytes()[kSize / 2], std::byte{'a'});
  // Only whole pages inside the range go, and a range outside is ignored.
  mapped.bytes()[0] = std::byte{'z'};
  mapped.release(mapped.bytes().subspan(1, 3 * 4096));
  mapped.release(std::span<const std::byte>(reinterpret_cast<const std::byte*>(&sum), 4));
  EXPECT_EQ(mapped.bytes()[0], std::byte{'z'});
}
#endif

}  // namespace
}  // namespace model3da
