// The list of live blocks: headers doubly linked through their newer and
// older links, from the newest block to the oldest. Not locked: the caller
// holds the tracker's lock.
#pragma once

#include "block_header.h"

namespace heaptally {

struct LiveList {
  BlockHeader* newest = nullptr;
};

// Links header in as the newest block.
void link_newest(LiveList& list, BlockHeader* header);

// Takes header out of the list, joining its neighbours; the list's newest
// block becomes header's older neighbour when header was the newest.
// Precondition: header is in the list.
void unlink(LiveList& list, BlockHeader* header);

// Whether header is one of the list's blocks; walks the whole list.
bool contains(const LiveList& list, const BlockHeader* header);

}  // namespace heaptally
