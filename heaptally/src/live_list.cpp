#include "live_list.h"

namespace heaptally {

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
