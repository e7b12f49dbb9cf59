#include "live_list.h"

namespace heaptally {

void link_newest(LiveList& list, BlockHeader* header) {
  header->newer = nullptr;
  header->older = list.newest;
  if (list.newest != nullptr) {
    list.newest->newer = header;
  } else {
    list.oldest = header;
  }
  list.newest = header;
}

namespace {

// Joins the blocks on either side of a block that leaves the list; null
// stands for the list's end on that side.
void join(LiveList& list, BlockHeader* newer, BlockHeader* older) {
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

}  // namespace

void unlink(LiveList& list, BlockHeader* header) {
  join(list, header->newer, header->older);
  header->newer = nullptr;
  header->older = nullptr;
}

bool unlink_by_walking(LiveList& list, const BlockHeader* header) {
  BlockHeader* newer = nullptr;
  BlockHeader* at = list.newest;
  while (at != nullptr && at != header) {
    newer = at;
    at = at->older;
  }
  if (at == nullptr) {
    return false;
  }
  BlockHeader* older = nullptr;
  at = list.oldest;
  while (at != nullptr && at != header) {
    older = at;
    at = at->newer;
  }
  if (at == nullptr) {
    return false;
  }
  join(list, newer, older);
  return true;
}

}  // namespace heaptally
