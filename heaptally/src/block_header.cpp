#include "block_header.h"

#include <cstring>

#if defined(__linux__)
#include <sys/uio.h>
#include <unistd.h>
#endif

namespace heaptally {
namespace {

#if defined(__linux__)
// Copies n bytes from memory that may not be mapped, or that the heap took
// back; false when the bytes cannot be read. The kernel does the reading, so
// an unmapped page gives an error instead of a fault, and the program itself
// never touches memory that is not its own.
bool load_checked(const unsigned char* at, void* out, std::size_t n) {
  iovec local{out, n};
  iovec remote{const_cast<unsigned char*>(at), n};
  return process_vm_readv(getpid(), &local, 1, &remote, 1, 0) == static_cast<ssize_t>(n);
}
#else
// Elsewhere the bytes are read directly, past the sanitizers' checks; an
// unmapped page faults.
__attribute__((no_sanitize("address", "thread"))) bool load_checked(const unsigned char* at,
                                                                    void* out, std::size_t n) {
  auto* into = static_cast<unsigned char*>(out);
  for (std::size_t i = 0; i < n; ++i) into[i] = at[i];
  return true;
}
#endif

}  // namespace

GuardProbe probe_foreign(const void* block) {
  const auto* bytes = static_cast<const unsigned char*>(block);
  std::uint32_t back = 0;
  if (!load_checked(bytes - sizeof back, &back, sizeof back)) {
    return GuardProbe{GuardProbe::kUnreadable};
  }
  GuardProbe probe;
  if (back == kGuard) probe.marks |= GuardProbe::kBack;
  if (back == kRetiredGuard) probe.marks |= GuardProbe::kRetired;

  // The front guard and the user block field, in one read: they share the
  // header's first 16 bytes, which never cross a page in an aligned header.
  constexpr std::size_t kFrontSpan = offsetof(BlockHeader, user_block) + sizeof(void*);
  unsigned char front_bytes[kFrontSpan];
  if (load_checked(bytes - kHeaderSize, front_bytes, kFrontSpan)) {
    std::uint32_t front = 0;
    const void* self = nullptr;
    std::memcpy(&front, front_bytes + offsetof(BlockHeader, front_guard), sizeof front);
    std::memcpy(&self, front_bytes + offsetof(BlockHeader, user_block), sizeof self);
    if (front == kGuard) probe.marks |= GuardProbe::kFront;
    if (front == kRetiredGuard) probe.marks |= GuardProbe::kRetired;
    if (self == block) probe.marks |= GuardProbe::kSelf;
  }
  return probe;
}

}  // namespace heaptally
