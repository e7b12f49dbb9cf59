// MappedFile: a file's bytes mapped into memory, copy on write. The pages
// come from the system's file cache as they are read, so reading a file just
// written costs no copy of it on the heap, and only the parts touched are
// brought in. Changes stay in this process's copy of the pages changed; the
// file is never written. The file must not change while it is mapped.
#pragma once

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <utility>

namespace model3da {

class MappedFile {
 public:
  MappedFile() = default;
  ~MappedFile();
  MappedFile(MappedFile&& other) noexcept;
  MappedFile& operator=(MappedFile&& other) noexcept;
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // Maps the whole file at `path`; an empty text, or the reason it cannot
  // be mapped (missing, unreadable, empty).
  std::string open(const std::filesystem::path& path);

  // Unmaps the file; bytes() is empty afterwards.
  void close();

  // Lets the pages lying wholly inside `range` (part of bytes()) go from
  // this process's memory; reading them again brings them back from the
  // file, so changes made in them are lost. For bytes read once and done
  // with, so that reading a whole file does not hold all of it at once.
  void release(std::span<const std::byte> range) const;

  std::span<std::byte> bytes() const { return {data_, size_}; }

 private:
  std::pair<std::byte*, size_t> inner_pages(std::span<const std::byte> range) const;

  std::byte* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace model3da
