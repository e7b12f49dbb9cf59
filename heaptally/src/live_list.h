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
inline void link_newest(LiveList& list, BlockHeader* header) {
  header->newer = nullptr;
  header->older = list.newest;
  if (list.newest != nullptr) {
    list.newest->newer = header;
  } else {
    list.oldest = header;
  }
  list.newest = header;
}

// Joins the blocks on either side of a block that leaves the list; null
// stands for the list's end on that side.
inline void join(LiveList& list, BlockHeader* newer, BlockHeader* older) {
  if (newer != nullptr) {
    newer->older = older;
  } else {
    list.newest = older;
  }
  if (older != nullptr) {
    older->newer = newer;
  } else {
    list.oldest = newer;
  }
}

// Takes header out of the list, joining its neighbours; the list's newest
// block becomes header's older neighbour when header was the newest.
// Precondition: header is in the list and its links are intact.
inline void unlink(LiveList& list, BlockHeader* header) {
  join(list, header->newer, header->older);
  header->newer = nullptr;
  header->older = nullptr;
}

// Takes header out of the list without trusting its own links, for a header
// that something overwrote: its neighbours are found by walking from both
// ends of the list. Returns false, changing nothing, when header is not in
// the list. Walks up to the whole list.
bool unlink_by_walking(LiveList& list, const BlockHeader* header);

}  // namespace heaptally
