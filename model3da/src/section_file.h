// Buffered writes at the end of a file opened for update, and small
// overwrites of what was written before.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>

#include "model3da/byte_io.h"

namespace model3da {

class SectionFile {
 public:
  static constexpr size_t kBufferSize = 64 * 1024;

  // Writes go on at `end`, the end of `file`, which stays open.
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
  // there, else in the file, coming back to its end.
  void overwrite(uint64_t at, std::span<const std::byte> bytes);

  void flush();

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
};

}  // namespace model3da
