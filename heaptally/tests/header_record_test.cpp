// The header record against a std::map under random steps, with addresses
// close together and far apart; and what memFree makes of a pointer that the
// record does not know as live.
#include "header_record.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <random>

#include "block_header.h"
#include "plain_block.h"

namespace {

using heaptally::HeaderRecord;
using heaptally::HeaderState;

const void* address(std::uintptr_t n) {
  return reinterpret_cast<const void*>(n);
}

TEST(heaptally_header_record, follows_a_reference_through_random_steps) {
  auto record = std::make_unique<HeaderRecord>();
  std::map<std::uintptr_t, HeaderState> reference;  // absent: kNone
  const auto expected = [&](std::uintptr_t key) {
    const auto at = reference.find(key);
    return at == reference.end() ? HeaderState::kNone : at->second;
  };
  std::mt19937 random(5);
  // Neighbouring grains in a few thousand pages, so that keys repeat, share
  // words and spread over several leaves, plus a few far-off regions that
  // need tables of their own.
  const std::uintptr_t far = sizeof(std::uintptr_t) == 8 ? std::uintptr_t{1} << 40 : 0x80000000u;
  for (int step = 0; step < 200000; ++step) {
    std::uintptr_t key = 4096 * (1 + random() % 3000) + HeaderRecord::kGrain * (random() % 4);
    if (random() % 50 == 0) key += far;
    switch (random() % 4) {
      case 0:
      case 1:
        ASSERT_TRUE(record->add_live(address(key)));
        reference[key] = HeaderState::kLive;
        break;
      case 2: {
        const HeaderState before = expected(key);
        ASSERT_EQ(record->free_live(address(key)), before) << "step " << step;
        if (before == HeaderState::kLive) reference[key] = HeaderState::kFreed;
        break;
      }
      default:
        if (expected(key) == HeaderState::kFreed) {
          record->forget_freed(address(key));
          reference.erase(key);
        }
    }
  }
  for (std::uintptr_t n = 4096; n <= 4096 * 3001; n += HeaderRecord::kGrain) {
    ASSERT_EQ(record->state(address(n)), expected(n)) << n;
    ASSERT_EQ(record->state(address(n + far)), expected(n + far)) << n;
  }
}

TEST(heaptally_header_record, a_header_goes_from_live_to_freed_and_back) {
  auto record = std::make_unique<HeaderRecord>();
  EXPECT_EQ(record->state(address(64)), HeaderState::kNone);
  EXPECT_EQ(record->free_live(address(64)), HeaderState::kNone);
  ASSERT_TRUE(record->add_live(address(64)));
  EXPECT_EQ(record->state(address(64 + HeaderRecord::kGrain)), HeaderState::kNone);
  EXPECT_EQ(record->free_live(address(64 + HeaderRecord::kGrain)), HeaderState::kNone);
  EXPECT_EQ(record->free_live(address(64)), HeaderState::kLive);
  EXPECT_EQ(record->free_live(address(64)), HeaderState::kFreed);  // a second free
  EXPECT_EQ(record->state(address(64)), HeaderState::kFreed);
  ASSERT_TRUE(record->add_live(address(64)));  // the heap handed it out again
  EXPECT_EQ(record->state(address(64)), HeaderState::kLive);
  EXPECT_EQ(record->free_live(address(64)), HeaderState::kLive);
  record->forget_freed(address(64));
  EXPECT_EQ(record->state(address(64)), HeaderState::kNone);
}

TEST(heaptally_header_record, refuses_addresses_it_cannot_hold) {
  auto record = std::make_unique<HeaderRecord>();
  ASSERT_TRUE(record->add_live(address(4096)));
  // Not a multiple of the grain: never recorded, so never one of its neighbours.
  EXPECT_FALSE(record->add_live(address(4096 + 8)));
  EXPECT_EQ(record->state(address(4096 + 8)), HeaderState::kNone);
  EXPECT_EQ(record->free_live(address(4096 + 8)), HeaderState::kNone);
  if constexpr (sizeof(std::uintptr_t) == 8) {
    const std::uintptr_t beyond = std::uintptr_t{1} << HeaderRecord::kAddressBits;
    EXPECT_FALSE(record->add_live(address(beyond + 4096)));
    EXPECT_EQ(record->state(address(beyond + 4096)), HeaderState::kNone);
  }
  EXPECT_EQ(record->state(address(4096)), HeaderState::kLive);
}

// Memory of the test's own, with a block at its middle: the record's notes
// are only bits, so any address can stand for a block of ours.
class heaptally_plain_block : public testing::Test {
 protected:
  const void* block() const { return memory + 128; }
  const void* header() const { return memory + 128 - heaptally::kHeaderSize; }

  alignas(std::max_align_t) unsigned char memory[256] = {};
  HeaderRecord record;
};

TEST_F(heaptally_plain_block, memory_where_a_freed_header_was_is_a_plain_block_once_unmarked) {
  ASSERT_TRUE(record.add_live(header()));
  ASSERT_EQ(record.free_live(header()), HeaderState::kLive);
  // The heap handed the memory out again; a plain block starts at block().
  EXPECT_TRUE(heaptally::is_plain_block(record, block(), HeaderState::kFreed));
  EXPECT_EQ(record.state(header()), HeaderState::kNone);
}

TEST_F(heaptally_plain_block, a_retired_header_marks_a_second_free) {
  auto* header_bytes = memory + 128 - heaptally::kHeaderSize;
  heaptally::retire_header(heaptally::init_header(header_bytes, 16, "twice.cpp", 1));
  ASSERT_TRUE(record.add_live(header()));
  ASSERT_EQ(record.free_live(header()), HeaderState::kLive);
  EXPECT_FALSE(heaptally::is_plain_block(record, block(), HeaderState::kFreed));
  EXPECT_EQ(record.state(header()), HeaderState::kFreed);
  // The C heap keeps its own links in the first bytes of a block it took
  // back; the back guard still tells.
  std::memset(header_bytes, 0xA5, 32);
  EXPECT_FALSE(heaptally::is_plain_block(record, block(), HeaderState::kFreed));
}

TEST_F(heaptally_plain_block, a_pointer_never_recorded_is_plain_unless_a_header_seems_in_front) {
  EXPECT_TRUE(heaptally::is_plain_block(record, block(), HeaderState::kNone));
  std::uint32_t guard = heaptally::kGuard;
  std::memcpy(memory + 124, &guard, sizeof guard);  // data of the caller's that looks like a guard
  EXPECT_FALSE(heaptally::is_plain_block(record, block(), HeaderState::kNone));
}

}  // namespace
