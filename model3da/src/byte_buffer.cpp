#include "model3da/byte_buffer.h"

#include <cstring>
#include <new>

namespace model3da {

ByteBuffer::ByteBuffer(size_t capacity) {
  if (capacity == 0) return;
  data_.reset(static_cast<std::byte*>(std::malloc(capacity)));
  if (!data_) throw std::bad_alloc();
  capacity_ = capacity;
}

std::byte* ByteBuffer::append_room(size_t n) {
  if (!data_) return nullptr;
  const size_t needed = position_ + n;
  if (capacity_ < needed) {
    // The new block receives the old bytes and the old block is freed.
    const size_t grown = capacity_ * (needed / capacity_ + 1);
    auto* block = static_cast<std::byte*>(std::realloc(data_.get(), grown));
    if (block == nullptr) throw std::bad_alloc();
    static_cast<void>(data_.release());
    data_.reset(block);
    capacity_ = grown;
  }
  std::byte* at = data_.get() + position_;
  position_ = needed;
  if (position_ > length_) length_ = position_;
  return at;
}

bool ByteBuffer::append(std::span<const std::byte> bytes) {
  std::byte* at = append_room(bytes.size());
  if (at == nullptr) return false;
  if (!bytes.empty()) std::memcpy(at, bytes.data(), bytes.size());
  return true;
}

bool ByteBuffer::seek(size_t position) {
  if (position > length_) return false;
  position_ = position;
  return true;
}

void ByteBuffer::release() {
  data_.reset();
  length_ = position_ = capacity_ = 0;
}

}  // namespace model3da
