#include "header_record.h"

#include <cstdlib>

namespace heaptally {

HeaderRecord::~HeaderRecord() {
  for (Mid* mid : top_) {
    if (mid == nullptr) continue;
    for (Leaf* leaf : mid->leaves) std::free(leaf);
    std::free(mid);
  }
}

void HeaderRecord::forget_freed(const void* header) {
  std::uintptr_t key;
  if (!key_of(header, key)) return;
  Leaf* leaf = leaf_of(key);
  if (leaf == nullptr) return;
  leaf->words[2 * ((key & kLeafMask) / 64) + kFreed] &= ~(std::uint64_t{1} << (key % 64));
}

HeaderState HeaderRecord::state(const void* header) const {
  std::uintptr_t key;
  if (!key_of(header, key)) return HeaderState::kNone;
  const Leaf* leaf = leaf_of(key);
  if (leaf == nullptr) return HeaderState::kNone;
  const std::uint64_t* pair = leaf->words + 2 * ((key & kLeafMask) / 64);
  const std::uint64_t bit = std::uint64_t{1} << (key % 64);
  if ((pair[kLive] & bit) != 0) return HeaderState::kLive;
  if ((pair[kFreed] & bit) != 0) return HeaderState::kFreed;
  return HeaderState::kNone;
}

HeaderRecord::Leaf* HeaderRecord::add_leaf(std::uintptr_t key) {
  Mid*& mid = top_[key >> (kLeafBits + kMidBits)];
  if (mid == nullptr) {
    mid = static_cast<Mid*>(std::calloc(1, sizeof(Mid)));
    if (mid == nullptr) return nullptr;
  }
  Leaf*& leaf = mid->leaves[(key >> kLeafBits) & kMidMask];
  if (leaf == nullptr) {
    leaf = static_cast<Leaf*>(std::calloc(1, sizeof(Leaf)));
  }
  return leaf;
}

}  // namespace heaptally
