// What the strip search remembers of its experiments from one pass to the
// next. An experiment looks at the committed state only through faces that
// share a vertex with a face it built, so its result stands until a face on
// one of those vertices is committed. Each remembered experiment keeps the
// vertices of its faces; each vertex keeps the last pass that committed a face
// on it.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "strip_mesh.h"

namespace model3da::strips {

// An experiment as it went in the pass it was built in.
struct RememberedExperiment {
  std::int32_t pass = kNone;  // kNone when nothing is remembered
  bool complete = false;      // else it stopped after its first strip, as a repeat
  float score = 0.0f;         // when complete
  // The key of its first strip: the hash of its face set and the vertex its
  // further strips start from.
  std::uint64_t hash = 0;
  Vertex vertex = 0;
  // In the memo's pool: the vertices of its faces (those of its first strip
  // first), then its first strip's faces.
  std::uint32_t begin = 0;
  std::uint32_t vertex_count = 0;
  std::uint32_t first_vertex_count = 0;
  std::uint32_t first_count = 0;
};

class ExperimentMemo {
 public:
  ExperimentMemo(std::size_t faces, std::size_t vertices);

  // The experiment from `face` across its edge `edge_slot` (0 to 2) in one
  // direction, or nullptr when none is remembered or a face on a vertex of its
  // first strip was committed since it was built: its first strip is still
  // the same.
  const RememberedExperiment* find(std::int32_t face, int edge_slot, bool toward_second) const;
  // True when no face on a vertex of any of its strips was committed since it
  // was built: it would go the same way again.
  bool stands(const RememberedExperiment& e) const {
    return unchanged(e, e.first_vertex_count, e.vertex_count);
  }
  std::span<const std::int32_t> first_strip(const RememberedExperiment& e) const {
    return {reinterpret_cast<const std::int32_t*>(pool_.get()) + e.begin + e.vertex_count,
            e.first_count};
  }

  // Recording an experiment of `pass` that can build at most `free_faces`
  // faces: begin_recording gives where its vertices go (the caller writes at
  // most three per face), end_recording files them with its first strip. An
  // experiment of more than kMostKept entries keeps only its first strip, as
  // one that large rarely stands until it is asked for again.
  static constexpr std::size_t kMostKept = std::size_t{1} << 14;
  Vertex* begin_recording(std::size_t free_faces);
  void end_recording(std::int32_t face, int edge_slot, bool toward_second,
                     RememberedExperiment entry, const Vertex* vertices_end,
                     std::span<const std::int32_t> first_faces);

  // Notes that a face on these vertices was committed at the end of `pass`.
  void committed(const Vertex* v, std::int32_t pass) {
    for (int k = 0; k < 3; ++k) last_commit_[v[k]] = pass;
  }

 private:
  // No face was committed on its vertices [from, to) since it was built.
  // Inline, as the search asks it for every remembered experiment it meets.
  bool unchanged(const RememberedExperiment& e, std::uint32_t from, std::uint32_t to) const {
    const Vertex* v = pool_.get() + e.begin;
    const std::int32_t* last = last_commit_.data();
    const std::int32_t pass = e.pass;
    for (std::uint32_t i = from; i < to; ++i)
      if (last[v[i]] >= pass) return false;
    return true;
  }
  // Moves the valid entries to the front of the pool and drops the others,
  // and the oldest valid ones while the rest and `need` more entries would
  // fill more than half the pool.
  void compact(std::size_t need);

  std::vector<std::int32_t> slots_;            // per face: its six entries, or kNone
  std::vector<RememberedExperiment> entries_;  // six per face started from
  std::vector<std::int32_t> last_commit_;      // per vertex
  std::unique_ptr<Vertex[]> pool_;             // vertices and faces of the entries
  // Where an experiment that may be too large to keep records its vertices.
  std::unique_ptr<Vertex[]> aside_;
  std::size_t aside_size_ = 0;
  bool recording_aside_ = false;
  std::size_t capacity_ = 0;
  std::size_t most_ = 0;  // the largest the pool may grow to
  std::size_t used_ = 0;
  std::size_t recording_ = 0;  // where the experiment being recorded begins
};

}  // namespace model3da::strips
