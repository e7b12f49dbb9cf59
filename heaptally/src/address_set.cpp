#include "address_set.h"

#include <cstdlib>

namespace heaptally {

AddressSet::~AddressSet() {
  for (Mid* mid : top_) {
    if (mid == nullptr) continue;
    for (Leaf* leaf : mid->leaves) std::free(leaf);
    std::free(mid);
  }
}

bool AddressSet::contains(const void* address) const {
  std::uintptr_t key;
  if (!key_of(address, key)) return false;
  const Leaf* leaf = leaf_of(key);
  return leaf != nullptr &&
         (leaf->words[(key & kLeafMask) / 64] & (std::uint64_t{1} << (key % 64))) != 0;
}

AddressSet::Leaf* AddressSet::add_leaf(std::uintptr_t key) {
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
