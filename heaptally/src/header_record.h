// The tracker's record of the headers it handed out: for every kGrain bytes
// of address space, whether the header of a live block starts there, or the
// header of a block that was freed and whose address has not been handed
// out again. memFree asks it before it reads any header, so a block freed
// twice is known without touching the memory that the heap took back.
//
// Two bits per grain, in leaves of 16 KiB that each cover 1 MiB (64-bit
// build), reached through a middle and a top table: each step costs two
// table loads and a bit test, without probing or rehashing, with any number
// of blocks. Tables are made when an address first needs them and kept
// until the record is destroyed; their memory comes from the C heap
// directly, never through the tracker. Not locked: the caller holds the
// tracker's lock.
#pragma once

#include <cstddef>
#include <cstdint>

namespace heaptally {

enum class HeaderState { kNone, kLive, kFreed };

class HeaderRecord {
 public:
  // Headers are multiples of this: what malloc aligns every block to.
  static constexpr std::uintptr_t kGrain = alignof(std::max_align_t);
  // Headers lie below 2 to the power of this (the user address space of
  // today's 64-bit systems).
  static constexpr unsigned kAddressBits = sizeof(std::uintptr_t) == 8 ? 48 : 32;

  constexpr HeaderRecord() = default;
  HeaderRecord(const HeaderRecord&) = delete;
  HeaderRecord& operator=(const HeaderRecord&) = delete;
  ~HeaderRecord();

  // Records a live header. False, changing nothing, when the address is not
  // a multiple of kGrain, lies beyond kAddressBits, or a table for it cannot
  // be made.
  bool add_live(const void* header) {
    std::uintptr_t key;
    if (!key_of(header, key)) [[unlikely]]
      return false;
    Leaf* leaf = leaf_of(key);
    if (leaf == nullptr) [[unlikely]] {
      leaf = add_leaf(key);
      if (leaf == nullptr) return false;
    }
    std::uint64_t* pair = leaf->words + 2 * ((key & kLeafMask) / 64);
    const std::uint64_t bit = std::uint64_t{1} << (key % 64);
    pair[kLive] |= bit;
    pair[kFreed] &= ~bit;
    return true;
  }

  // A live header becomes a freed one. Returns the state the header had:
  // only kLive changes anything.
  HeaderState free_live(const void* header) {
    std::uintptr_t key;
    if (!key_of(header, key)) [[unlikely]]
      return HeaderState::kNone;
    Leaf* leaf = leaf_of(key);
    if (leaf == nullptr) [[unlikely]]
      return HeaderState::kNone;
    std::uint64_t* pair = leaf->words + 2 * ((key & kLeafMask) / 64);
    const std::uint64_t bit = std::uint64_t{1} << (key % 64);
    if ((pair[kLive] & bit) == 0) [[unlikely]]
      return (pair[kFreed] & bit) != 0 ? HeaderState::kFreed : HeaderState::kNone;
    pair[kLive] &= ~bit;
    pair[kFreed] |= bit;
    return HeaderState::kLive;
  }

  // Drops the note of a freed header, for an address that turned out to
  // hold something else.
  void forget_freed(const void* header);

  HeaderState state(const void* header) const;

 private:
  static constexpr unsigned kGrainBits = __builtin_ctzll(kGrain);
  static constexpr unsigned kKeyBits = kAddressBits - kGrainBits;
  static constexpr unsigned kLeafBits = 16;  // grains per leaf: 65536, two bits each
  static constexpr unsigned kMidBits = 14;   // leaves per middle table
  static constexpr unsigned kTopBits =
      kKeyBits > kLeafBits + kMidBits ? kKeyBits - kLeafBits - kMidBits : 0;
  static constexpr std::uintptr_t kLeafMask = (std::uintptr_t{1} << kLeafBits) - 1;
  static constexpr std::uintptr_t kMidMask = (std::uintptr_t{1} << kMidBits) - 1;
  static_assert(kKeyBits < sizeof(std::uintptr_t) * 8);
  // Each 64 grains have a pair of words, side by side in one cache line.
  static constexpr std::size_t kLive = 0;
  static constexpr std::size_t kFreed = 1;

  struct Leaf {
    std::uint64_t words[2 * ((std::size_t{1} << kLeafBits) / 64)];
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

  // Makes the tables that key's bits live in; null when there is no memory.
  Leaf* add_leaf(std::uintptr_t key);

  Mid* top_[std::size_t{1} << kTopBits] = {};
};

}  // namespace heaptally
