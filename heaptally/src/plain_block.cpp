#include "plain_block.h"

#include "block_header.h"

namespace heaptally {

bool is_plain_block(HeaderRecord& headers, const void* block, HeaderState state) {
  if (state == HeaderState::kFreed) {
    if (!probe_checked(block).none()) return false;
    headers.forget_freed(static_cast<const unsigned char*>(block) - kHeaderSize);
    return true;
  }
  // Nothing mapped just in front of it: no header of ours was ever there
  // (a header is written where the block starts), so it is a plain block that
  // the heap placed at the start of a mapping.
  const GuardProbe probe = probe_nearby(block);
  return probe.none() || probe.marks == GuardProbe::kUnreadable;
}

}  // namespace heaptally
