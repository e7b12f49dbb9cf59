// A set of addresses that are multiples of the heap's alignment, for the
// tracker's record of the headers of all live blocks: one bit per kGrain
// bytes of address space, in leaves of 8 KiB that each cover 1 MiB (64-bit
// build), reached through a middle and a top table. Membership costs two
// table loads and a bit test, without probing or rehashing, so the common
// path stays short and predictable with any number of blocks. Tables are
// made when an address first needs them and kept until the set is
// destroyed; their memory comes from the C heap directly, never through the
// tracker, and an insert that needs a table the heap cannot give fails
// without changing the set. Not locked: the caller holds the tracker's lock.
#pragma once

#include <cstddef>
#include <cstdint>

namespace heaptally {

class AddressSet {
 public:
  // Members are multiples of this: what malloc aligns every block to.
  static constexpr std::uintptr_t kGrain = alignof(std::max_align_t);
  // Members lie below 2 to the power of this (the user address space of
  // today's 64-bit systems).
  static constexpr unsigned kAddressBits = sizeof(std::uintptr_t) == 8 ? 48 : 32;

  constexpr AddressSet() = default;
  AddressSet(const AddressSet&) = delete;
  AddressSet& operator=(const AddressSet&) = delete;
  ~AddressSet();

  // Adds address; false when it is not a multiple of kGrain, lies beyond
  // kAddressBits, or a table for it cannot be made.
  bool insert(const void* address) {
    std::uintptr_t key;
    if (!key_of(address, key)) [[unlikely]]
      return false;
    Leaf* leaf = leaf_of(key);
    if (leaf == nullptr) [[unlikely]] {
      leaf = add_leaf(key);
      if (leaf == nullptr) return false;
    }
    leaf->words[(key & kLeafMask) / 64] |= std::uint64_t{1} << (key % 64);
    return true;
  }

  // Takes address out; false when it was not in the set.
  bool erase(const void* address) {
    std::uintptr_t key;
    if (!key_of(address, key)) [[unlikely]]
      return false;
    Leaf* leaf = leaf_of(key);
    if (leaf == nullptr) [[unlikely]]
      return false;
    std::uint64_t& word = leaf->words[(key & kLeafMask) / 64];
    const std::uint64_t bit = std::uint64_t{1} << (key % 64);
    if ((word & bit) == 0) [[unlikely]]
      return false;
    word &= ~bit;
    return true;
  }

  bool contains(const void* address) const;

 private:
  static constexpr unsigned kGrainBits = __builtin_ctzll(kGrain);
  static constexpr unsigned kKeyBits = kAddressBits - kGrainBits;
  static constexpr unsigned kLeafBits = 16;  // keys per leaf: 65536 bits, 8 KiB
  static constexpr unsigned kMidBits = 14;   // leaves per middle table
  static constexpr unsigned kTopBits =
      kKeyBits > kLeafBits + kMidBits ? kKeyBits - kLeafBits - kMidBits : 0;
  static constexpr std::uintptr_t kLeafMask = (std::uintptr_t{1} << kLeafBits) - 1;
  static constexpr std::uintptr_t kMidMask = (std::uintptr_t{1} << kMidBits) - 1;
  static_assert(kKeyBits < sizeof(std::uintptr_t) * 8);

  struct Leaf {
    std::uint64_t words[(std::size_t{1} << kLeafBits) / 64];
  };
  struct Mid {
    Leaf* leaves[std::size_t{1} << kMidBits];
  };

  // The key of address: its number of grains; false when it cannot be one.
  static bool key_of(const void* address, std::uintptr_t& key) {
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    key = at >> kGrainBits;
    return at % kGrain == 0 && key >> kKeyBits == 0;
  }

  Leaf* leaf_of(std::uintptr_t key) const {
    const Mid* mid = top_[key >> (kLeafBits + kMidBits)];
    return mid == nullptr ? nullptr : mid->leaves[(key >> kLeafBits) & kMidMask];
  }

  // Makes the tables that key's bit lives in; null when there is no memory.
  Leaf* add_leaf(std::uintptr_t key);

  Mid* top_[std::size_t{1} << kTopBits] = {};
};

}  // namespace heaptally
