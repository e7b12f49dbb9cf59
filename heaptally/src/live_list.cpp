#include "live_list.h"

namespace heaptally {

void link_newest(LiveList& list, BlockHeader* header) {
  header->newer = nullptr;
  header->older = list.newest;
  if (list.newest != nullptr) {
    list.newest->newer = header;
  }
  list.newest = header;
}

void unlink(LiveList& list, BlockHeader* header) {
  if (header->newer != nullptr) {
    header->newer->older = header->older;
  } else {
    list.newest = header->older;
  }
  if (header->older != nullptr) {
    header->older->newer = header->newer;
  }
  header->newer = nullptr;
  header->older = nullptr;
}

bool contains(const LiveList& list, const BlockHeader* header) {
  for (const BlockHeader* at = list.newest; at != nullptr; at = at->older) {
    if (at == header) {
      return true;
    }
  }
  return false;
}

}  // namespace heaptally
