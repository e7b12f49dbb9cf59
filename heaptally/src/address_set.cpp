#include "address_set.h"

#include <cstdlib>

namespace heaptally {
namespace {

std::size_t hash_of(std::uintptr_t key) {
  std::uint64_t h = static_cast<std::uint64_t>(key) >> 4;  // blocks are 16-byte aligned or so
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdull;
  h ^= h >> 33;
  return static_cast<std::size_t>(h);
}

}  // namespace

AddressSet::~AddressSet() {
  std::free(slots_);
}

// The slot that holds key, or the empty slot where it would go.
std::size_t AddressSet::find_slot(std::uintptr_t key) const {
  const std::size_t mask = capacity_ - 1;
  std::size_t i = hash_of(key) & mask;
  while (slots_[i] != 0 && slots_[i] != key) i = (i + 1) & mask;
  return i;
}

bool AddressSet::grow() {
  const std::size_t capacity = capacity_ == 0 ? 64 : capacity_ * 2;
  auto* slots = static_cast<std::uintptr_t*>(std::calloc(capacity, sizeof(std::uintptr_t)));
  if (slots == nullptr) return false;
  std::uintptr_t* old = slots_;
  const std::size_t old_capacity = capacity_;
  slots_ = slots;
  capacity_ = capacity;
  for (std::size_t i = 0; i < old_capacity; ++i) {
    if (old[i] != 0) slots_[find_slot(old[i])] = old[i];
  }
  std::free(old);
  return true;
}

bool AddressSet::insert(const void* address) {
  const auto key = reinterpret_cast<std::uintptr_t>(address);
  if ((count_ + 1) * 2 > capacity_ && !grow()) return false;
  const std::size_t i = find_slot(key);
  if (slots_[i] == 0) {
    slots_[i] = key;
    ++count_;
  }
  return true;
}

bool AddressSet::contains(const void* address) const {
  if (capacity_ == 0) return false;
  return slots_[find_slot(reinterpret_cast<std::uintptr_t>(address))] != 0;
}

bool AddressSet::erase(const void* address) {
  if (capacity_ == 0) return false;
  const std::size_t mask = capacity_ - 1;
  std::size_t hole = find_slot(reinterpret_cast<std::uintptr_t>(address));
  if (slots_[hole] == 0) return false;
  // Backward shift: move later members of the probe run into the hole
  // whenever the hole lies on their way from their home slot.
  for (std::size_t i = (hole + 1) & mask; slots_[i] != 0; i = (i + 1) & mask) {
    const std::size_t home = hash_of(slots_[i]) & mask;
    const bool hole_on_way = hole <= i ? (home <= hole || home > i) : (home <= hole && home > i);
    if (hole_on_way) {
      slots_[hole] = slots_[i];
      hole = i;
    }
  }
  slots_[hole] = 0;
  --count_;
  return true;
}

}  // namespace heaptally
