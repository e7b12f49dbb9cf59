// The remembered experiments: six entries per face that an experiment started
// from, and one pool for their vertices and first strips. When the next
// experiment might not fit, the entries whose first strips are still valid
// are moved to the pool's front and the others dropped; when the valid ones
// fill more than half of it, a large surface's pool grows, up to a fixed
// multiple of the surface's faces, and beyond that the oldest valid ones are
// dropped too. So memory stays bounded, and small where experiments are
// rarely repeated. An experiment that might not fit in half the pool is
// recorded in a buffer to the side, touched only as far as experiments reach,
// and copied into the pool when it is kept: one too large to keep (on a large
// surface in mesh order experiments cover most of it, and every commit ends
// them) keeps only its first strip.
#include "strip_memo.h"

#include <algorithm>
#include <cstring>

namespace model3da::strips {
namespace {

// Pool entries per face of the surface, at first and at most. An experiment
// needs at most four per face it may build (three vertices of a strip's first
// face, one for each further face, one per face of its first strip), so half
// the pool always holds one whole experiment. The pool grows only while its
// valid entries fill more than half of it.
constexpr std::size_t kFirstPoolPerFace = 8;
constexpr std::size_t kMostPoolPerFace = 24;
// A pool up to this many entries (256 KiB) is made whole at once: growing
// costs a copy and leaves the old block behind in the heap.
constexpr std::size_t kWholePoolAtOnce = std::size_t{1} << 16;

std::size_t entry_of(int edge_slot, bool toward_second) {
  return static_cast<std::size_t>(edge_slot) * 2 + (toward_second ? 0 : 1);
}

}  // namespace

ExperimentMemo::ExperimentMemo(std::size_t faces, std::size_t vertices)
    : slots_(faces, kNone),
      last_commit_(vertices, kNone),
      capacity_(faces * kMostPoolPerFace + 16),
      most_(capacity_) {
  if (capacity_ > kWholePoolAtOnce) capacity_ = faces * kFirstPoolPerFace + 16;
  pool_.reset(new Vertex[capacity_]);
}

const RememberedExperiment* ExperimentMemo::find(std::int32_t face, int edge_slot,
                                                 bool toward_second) const {
  const std::int32_t slot = slots_[static_cast<std::size_t>(face)];
  if (slot == kNone) return nullptr;
  const RememberedExperiment& e =
      entries_[static_cast<std::size_t>(slot) + entry_of(edge_slot, toward_second)];
  if (e.pass == kNone || !unchanged(e, 0, e.first_vertex_count)) return nullptr;
  return &e;
}

void ExperimentMemo::compact(std::size_t need) {
  std::vector<std::uint32_t> live;
  std::size_t live_size = 0;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    RememberedExperiment& e = entries_[i];
    if (e.pass == kNone) continue;
    if (unchanged(e, 0, e.first_vertex_count)) {
      live.push_back(static_cast<std::uint32_t>(i));
      live_size += std::size_t{e.vertex_count} + e.first_count;
    } else {
      e.pass = kNone;
    }
  }
  // In pool order, which is the order they were recorded in: the oldest go
  // first while the valid ones would leave less than half the pool free
  // (less, and a pool full of valid entries would be compacted for every
  // experiment). Moving them in that order never overwrites one not moved
  // yet.
  std::sort(live.begin(), live.end(), [this](std::uint32_t a, std::uint32_t b) {
    return entries_[a].begin < entries_[b].begin;
  });
  // A larger pool, when the valid ones need it, receives them in order.
  std::unique_ptr<Vertex[]> larger;
  if (live_size + need > capacity_ / 2 && capacity_ < most_) {
    capacity_ = std::min(most_, std::max(capacity_ * 2, (live_size + need) * 2));
    larger.reset(new Vertex[capacity_]);
  }
  Vertex* const to = larger ? larger.get() : pool_.get();
  used_ = 0;
  for (std::uint32_t i : live) {
    RememberedExperiment& e = entries_[i];
    const std::size_t size = std::size_t{e.vertex_count} + e.first_count;
    if (live_size + need > capacity_ / 2) {
      e.pass = kNone;
      live_size -= size;
      continue;
    }
    std::memmove(to + used_, pool_.get() + e.begin, size * sizeof(Vertex));
    e.begin = static_cast<std::uint32_t>(used_);
    used_ += size;
  }
  if (larger) pool_ = std::move(larger);
}

Vertex* ExperimentMemo::begin_recording(std::size_t free_faces) {
  const std::size_t need = free_faces * 4 + 8;
  recording_aside_ = need > kMostKept;
  if (recording_aside_) {
    const std::size_t most_vertices = free_faces * 3 + 8;
    if (aside_size_ < most_vertices) {
      aside_.reset(new Vertex[most_vertices]);
      aside_size_ = most_vertices;
    }
    return aside_.get();
  }
  if (used_ + need > capacity_) compact(need);
  recording_ = used_;
  return pool_.get() + used_;
}

void ExperimentMemo::end_recording(std::int32_t face, int edge_slot, bool toward_second,
                                   RememberedExperiment entry, const Vertex* vertices_end,
                                   std::span<const std::int32_t> first_faces) {
  const Vertex* const recorded = recording_aside_ ? aside_.get() : pool_.get() + recording_;
  entry.vertex_count = static_cast<std::uint32_t>(vertices_end - recorded);
  entry.first_count = static_cast<std::uint32_t>(first_faces.size());
  if (std::size_t{entry.vertex_count} + entry.first_count > kMostKept) {
    entry.vertex_count = entry.first_vertex_count;
    entry.complete = false;
  }
  const std::size_t size = std::size_t{entry.vertex_count} + entry.first_count;
  std::int32_t& slot = slots_[static_cast<std::size_t>(face)];
  if (size > kMostKept) {
    // Not even its first strip is kept.
    if (slot != kNone)
      entries_[static_cast<std::size_t>(slot) + entry_of(edge_slot, toward_second)].pass = kNone;
    if (!recording_aside_) used_ = recording_;
    return;
  }
  if (recording_aside_) {
    if (used_ + size > capacity_) compact(size);
    recording_ = used_;
    std::memcpy(pool_.get() + recording_, recorded, entry.vertex_count * sizeof(Vertex));
  }
  entry.begin = static_cast<std::uint32_t>(recording_);
  if (!first_faces.empty()) {
    std::memcpy(pool_.get() + recording_ + entry.vertex_count, first_faces.data(),
                first_faces.size() * sizeof(Vertex));
  }
  used_ = recording_ + size;
  if (slot == kNone) {
    slot = static_cast<std::int32_t>(entries_.size());
    entries_.resize(entries_.size() + 6);
  }
  entries_[static_cast<std::size_t>(slot) + entry_of(edge_slot, toward_second)] = entry;
}

}  // namespace model3da::strips
