// Copy-on-write file mappings: mmap on POSIX systems, a file mapping view
// on Windows.
#include "model3da/mapped_file.h"

#include <fmt/format.h>

#include <cstdint>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace model3da {

namespace {

size_t page_size() {
#ifdef _WIN32
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwPageSize;
#else
  return size_t(sysconf(_SC_PAGESIZE));
#endif
}

}  // namespace

// The whole pages inside `range`: their start and length (0 for none).
std::pair<std::byte*, size_t> MappedFile::inner_pages(std::span<const std::byte> range) const {
  if (data_ == nullptr || range.empty() || range.data() < data_ ||
      range.data() + range.size() > data_ + size_) {
    return {nullptr, 0};
  }
  static const size_t page = page_size();
  const auto start = reinterpret_cast<uintptr_t>(range.data());
  const uintptr_t first = (start + page - 1) / page * page;
  const uintptr_t end = (start + range.size()) / page * page;
  if (end <= first) return {nullptr, 0};
  return {data_ + (first - reinterpret_cast<uintptr_t>(data_)), size_t(end - first)};
}

MappedFile::~MappedFile() {
  close();
}

MappedFile::MappedFile(MappedFile&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
  if (this != &other) {
    close();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

#ifdef _WIN32

std::string MappedFile::open(const std::filesystem::path& path) {
  close();
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return fmt::format("cannot open {}", path.string());
  LARGE_INTEGER size{};
  std::string error;
  if (!GetFileSizeEx(file, &size)) {
    error = fmt::format("cannot read the length of {}", path.string());
  } else if (size.QuadPart <= 0) {
    error = fmt::format("{} is empty", path.string());
  } else if (uint64_t(size.QuadPart) > SIZE_MAX) {
    error = fmt::format("{} is too large to map", path.string());
  }
  HANDLE mapping = nullptr;
  if (error.empty()) {
    mapping = CreateFileMappingW(file, nullptr, PAGE_WRITECOPY, 0, 0, nullptr);
    if (mapping == nullptr) error = fmt::format("cannot map {}", path.string());
  }
  if (mapping != nullptr) {
    void* view = MapViewOfFile(mapping, FILE_MAP_COPY, 0, 0, 0);
    if (view == nullptr) {
      error = fmt::format("cannot map {}", path.string());
    } else {
      data_ = static_cast<std::byte*>(view);
      size_ = size_t(size.QuadPart);
    }
    // The view keeps the mapping and the file open.
    CloseHandle(mapping);
  }
  CloseHandle(file);
  return error;
}

void MappedFile::release(std::span<const std::byte> range) const {
  const auto [from, length] = inner_pages(range);
  // Pages that are not locked leave the working set (the call reports that
  // they were not locked).
  if (length > 0) VirtualUnlock(from, length);
}

void MappedFile::close() {
  if (data_ != nullptr) UnmapViewOfFile(data_);
  data_ = nullptr;
  size_ = 0;
}

#else

std::string MappedFile::open(const std::filesystem::path& path) {
  close();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return fmt::format("cannot open {}", path.string());
  struct stat info {};
  std::string error;
  if (fstat(fd, &info) != 0) {
    error = fmt::format("cannot read the length of {}", path.string());
  } else if (info.st_size <= 0) {
    error = fmt::format("{} is empty", path.string());
  } else if (uint64_t(info.st_size) > SIZE_MAX) {
    error = fmt::format("{} is too large to map", path.string());
  } else {
    void* view = mmap(nullptr, size_t(info.st_size), PROT_READ | PROT_WRITE, MAP_PRIVATE, fd, 0);
    if (view == MAP_FAILED) {
      error = fmt::format("cannot map {}", path.string());
    } else {
      data_ = static_cast<std::byte*>(view);
      size_ = size_t(info.st_size);
    }
  }
  // The mapping stays valid after the descriptor is closed.
  ::close(fd);
  return error;
}

void MappedFile::release(std::span<const std::byte> range) const {
  const auto [from, length] = inner_pages(range);
  if (length > 0) madvise(from, length, MADV_DONTNEED);
}

void MappedFile::close() {
  if (data_ != nullptr) munmap(data_, size_);
  data_ = nullptr;
  size_ = 0;
}

#endif

}  // namespace model3da
