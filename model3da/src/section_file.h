// Buffered writes at the end of a file opened for update, and small
// overwrites of what was written before: in the buffer while the bytes still
// lie there, else kept and written to the file in one pass at the end, each
// with a seek and a write (not a seek back to the end as well).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <vector>

#include "model3da/byte_io.h"

namespace model3da {

class SectionFile {
 public:
  static constexpr size_t kBufferSize = 64 * 1024;

  // Writes go on at `end`, the end of `file`, which stays open. The file
  // should be unbuffered (setvbuf): this buffers itself, and a buffered
  // update stream reads a block back at each seek.
  SectionFile(std::FILE* file, uint64_t end);

  // Where the next byte goes.
  uint64_t position() const { return position_; }

  // Room for the next n bytes (at most kBufferSize), to be filled at once.
  std::byte* room(size_t n) {
    if (used_ + n > kBufferSize) flush();
    std::byte* at = buffer_.data() + used_;
    used_ += n;
    position_ += n;
    return at;
  }

  // Overwrites bytes written before: in the buffer where they still lie
  // there; the rest is written to the file by finish().
  void overwrite(uint64_t at, std::span<const std::byte> bytes);

  // Writes the buffer out.
  void flush();

  // Writes the buffer out, then the overwrites that fell behind it, in the
  // order they were made.
  void finish();

  // False once a write or a seek has failed.
  bool ok() const { return ok_; }

  // How many overwrites went wholly into the buffer, and how many had to go
  // (at least in part) to the file.
  uint64_t overwrites_in_buffer() const { return overwrites_in_buffer_; }
  uint64_t overwrites_in_file() const { return overwrites_in_file_; }

 private:
  std::FILE* file_;
  uint64_t position_;
  Bytes buffer_;
  size_t used_ = 0;
  bool ok_ = true;
  uint64_t overwrites_in_buffer_ = 0;
  uint64_t overwrites_in_file_ = 0;
  // Overwrites of bytes already flushed: where they go, and their bytes in
  // late_bytes_ from `from` on.
  struct Late {
    uint64_t at;
    size_t from;
    size_t size;
  };
  std::vector<Late> late_;
  Bytes late_bytes_;
};

}  // namespace model3da
