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

}  // namespace

GuardProbe probe_guards_cautiously(const unsigned char* bytes) {
  const void* block = bytes;
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
