// The hidden header in front of every block that memAlloc hands out, and the
// size accounting of a block.
//
// On a 32-bit build the header is 32 bytes:
//   0 front guard, 4 user block, 8 accounted size, 12 file, 16 line,
//   20 newer, 24 older, 28 back guard.
// On a 64-bit build the same fields follow in the same order with 8-byte
// pointers, and padding words go in front of the back guard so that the back
// guard still ends the header and the header size keeps the block aligned for
// any fundamental type (64 bytes with a 16-byte maximum alignment).
#pragma once

#include <cstddef>
#include <cstdint>

namespace heaptally {

// The first eight digits of pi read as hexadecimal digits.
inline constexpr std::uint32_t kGuard = 0x31415926;

// What both guards hold once their block has left the live list: the first
// eight digits of e, so that a stale header never passes for a live one but
// still shows that it was a block of ours.
inline constexpr std::uint32_t kRetiredGuard = 0x27182818;

// Bytes that a block accounts for beyond its size rounded up to 4.
inline constexpr std::int64_t kAccountedExtra = 54;

// The largest request whose accounted size still fits in 32 bits.
inline constexpr std::int32_t kMaxRequest = 2147483592;

namespace detail {

// The header's fields up to the older link; only sizes the padding.
struct HeaderFields {
  std::uint32_t front_guard;
  void* user_block;
  std::int32_t accounted_size;
  const char* file;
  std::int32_t line;
  void* newer;
  void* older;
};

constexpr std::size_t round_up(std::size_t n, std::size_t multiple) {
  return (n + multiple - 1) / multiple * multiple;
}

}  // namespace detail

inline constexpr std::size_t kHeaderSize = detail::round_up(
    sizeof(detail::HeaderFields) + sizeof(std::uint32_t), alignof(std::max_align_t));

// The 32-bit words after the older link; the last one is the back guard.
inline constexpr std::size_t kTailWords =
    (kHeaderSize - sizeof(detail::HeaderFields)) / sizeof(std::uint32_t);

struct BlockHeader {
  std::uint32_t front_guard;
  void* user_block;  // the address just past the header
  std::int32_t accounted_size;
  const char* file;  // the caller's text, not copied
  std::int32_t line;
  BlockHeader* newer;              // the next younger live block, or null
  BlockHeader* older;              // the next older live block, or null
  std::uint32_t tail[kTailWords];  // zero padding, then the back guard

  std::uint32_t back_guard() const { return tail[kTailWords - 1]; }
};

static_assert(sizeof(BlockHeader) == kHeaderSize);
static_assert(offsetof(BlockHeader, tail) == sizeof(detail::HeaderFields));
static_assert(kHeaderSize % alignof(std::max_align_t) == 0);
static_assert(sizeof(void*) != 4 ||
                  (kHeaderSize == 32 && offsetof(BlockHeader, user_block) == 4 &&
                   offsetof(BlockHeader, accounted_size) == 8 &&
                   offsetof(BlockHeader, file) == 12 && offsetof(BlockHeader, line) == 16 &&
                   offsetof(BlockHeader, newer) == 20 && offsetof(BlockHeader, older) == 24),
              "a 32-bit build keeps the 32-byte header layout");

// The accounted size of a request of size bytes (0 <= size <= kMaxRequest):
// size rounded up to a multiple of 4, plus 54.
constexpr std::int32_t accounted_size(std::int32_t size) {
  return static_cast<std::int32_t>(((static_cast<std::int64_t>(size) + 3) & ~std::int64_t{3}) +
                                   kAccountedExtra);
}

inline void* user_block_of(BlockHeader* header) {
  return reinterpret_cast<unsigned char*>(header) + kHeaderSize;
}

inline const void* user_block_of(const BlockHeader* header) {
  return reinterpret_cast<const unsigned char*>(header) + kHeaderSize;
}

// Fills the header at the start of an allocation of kHeaderSize + size bytes
// and returns the header. The links are left null. Inline, like the probe and
// the list links below, because each export is only a few of these steps
// around the C heap and a call apiece would cost more than the steps.
inline BlockHeader* init_header(void* allocation, std::int32_t size, const char* file,
                                std::int32_t line) {
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

// The header that would sit in front of block; only a guess until the block
// is known to be live.
inline BlockHeader* header_of(void* block) {
  return reinterpret_cast<BlockHeader*>(static_cast<unsigned char*>(block) - kHeaderSize);
}

// Marks a header whose block leaves the live list: both guards take
// kRetiredGuard and the user block field is cleared.
inline void retire_header(BlockHeader* header) {
  header->front_guard = kRetiredGuard;
  header->user_block = nullptr;
  header->tail[kTailWords - 1] = kRetiredGuard;
}

// What the words in front of a pointer say about it: one bit per finding.
struct GuardProbe {
  static constexpr unsigned kFront = 1;        // the front guard kHeaderSize bytes before it
  static constexpr unsigned kBack = 2;         // the back guard just before it
  static constexpr unsigned kSelf = 4;         // the header's user block field names it
  static constexpr unsigned kRetired = 8;      // a guard holds kRetiredGuard
  static constexpr unsigned kUnreadable = 16;  // the word just before it is not mapped

  unsigned marks = 0;

  bool front_ok() const { return (marks & kFront) != 0; }
  bool back_ok() const { return (marks & kBack) != 0; }
  bool all() const { return (marks & (kFront | kBack | kSelf)) == (kFront | kBack | kSelf); }
  bool none() const { return marks == 0; }
};

// The marks of a live block's own header, to find damage done by the caller.
inline GuardProbe probe_live_header(const BlockHeader* header) {
  return GuardProbe{(header->front_guard == kGuard ? GuardProbe::kFront : 0u) |
                    (header->back_guard() == kGuard ? GuardProbe::kBack : 0u) |
                    (header->user_block == user_block_of(header) ? GuardProbe::kSelf : 0u)};
}

// The marks in front of a pointer that is not a live block, for telling a
// block of the plain heap from a block of ours that was freed, a pointer
// into a block, or no heap memory at all. A guard or field that cannot be
// read does not match; kUnreadable is set when the word just before the
// pointer cannot be read.
//
// probe_checked reads every word through a read that reports an unmapped page
// instead of faulting (a system call each): for a header the record knows as
// freed, whose memory the heap may have taken back or unmapped.
GuardProbe probe_checked(const void* block);

// probe_nearby reads the words on the pointer's own page directly (mapped
// while the pointer is a block of the heap) and only those on an earlier
// page through the checked read: for a pointer that never had a header of
// ours in front of it.
GuardProbe probe_nearby(const void* block);

}  // namespace heaptally
