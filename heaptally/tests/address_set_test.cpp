// The address set against std::set under random inserts and erases, with
// addresses close together and far apart.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <set>
#include <vector>

#include "address_set.h"

namespace {

using heaptally::AddressSet;

const void* address(std::uintptr_t n) {
  return reinterpret_cast<const void*>(n);
}

TEST(heaptally_address_set, follows_a_reference_set_through_random_inserts_and_erases) {
  auto set = std::make_unique<AddressSet>();
  std::set<std::uintptr_t> reference;
  std::mt19937 random(5);
  // Neighbouring grains in a few thousand pages, so that keys repeat, share
  // words and spread over several leaves, plus a few far-off regions that
  // need tables of their own.
  const std::uintptr_t far = sizeof(std::uintptr_t) == 8 ? std::uintptr_t{1} << 40 : 0x80000000u;
  for (int step = 0; step < 200000; ++step) {
    std::uintptr_t key = 4096 * (1 + random() % 3000) + AddressSet::kGrain * (random() % 4);
    if (random() % 50 == 0) key += far;
    if (random() % 3 != 0) {
      ASSERT_TRUE(set->insert(address(key)));
      reference.insert(key);
    } else {
      ASSERT_EQ(set->erase(address(key)), reference.erase(key) == 1) << "step " << step;
    }
  }
  for (std::uintptr_t n = 4096; n <= 4096 * 3001; n += AddressSet::kGrain) {
    ASSERT_EQ(set->contains(address(n)), reference.count(n) == 1) << n;
    ASSERT_EQ(set->contains(address(n + far)), reference.count(n + far) == 1) << n;
  }
  for (std::uintptr_t key : reference) ASSERT_TRUE(set->erase(address(key)));
  for (std::uintptr_t key : reference) ASSERT_FALSE(set->contains(address(key)));
}

TEST(heaptally_address_set, an_empty_set_holds_nothing_and_erases_nothing) {
  auto set = std::make_unique<AddressSet>();
  EXPECT_FALSE(set->contains(address(64)));
  EXPECT_FALSE(set->erase(address(64)));
  ASSERT_TRUE(set->insert(address(64)));
  EXPECT_TRUE(set->insert(address(64)));  // already there
  EXPECT_TRUE(set->contains(address(64)));
  EXPECT_FALSE(set->contains(address(64 + AddressSet::kGrain)));
  EXPECT_FALSE(set->erase(address(64 + AddressSet::kGrain)));  // a neighbour in the same leaf
  EXPECT_TRUE(set->erase(address(64)));
  EXPECT_FALSE(set->erase(address(64)));
}

TEST(heaptally_address_set, refuses_addresses_it_cannot_hold) {
  auto set = std::make_unique<AddressSet>();
  ASSERT_TRUE(set->insert(address(4096)));
  // Not a multiple of the grain: never a member, so never one of its neighbours.
  EXPECT_FALSE(set->insert(address(4096 + 8)));
  EXPECT_FALSE(set->contains(address(4096 + 8)));
  EXPECT_FALSE(set->erase(address(4096 + 8)));
  EXPECT_TRUE(set->contains(address(4096)));
  if constexpr (sizeof(std::uintptr_t) == 8) {
    const std::uintptr_t beyond = std::uintptr_t{1} << AddressSet::kAddressBits;
    EXPECT_FALSE(set->insert(address(beyond + 4096)));
    EXPECT_FALSE(set->contains(address(beyond + 4096)));
    EXPECT_FALSE(set->erase(address(beyond + 4096)));
  }
  EXPECT_TRUE(set->erase(address(4096)));
  EXPECT_FALSE(set->contains(address(4096)));
}

}  // namespace
