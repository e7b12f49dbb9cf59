// The flat address set against std::set under random inserts and erases,
// with addresses that crowd into the same probe runs.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>
#include <vector>

#include "address_set.h"

namespace {

const void* address(std::uintptr_t n) {
  return reinterpret_cast<const void*>(n);
}

TEST(heaptally_address_set, follows_a_reference_set_through_random_inserts_and_erases) {
  heaptally::AddressSet set;
  std::set<std::uintptr_t> reference;
  std::mt19937 random(5);
  // Few distinct page-start-like addresses, so keys repeat and runs collide.
  for (int step = 0; step < 200000; ++step) {
    const std::uintptr_t key = 4096 * (1 + random() % 3000) + 16 * (random() % 4);
    if (random() % 3 != 0) {
      ASSERT_TRUE(set.insert(address(key)));
      reference.insert(key);
    } else {
      ASSERT_EQ(set.erase(address(key)), reference.erase(key) == 1) << "step " << step;
    }
    ASSERT_EQ(set.size(), reference.size());
  }
  for (std::uintptr_t n = 4096; n <= 4096 * 3001; n += 16) {
    ASSERT_EQ(set.contains(address(n)), reference.count(n) == 1) << n;
  }
  for (std::uintptr_t key : reference) ASSERT_TRUE(set.erase(address(key)));
  EXPECT_EQ(set.size(), 0u);
  EXPECT_FALSE(set.contains(address(4096)));
}

TEST(heaptally_address_set, an_empty_set_holds_nothing_and_erases_nothing) {
  heaptally::AddressSet set;
  EXPECT_FALSE(set.contains(address(64)));
  EXPECT_FALSE(set.erase(address(64)));
  ASSERT_TRUE(set.insert(address(64)));
  EXPECT_TRUE(set.insert(address(64)));  // already there
  EXPECT_EQ(set.size(), 1u);
  EXPECT_TRUE(set.erase(address(64)));
  EXPECT_FALSE(set.erase(address(64)));
}

}  // namespace
