#include "block_header.h"

#include <cstring>

#if defined(__linux__)
#include <sys/uio.h>
#include <unistd.h>
#elif defined(_WIN32)
#include <windows.h>
#endif

namespace heaptally {
namespace {

// No system has pages smaller than this, so two addresses in the same span
// of this size share a page.
constexpr std::uintptr_t kMinPageSize = 4096;

// Copies n bytes directly, past the sanitizers' checks: the bytes in front of
// a block are not the caller's, but on the block's own page they are mapped.
__attribute__((no_sanitize("address", "thread"))) void load_raw(const unsigned char* at,
                                                                unsigned char* out, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) out[i] = at[i];
}

// Copies n bytes from memory that may not be mapped, or that the heap took
// back; false when the bytes cannot be read. The kernel does the reading, so
// an unmapped page gives an error instead of a fault, and the program itself
// never touches memory that is not its own; on Windows ReadProcessMemory on
// the process itself does the same. Elsewhere the bytes are read directly,
// and an unmapped page faults.
bool load_checked(const unsigned char* at, unsigned char* out, std::size_t n) {
#if defined(__linux__)
  iovec local{out, n};
  iovec remote{const_cast<unsigned char*>(at), n};
  return process_vm_readv(getpid(), &local, 1, &remote, 1, 0) == static_cast<ssize_t>(n);
#elif defined(_WIN32)
  SIZE_T got = 0;
  return ::ReadProcessMemory(::GetCurrentProcess(), at, out, n, &got) && got == n;
#else
  load_raw(at, out, n);
  return true;
#endif
}

bool same_page(const unsigned char* a, const unsigned char* b) {
  return reinterpret_cast<std::uintptr_t>(a) / kMinPageSize ==
         reinterpret_cast<std::uintptr_t>(b) / kMinPageSize;
}

// Reads the words in front of block that tell whether a header sits there.
template <typename Load>
GuardProbe probe_with(const unsigned char* block, const Load& load) {
  std::uint32_t back = 0;
  unsigned char back_bytes[sizeof back];
  if (!load(block - sizeof back, back_bytes, sizeof back)) {
    return GuardProbe{GuardProbe::kUnreadable};
  }
  std::memcpy(&back, back_bytes, sizeof back);
  GuardProbe probe;
  if (back == kGuard) probe.marks |= GuardProbe::kBack;
  if (back == kRetiredGuard) probe.marks |= GuardProbe::kRetired;

  // The front guard and the user block field, in one read: they share the
  // header's first 16 bytes, which never cross a page in an aligned header.
  constexpr std::size_t kFrontSpan = offsetof(BlockHeader, user_block) + sizeof(void*);
  unsigned char front_bytes[kFrontSpan];
  if (load(block - kHeaderSize, front_bytes, kFrontSpan)) {
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

}  // namespace

GuardProbe probe_checked(const void* block) {
  return probe_with(static_cast<const unsigned char*>(block), load_checked);
}

GuardProbe probe_nearby(const void* block) {
  const auto* bytes = static_cast<const unsigned char*>(block);
  return probe_with(bytes, [bytes](const unsigned char* at, unsigned char* out, std::size_t n) {
    if (same_page(at, bytes) && same_page(at + n - 1, bytes)) {
      load_raw(at, out, n);
      return true;
    }
    return load_checked(at, out, n);
  });
}

}  // namespace heaptally
