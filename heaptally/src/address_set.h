// A set of addresses in one flat table (open addressing, linear probing),
// for the tracker's note of the live blocks whose header reaches onto the
// page before the block. Its memory comes from the C heap directly, never
// through the tracker, and an insert that needs more memory than the heap
// gives fails without changing the set. Not locked: the caller holds the
// tracker's lock.
#pragma once

#include <cstddef>
#include <cstdint>

namespace heaptally {

class AddressSet {
 public:
  AddressSet() = default;
  AddressSet(const AddressSet&) = delete;
  AddressSet& operator=(const AddressSet&) = delete;
  ~AddressSet();

  // Adds address (not null); false when there was no memory for it.
  bool insert(const void* address);
  // Takes address out; false when it was not in the set.
  bool erase(const void* address);
  bool contains(const void* address) const;
  std::size_t size() const { return count_; }

 private:
  std::size_t find_slot(std::uintptr_t key) const;
  bool grow();

  std::uintptr_t* slots_ = nullptr;  // 0 marks an empty slot
  std::size_t capacity_ = 0;         // a power of two, or 0
  std::size_t count_ = 0;
};

}  // namespace heaptally
