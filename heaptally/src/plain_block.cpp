#include "plain_block.h"

#include "block_header.h"

namespace heaptally {

bool is_plain_block(HeaderRecord& headers, const void* block, HeaderState state) {
  if (state == HeaderState::kFreed) {
    if (!probe_checked(block).none()) return false;
    headers.forget_freed(static_cast<const unsigned char*>(block) - kHeaderSize);
    return true;
  }
  return probe_nearby(block).none();
}

}  // namespace heaptally
