#include "section_file.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace model3da {

SectionFile::SectionFile(std::FILE* file, uint64_t end) : file_(file), position_(end) {
  buffer_.resize(kBufferSize);
}

void SectionFile::overwrite(uint64_t at, std::span<const std::byte> bytes) {
  const uint64_t buffered = position_ - used_;  // where buffer_[0] goes
  const size_t in_file =
      size_t(std::min<uint64_t>(bytes.size(), buffered - std::min(at, buffered)));
  if (in_file > 0) {
    ++overwrites_in_file_;
    late_.push_back({at, late_bytes_.size(), in_file});
    late_bytes_.insert(late_bytes_.end(), bytes.begin(), bytes.begin() + ptrdiff_t(in_file));
  } else {
    ++overwrites_in_buffer_;
  }
  if (in_file < bytes.size()) {
    std::memcpy(buffer_.data() + (at + in_file - buffered), bytes.data() + in_file,
                bytes.size() - in_file);
  }
}

void SectionFile::finish() {
  flush();
  for (const Late& late : late_) {
    ok_ = ok_ && late.at <= uint64_t(std::numeric_limits<long>::max()) &&
          std::fseek(file_, long(late.at), SEEK_SET) == 0 &&
          std::fwrite(late_bytes_.data() + late.from, 1, late.size, file_) == late.size;
  }
  late_.clear();
  late_bytes_.clear();
  ok_ = ok_ && std::fseek(file_, 0, SEEK_END) == 0;
}

void SectionFile::flush() {
  if (used_ > 0) {
    ok_ = ok_ && std::fwrite(buffer_.data(), 1, used_, file_) == used_;
    used_ = 0;
  }
}

}  // namespace model3da
