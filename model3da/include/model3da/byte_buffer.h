// ByteBuffer: the growable byte buffer that holds the node chain of an export
// (and each node's data while it is assembled), already in file layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

namespace model3da {

class ByteBuffer {
 public:
  // A buffer with a data block of `capacity` bytes (the export starts with
  // 128). A capacity of 0 gives a buffer without a data block.
  explicit ByteBuffer(size_t capacity = 128);

  ByteBuffer(ByteBuffer&&) noexcept = default;
  ByteBuffer& operator=(ByteBuffer&&) noexcept = default;

  // Copies `bytes` at the write position and advances it; the length becomes
  // the larger of length and position. When capacity < position + n the
  // buffer first grows to capacity * ((position + n) / capacity + 1).
  // Returns false, changing nothing, when the buffer has no data block.
  bool append(std::span<const std::byte> bytes);

  // Makes room for `n` bytes at the write position exactly as append does
  // and returns where they go, for the caller to fill before the buffer
  // changes again; null, changing nothing, without a data block.
  std::byte* append_room(size_t n);

  // Moves the write position (at most to the length); returns false when
  // `position` lies past the length.
  bool seek(size_t position);

  // Frees the data block; the buffer then has none (capacity 0).
  void release();

  // Empties the buffer (length and position 0) and keeps its block.
  void clear() { length_ = position_ = 0; }

  std::span<const std::byte> bytes() const { return {data_.get(), length_}; }
  std::span<std::byte> mutable_bytes() { return {data_.get(), length_}; }
  size_t length() const { return length_; }
  size_t position() const { return position_; }
  size_t capacity() const { return capacity_; }

 private:
  // The block is the C heap's, so that growing it can extend it in place
  // (a large block is remapped, not copied) and fresh capacity stays
  // untouched until it is written.
  struct Free {
    void operator()(std::byte* p) const { std::free(p); }
  };
  std::unique_ptr<std::byte, Free> data_;
  size_t length_ = 0;
  size_t position_ = 0;
  size_t capacity_ = 0;
};

}  // namespace model3da
