#include "model3da/byte_buffer.h"

#include <cstring>

namespace model3da {

ByteBuffer::ByteBuffer(size_t capacity) : capacity_(capacity) {
  if (capacity > 0) data_ = std::make_unique<std::byte[]>(capacity);
}

bool ByteBuffer::append(std::span<const std::byte> bytes) {
  if (!data_) return false;
  const size_t needed = position_ + bytes.size();
  if (capacity_ < needed) {
    const size_t grown = capacity_ * (needed / capacity_ + 1);
    auto block = std::make_unique<std::byte[]>(grown);
    if (length_ > 0) std::memcpy(block.get(), data_.get(), length_);
    data_ = std::move(block);
    capacity_ = grown;
  }
  if (!bytes.empty()) std::memcpy(data_.get() + position_, bytes.data(), bytes.size());
  position_ = needed;
  if (position_ > length_) length_ = position_;
  return true;
}

bool ByteBuffer::seek(size_t position) {
  if (position > length_) return false;
  position_ = position;
  return true;
}

}  // namespace model3da
