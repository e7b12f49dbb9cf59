#include "block_header.h"

#include <cstring>

#if defined(__linux__)
#include <sys/uio.h>
#include <unistd.h>
#endif

namespace heaptally {
namespace {

// Copies n bytes from possibly foreign memory without the sanitizers' checks.
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

bool same_page(const unsigned char* a, const unsigned char* b) {
  return reinterpret_cast<std::uintptr_t>(a) / kMinPageSize ==
         reinterpret_cast<std::uintptr_t>(b) / kMinPageSize;
}

// Loads a T from `at`, in front of block, directly when it lies on block's
// page, otherwise checked. Returns false when unreadable.
template <typename T>
bool load_cautiously(const unsigned char* block, const unsigned char* at, T& value) {
  unsigned char bytes[sizeof(T)];
  if (same_page(at, block)) {
    load_raw(at, bytes, sizeof(T));
  } else if (!load_checked(at, bytes, sizeof(T))) {
    return false;
  }
  std::memcpy(&value, bytes, sizeof(T));
  return true;
}

// The three marks read directly from a header known to be readable.
__attribute__((no_sanitize("address", "thread"))) GuardProbe probe_directly(
    const unsigned char* block) {
  const unsigned char* header = block - kHeaderSize;
  std::uint32_t back;
  std::uint32_t front;
  const void* self;
  __builtin_memcpy(&back, block - sizeof back, sizeof back);
  __builtin_memcpy(&front, header + offsetof(BlockHeader, front_guard), sizeof front);
  __builtin_memcpy(&self, header + offsetof(BlockHeader, user_block), sizeof self);
  return GuardProbe{(front == kGuard ? GuardProbe::kFront : 0u) |
                    (back == kGuard ? GuardProbe::kBack : 0u) |
                    (self == block ? GuardProbe::kSelf : 0u)};
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

GuardProbe probe_guards(const void* block, bool header_known) {
  const auto* bytes = static_cast<const unsigned char*>(block);
  if (header_known || !header_leaves_page(block)) {
    return probe_directly(bytes);
  }
  const unsigned char* header = bytes - kHeaderSize;
  std::uint32_t back = 0;
  std::uint32_t front = 0;
  const void* self = nullptr;
  GuardProbe probe;
  if (load_cautiously(bytes, bytes - sizeof back, back) && back == kGuard) {
    probe.marks |= GuardProbe::kBack;
  }
  if (load_cautiously(bytes, header + offsetof(BlockHeader, front_guard), front) &&
      front == kGuard) {
    probe.marks |= GuardProbe::kFront;
  }
  if (load_cautiously(bytes, header + offsetof(BlockHeader, user_block), self) && self == block) {
    probe.marks |= GuardProbe::kSelf;
  }
  return probe;
}

}  // namespace heaptally
