#include "block_header.h"

#include <cstring>

#if defined(__linux__)
#include <sys/uio.h>
#include <unistd.h>
#endif

namespace heaptally {
namespace {

// No system has pages smaller than this, so two addresses in the same span
// of this size share a page.
constexpr std::uintptr_t kMinPageSize = 4096;

bool same_page(const unsigned char* a, const unsigned char* b) {
  return reinterpret_cast<std::uintptr_t>(a) / kMinPageSize ==
         reinterpret_cast<std::uintptr_t>(b) / kMinPageSize;
}

// Copies n bytes from possibly foreign memory, one byte at a time, so that no
// sanitizer interceptor looks at the read.
__attribute__((no_sanitize("address", "thread"))) void load_raw(const unsigned char* at,
                                                                unsigned char* out, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    out[i] = at[i];
  }
}

// Copies n bytes from memory that may not be mapped; false when it is not.
bool load_checked(const unsigned char* at, unsigned char* out, std::size_t n) {
#if defined(__linux__)
  iovec local{out, n};
  iovec remote{const_cast<unsigned char*>(at), n};
  return process_vm_readv(getpid(), &local, 1, &remote, 1, 0) == static_cast<ssize_t>(n);
#else
  load_raw(at, out, n);
  return true;
#endif
}

// Loads a T at `at`, in front of block: directly when `at` lies on block's
// page or `trusted`, otherwise checked. Returns false when unreadable.
template <typename T>
bool load_in_front(const unsigned char* block, const unsigned char* at, bool trusted, T& value) {
  unsigned char bytes[sizeof(T)];
  if (trusted || same_page(at, block)) {
    load_raw(at, bytes, sizeof(T));
  } else if (!load_checked(at, bytes, sizeof(T))) {
    return false;
  }
  std::memcpy(&value, bytes, sizeof(T));
  return true;
}

}  // namespace

BlockHeader* init_header(void* allocation, std::int32_t size, const char* file, std::int32_t line) {
  auto* header = static_cast<BlockHeader*>(allocation);
  header->front_guard = kGuard;
  header->user_block = user_block_of(header);
  header->accounted_size = accounted_size(size);
  header->file = file;
  header->line = line;
  header->newer = nullptr;
  header->older = nullptr;
  for (std::size_t i = 0; i + 1 < kTailWords; ++i) {
    header->tail[i] = 0;
  }
  header->tail[kTailWords - 1] = kGuard;
  return header;
}

GuardProbe probe_guards(const void* block) {
  const auto* bytes = static_cast<const unsigned char*>(block);
  const unsigned char* header = bytes - kHeaderSize;
  GuardProbe probe{};
  std::uint32_t back = 0;
  probe.back_ok =
      load_in_front(bytes, bytes - sizeof(std::uint32_t), false, back) && back == kGuard;
  std::uint32_t front = 0;
  probe.front_ok =
      load_in_front(bytes, header + offsetof(BlockHeader, front_guard), probe.back_ok, front) &&
      front == kGuard;
  const void* self = nullptr;
  probe.self_ok =
      load_in_front(bytes, header + offsetof(BlockHeader, user_block), probe.back_ok, self) &&
      self == block;
  return probe;
}

}  // namespace heaptally
