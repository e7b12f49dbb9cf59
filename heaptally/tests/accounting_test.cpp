#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "block_header.h"
#include "heaptally.h"

namespace {

// The accounted size of one block, measured through memSize.
int32_t accounted_by_library(int32_t size) {
  const int32_t before = memSize();
  void* block = memAlloc(size, "size.cpp", 1);
  EXPECT_NE(block, nullptr);
  const int32_t after = memSize();
  memFree(block);
  EXPECT_EQ(memSize(), before);
  return after - before;
}

TEST(heaptally_accounting, rounds_size_up_to_four_and_adds_54) {
  EXPECT_EQ(accounted_by_library(1), 58);
  EXPECT_EQ(accounted_by_library(0), 54);
  EXPECT_EQ(accounted_by_library(5), 62);
  EXPECT_EQ(accounted_by_library(4), 58);
  EXPECT_EQ(accounted_by_library(8), 62);
  EXPECT_EQ(accounted_by_library(1001), 1058);
  EXPECT_EQ(heaptally::accounted_size(heaptally::kMaxRequest), INT32_MAX - 1);
}

TEST(heaptally_accounting, mem_size_follows_allocations_and_frees) {
  ASSERT_EQ(memSize(), 0);
  void* a = MEM_ALLOC(1);   // 58
  void* b = MEM_ALLOC(10);  // 66
  void* c = MEM_ALLOC(0);   // 54
  EXPECT_EQ(memSize(), 58 + 66 + 54);
  memFree(b);
  EXPECT_EQ(memSize(), 58 + 54);
  void* d = MEM_ALLOC(100);  // 154
  EXPECT_EQ(memSize(), 58 + 54 + 154);
  memFree(a);
  memFree(d);
  EXPECT_EQ(memSize(), 54);
  memFree(c);
  EXPECT_EQ(memSize(), 0);
}

TEST(heaptally_accounting, refuses_negative_and_unaccountable_sizes) {
  EXPECT_EQ(memAlloc(-1, "x.cpp", 1), nullptr);
  EXPECT_EQ(memAlloc(INT32_MIN, "x.cpp", 1), nullptr);
  EXPECT_EQ(memAlloc(heaptally::kMaxRequest + 1, "x.cpp", 1), nullptr);
  EXPECT_EQ(MEM_ALLOC(static_cast<size_t>(INT32_MAX) + 1), nullptr);
  EXPECT_EQ(memSize(), 0);
  memFree(nullptr);
  EXPECT_EQ(memSize(), 0);
}

TEST(heaptally_accounting, blocks_are_aligned_and_usable_to_their_size) {
  std::vector<void*> blocks;
  for (int32_t size : {0, 1, 3, 7, 16, 33, 255, 4096, 300000}) {
    auto* block = static_cast<unsigned char*>(memAlloc(size, "align.cpp", size));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % alignof(std::max_align_t), 0u);
    std::memset(block, 0xAB, static_cast<std::size_t>(size));  // the sanitizers see overruns
    blocks.push_back(block);
  }
  for (void* block : blocks) {
    memFree(block);
  }
  EXPECT_EQ(memSize(), 0);
}

TEST(heaptally_block_header, keeps_the_field_order_and_ends_with_the_back_guard) {
  using heaptally::BlockHeader;
  EXPECT_EQ(offsetof(BlockHeader, front_guard), 0u);
  EXPECT_LT(offsetof(BlockHeader, user_block), offsetof(BlockHeader, accounted_size));
  EXPECT_LT(offsetof(BlockHeader, accounted_size), offsetof(BlockHeader, file));
  EXPECT_LT(offsetof(BlockHeader, file), offsetof(BlockHeader, line));
  EXPECT_LT(offsetof(BlockHeader, line), offsetof(BlockHeader, newer));
  EXPECT_LT(offsetof(BlockHeader, newer), offsetof(BlockHeader, older));
  if (sizeof(void*) == 8) {
    EXPECT_EQ(heaptally::kHeaderSize, 64u);
  }
  if (sizeof(void*) == 4) {
    EXPECT_EQ(heaptally::kHeaderSize, 32u);
  }

  auto* block = static_cast<unsigned char*>(memAlloc(3, "layout.cpp", 77));
  ASSERT_NE(block, nullptr);
  uint32_t back = 0;
  uint32_t front = 0;
  std::memcpy(&back, block - 4, 4);
  std::memcpy(&front, block - heaptally::kHeaderSize, 4);
  EXPECT_EQ(back, 0x31415926u);
  EXPECT_EQ(front, 0x31415926u);
  const auto* header = reinterpret_cast<const BlockHeader*>(block - heaptally::kHeaderSize);
  EXPECT_EQ(header->user_block, block);
  EXPECT_EQ(header->accounted_size, 58);
  EXPECT_STREQ(header->file, "layout.cpp");
  EXPECT_EQ(header->line, 77);
  memFree(block);
}

// On a 32-bit build the header is the 32 bytes of the tracker's own layout:
// guard, user block, accounted size, file, line, newer, older, guard, read
// here as raw little-endian words in front of the block.
TEST(heaptally_block_header, is_32_bytes_with_fixed_offsets_on_a_32_bit_build) {
  if (sizeof(void*) != 4) {
    GTEST_SKIP() << "a 64-bit build has the 64-byte header tested above";
  }
  static const char kFile[] = "words.cpp";
  auto* older = static_cast<unsigned char*>(memAlloc(10, kFile, 5));
  auto* block = static_cast<unsigned char*>(memAlloc(1, kFile, 6));
  ASSERT_NE(older, nullptr);
  ASSERT_NE(block, nullptr);
  const auto word = [](const unsigned char* at) {
    return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
           static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
  };
  const auto address = [](const void* p) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p));
  };
  const unsigned char* header = block - 32;
  EXPECT_EQ(word(header + 0), 0x31415926u);
  EXPECT_EQ(word(header + 4), address(block));
  EXPECT_EQ(word(header + 8), 58u);
  EXPECT_EQ(word(header + 12), address(kFile));
  EXPECT_EQ(word(header + 16), 6u);
  EXPECT_EQ(word(header + 20), 0u);                   // nothing newer
  EXPECT_EQ(word(header + 24), address(older - 32));  // the older block's header
  EXPECT_EQ(word(header + 28), 0x31415926u);
  EXPECT_EQ(word(older - 32 + 20), address(header));  // and it points back
  EXPECT_EQ(word(older - 32 + 8), 64u);
  memFree(block);
  memFree(older);
}

}  // namespace
