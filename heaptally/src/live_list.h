// The list of live blocks: headers doubly linked through their newer and
// older links, from the newest block to the oldest. Not locked: the caller
// holds the tracker's lock.
#pragma once

#include "block_header.h"

namespace heaptally {

struct LiveList {
  BlockHeader* newest = nullptr;
  BlockHeader* oldest = nullptr;
};

// Links header in as the newest block.
void link_newest(LiveList& list, BlockHeader* header);

// Takes header out of the list, joining its neighbours; the list's newest
// block becomes header's older neighbour when header was the newest.
// Precondition: header is in the list and its links are intact.
void unlink(LiveList& list, BlockHeader* header);

// Takes header out of the list without trusting its own links, for a header
// that something overwrote: its neighbours are found by walking from both
// ends of the list. Returns false, changing nothing, when header is not in
// the list. Walks up to the whole list.
bool unlink_by_walking(LiveList& list, const BlockHeader* header);

}  // namespace heaptally
