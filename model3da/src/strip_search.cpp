// The experiments. An experiment is built only to be scored: its strips'
// faces are counted, not kept, and the pass's winner is built once more,
// this time keeping its faces, when it is committed (an experiment depends
// only on the committed faces and on its own, so the second build gives the
// same strips). An experiment whose first strip holds the same faces as an
// earlier one's of the same pass, and whose further strips start from the
// same vertex, goes on exactly as that one did (within a pass only the
// experiment's own faces change which faces count as marked), so it would
// tie and lose; it is not built beyond its first strip. Passes sample the
// same reset points again and again, so an experiment is remembered with the
// vertices of its faces and not built again while no face on them has been
// committed (see strip_memo.h). Reset points are found through a "next face
// without strip" forest, the uniqueness test of the backward walk through
// per-vertex stamps. A strip walks from face to face through each face's
// neighbours and the edges beyond the shared one in the neighbour, noted
// once per surface, so a step needs no search. The faces' marks live in
// small arrays of their own, as looking at a neighbour's mark is the hot
// step.
#include "strip_search.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "strip_memo.h"

namespace model3da::strips {
namespace {

struct BuiltStrip {
  std::int32_t start_face = kNone;
  std::int32_t start_edge = kNone;
  bool toward_second = true;
  std::int32_t strip_id = kNone;
};

// What decides how an experiment goes on after its first strip: the faces
// of that strip, as a set, and the vertex its further strips start from. The
// faces lie in the pass's pool; `hash` does not depend on their order.
struct FirstStripKey {
  std::uint64_t hash = 0;
  Vertex vertex = 0;
  std::uint32_t begin = 0;  // in the pool
  std::uint32_t count = 0;
};

int next_corner(int k) {
  return k == 2 ? 0 : k + 1;
}

// A face as the strip walks see it: its vertices, the faces across its edges
// (the search's "no face" face where there is none) and, for each edge, the
// other two edges of the face across it: where the shared edge lies there is
// corner j, these are its edges j + 1 and j + 2, the first packed in the low
// two bits.
struct alignas(32) WalkFace {
  Vertex v[3] = {0, 0, 0};
  std::uint32_t across[3] = {0, 0, 0};
  std::uint8_t beyond[3] = {0, 0, 0};
};

class Search {
 public:
  explicit Search(Mesh& mesh)
      : mesh_(mesh), memo_(mesh.faces.size(), static_cast<std::size_t>(mesh.max_index) + 1) {
    const std::size_t n = mesh.faces.size();
    free_faces_ = n;
    tags_.assign(n, 0);
    next_free_.resize(n + 1);
    for (std::size_t i = 0; i <= n; ++i) next_free_[i] = static_cast<std::int32_t>(i);
    stamps_.assign(static_cast<std::size_t>(mesh.max_index) + 1, 0);
    // Face n stands for "no face": it counts as marked in every experiment.
    marks_.assign(n + 1, Marks{});
    marks_[n].state = kCommitted;
    // The shared edge's corner in the face across is where that face holds
    // the same edge record: a face's three edges have three records.
    walk_.reserve(n);
    for (std::size_t f = 0; f < n; ++f) {
      const Face& face = mesh.faces[f];
      WalkFace w;
      for (int k = 0; k < 3; ++k) {
        w.v[k] = face.v[k];
        const std::int32_t other = face.across[k];
        w.across[k] =
            other == kNone ? static_cast<std::uint32_t>(n) : static_cast<std::uint32_t>(other);
        if (other == kNone) continue;
        const std::int32_t e = mesh.face_edges[f].edge[k];
        const std::int32_t* there = mesh.face_edges[static_cast<std::size_t>(other)].edge;
        const int j = there[0] == e ? 0 : there[1] == e ? 1 : 2;
        const int j1 = next_corner(j);
        w.beyond[k] = static_cast<std::uint8_t>(j1 | next_corner(j1) << 2);
      }
      walk_.push_back(w);
    }
  }

  // The passes. Building an experiment as soon as its sample is chosen gives
  // the same experiments as choosing all samples first: reset points depend
  // only on which faces lie in committed strips, and building changes none.
  StripList run() {
    StripList result;
    for (;;) {
      std::int32_t used[10];
      int used_count = 0;
      pass_keys_.clear();
      pass_faces_.clear();
      bool ended_early = false;
      bool have_best = false;
      float best_score = 0.0f;
      BuiltStrip best;
      for (int sample = 0; sample < 10; ++sample) {
        const std::int32_t reset = reset_point();
        if (reset == kNone) {
          ended_early = true;
          break;
        }
        if (std::find(used, used + used_count, reset) != used + used_count) continue;
        used[used_count++] = reset;
        for (int slot = 0; slot < 3; ++slot) {
          for (bool toward_second : {true, false}) {
            BuiltStrip first;
            first.start_face = reset;
            first.start_edge = mesh_.face_edges[static_cast<std::size_t>(reset)].edge[slot];
            first.toward_second = toward_second;
            float score = 0.0f;
            if (!score_experiment(first, slot, score)) continue;
            if (score > best_score) {
              best_score = score;
              have_best = true;
              best = first;
            }
          }
        }
      }
      if (have_best) commit(best, result);
      if (ended_early) break;
      ++pass_;
    }
    return result;
  }

 private:
  const Face& face(std::int32_t f) const { return mesh_.faces[static_cast<std::size_t>(f)]; }

  // The corner k of face f whose edge (k, k + 1) joins a and b.
  int local_edge(std::int32_t f, VertexOrNone a, VertexOrNone b) const {
    const Vertex* v = face(f).v;
    for (int k = 0; k < 3; ++k) {
      const Vertex x = v[k];
      const Vertex y = v[next_corner(k)];
      if ((x == a && y == b) || (x == b && y == a)) return k;
    }
    return 0;
  }

  bool is_marked(std::int32_t f, std::int32_t experiment_id) const {
    return marks_[static_cast<std::size_t>(f)].state >= experiment_id;
  }

  bool in_strip(std::int32_t f, std::int32_t strip_id) const {
    return marks_[static_cast<std::size_t>(f)].strip == strip_id;
  }

  std::int32_t first_free(std::int32_t i) {
    while (next_free_[static_cast<std::size_t>(i)] != i) {
      auto& link = next_free_[static_cast<std::size_t>(i)];
      link = next_free_[static_cast<std::size_t>(link)];
      i = link;
    }
    return i;
  }

  std::int32_t reset_point() {
    const auto n = static_cast<std::int32_t>(mesh_.faces.size());
    std::int32_t start = kNone;
    if (first_time_) {
      first_time_ = false;
      int best_count = -1;
      std::int32_t best_face = kNone;
      // The first face with the most edges without a face across.
      const auto none = static_cast<std::uint32_t>(n);
      for (std::int32_t f = 0; f < n; ++f) {
        const std::uint32_t* across = walk_[static_cast<std::size_t>(f)].across;
        const int count = (across[0] == none) + (across[1] == none) + (across[2] == none);
        if (count > best_count) {
          best_count = count;
          best_face = f;
        }
      }
      if (best_count > 0) start = best_face;
    }
    if (start == kNone) {
      start = static_cast<std::int32_t>(static_cast<float>(n - 1) * jump_);
      start = std::clamp(start, 0, n - 1);
    }
    std::int32_t result = first_free(start);
    if (result == n) {
      result = first_free(0);
      if (result >= start) result = kNone;
    }
    jump_ += 0.1f;
    if (jump_ > 1.0f) jump_ = 0.05f;
    return result;
  }

  void mark(std::int32_t f, std::int32_t experiment_id, std::int32_t strip_id) {
    marks_[static_cast<std::size_t>(f)] = Marks{experiment_id, strip_id};
    for (Vertex v : face(f).v) stamps_[v] = stamp_;
  }

  // Extends a strip across edge k of face `current`, whose vertices are p
  // and q (the last two indices of the strip so far). Counts the faces it
  // adds and the swap faces among them; `out`, when given, receives them.
  // `first` (the first strip of an experiment) receives the faces' numbers.
  // The three uses (scoring, keeping, a first strip) and the two directions
  // are instances of their own, and the hot state is held in locals, as
  // this loop is where the builder spends most of its time.
  template <bool kBackward, bool kKeep, bool kFirst>
  void extend(VertexOrNone p, VertexOrNone q, std::uint32_t current, int k,
              std::vector<StripFace>* out, std::vector<std::int32_t>* first,
              std::int32_t experiment_id, std::int32_t strip_id, std::int32_t& faces,
              std::int32_t& degenerates) {
    const WalkFace* const all = walk_.data();
    Marks* const marks = marks_.data();
    std::uint32_t* const stamps = stamps_.data();
    const std::uint32_t stamp = stamp_;
    Vertex* record = record_;
    // Marked: committed, in this experiment, or no face at all.
    auto marked = [marks, experiment_id](std::uint32_t f) {
      return marks[f].state >= experiment_id;
    };
    std::int32_t steps = 0;
    std::int32_t swaps = 0;
    for (;;) {
      const WalkFace& at = all[current];
      const std::uint32_t f = at.across[k];
      if (marked(f)) break;
      const WalkFace& next = all[f];
      // The face's vertex beyond the shared edge j, and its edges (q, n) and
      // (p, n). Every vertex of the strip so far carries the stamp, the
      // shared edge's two among them, so the face's vertices all lie in the
      // strip exactly when n does.
      const int beyond = at.beyond[k];
      const int j1 = beyond & 3;
      const int j2 = beyond >> 2;
      const Vertex n = next.v[j2];
      if (kBackward && stamps[n] == stamp) break;
      const bool q_second = next.v[j1] == q;
      const int qn = q_second ? j1 : j2;
      const int pn = q_second ? j2 : j1;
      int exit = qn;
      if (marked(next.across[qn]) && !marked(next.across[pn])) {
        if constexpr (kKeep) {
          const auto pv = static_cast<Vertex>(p);
          out->push_back(StripFace{{pv, static_cast<Vertex>(q), pv}, kNone});
        }
        ++swaps;
        exit = pn;
      } else {
        p = q;
      }
      if constexpr (kKeep) out->push_back(mesh_.strip_face(static_cast<std::int32_t>(f)));
      if constexpr (kFirst) first->push_back(static_cast<std::int32_t>(f));
      if constexpr (!kKeep) *record++ = n;
      ++steps;
      marks[f] = Marks{experiment_id, strip_id};
      stamps[n] = stamp;
      q = n;
      k = exit;
      current = f;
    }
    faces += steps + swaps;
    degenerates += swaps;
    if constexpr (!kKeep) record_ = record;
  }

  // Both directions of a strip from its start face, for one use.
  template <bool kKeep, bool kFirst>
  void extend_both(VertexOrNone a, VertexOrNone b, VertexOrNone c, std::int32_t start,
                   std::vector<std::int32_t>* first, std::int32_t experiment_id,
                   std::int32_t strip_id, std::int32_t& faces, std::int32_t& degenerates) {
    extend<false, kKeep, kFirst>(b, c, static_cast<std::uint32_t>(start), local_edge(start, b, c),
                                 &forward_, first, experiment_id, strip_id, faces, degenerates);
    extend<true, kKeep, kFirst>(b, a, static_cast<std::uint32_t>(start), local_edge(start, b, a),
                                &backward_, first, experiment_id, strip_id, faces, degenerates);
  }

  // Builds a strip of an experiment; returns its faces less its swap faces.
  // `out` (when given) receives its faces in order, `first` the numbers of
  // its faces.
  std::int32_t build(std::int32_t experiment_id, const BuiltStrip& strip,
                     std::vector<StripFace>* out, std::vector<std::int32_t>* first) {
    ++stamp_;
    const std::int32_t start = strip.start_face;
    mark(start, experiment_id, strip.strip_id);
    const Edge& edge = mesh_.edges[static_cast<std::size_t>(strip.start_edge)];
    const VertexOrNone a = strip.toward_second ? edge.v0 : edge.v1;
    const VertexOrNone b = strip.toward_second ? edge.v1 : edge.v0;
    const VertexOrNone c = mesh_.next_index(a, b, start);
    std::int32_t faces = 1;
    std::int32_t degenerates = 0;
    if (first != nullptr) first->push_back(start);
    if (out == nullptr) {
      for (Vertex v : face(start).v) *record_++ = v;
    }
    if (out != nullptr) {
      forward_.clear();
      forward_.push_back(mesh_.strip_face(start));
      backward_.clear();
    }
    if (out != nullptr && first != nullptr) {
      extend_both<true, true>(a, b, c, start, first, experiment_id, strip.strip_id, faces,
                              degenerates);
    } else if (out != nullptr) {
      extend_both<true, false>(a, b, c, start, first, experiment_id, strip.strip_id, faces,
                               degenerates);
    } else if (first != nullptr) {
      extend_both<false, true>(a, b, c, start, first, experiment_id, strip.strip_id, faces,
                               degenerates);
    } else {
      extend_both<false, false>(a, b, c, start, first, experiment_id, strip.strip_id, faces,
                                degenerates);
    }
    if (out != nullptr) {
      out->insert(out->end(), backward_.rbegin(), backward_.rend());
      out->insert(out->end(), forward_.begin(), forward_.end());
    }
    return faces - degenerates;
  }

  bool shares_edge(std::int32_t f, std::int32_t strip_id) const {
    for (std::int32_t e : mesh_.face_edges[static_cast<std::size_t>(f)].edge) {
      const Edge& edge = mesh_.edges[static_cast<std::size_t>(e)];
      if ((edge.face0 != kNone && in_strip(edge.face0, strip_id)) ||
          (edge.face1 != kNone && in_strip(edge.face1, strip_id)))
        return true;
    }
    return false;
  }

  static Vertex further_vertex(const Mesh& mesh, const BuiltStrip& strip) {
    const Edge& start = mesh.edges[static_cast<std::size_t>(strip.start_edge)];
    return strip.toward_second ? start.v1 : start.v0;
  }

  bool find_further(std::int32_t experiment_id, const BuiltStrip& strip, BuiltStrip& further) {
    const Vertex v = further_vertex(mesh_, strip);
    std::int32_t e = mesh_.heads[static_cast<std::size_t>(v)];
    while (e != kNone) {
      const Edge& edge = mesh_.edges[static_cast<std::size_t>(e)];
      std::int32_t untouched = kNone;
      if (edge.face0 != kNone && !in_strip(edge.face0, strip.strip_id) && edge.face1 != kNone &&
          !is_marked(edge.face1, experiment_id)) {
        untouched = edge.face1;
      } else if (edge.face1 != kNone && !in_strip(edge.face1, strip.strip_id) &&
                 edge.face0 != kNone && !is_marked(edge.face0, experiment_id)) {
        untouched = edge.face0;
      }
      if (untouched != kNone) {
        further = BuiltStrip{};
        further.start_face = untouched;
        further.start_edge = e;
        further.toward_second =
            shares_edge(untouched, strip.strip_id) ? edge.v0 == v : edge.v1 == v;
        return true;
      }
      e = edge.v0 == v ? edge.next_v0 : edge.next_v1;
    }
    return false;
  }

  // The hash of the set of faces from `begin` on in the pool: the sum and the
  // sum of squares of their numbers, cheap to take, the same for the same set,
  // and rarely the same for two sets of one size (which are then compared).
  std::uint64_t face_set_hash(std::uint32_t begin) const {
    std::uint64_t sum = 0;
    std::uint64_t squares = 0;
    for (std::size_t i = begin; i < pass_faces_.size(); ++i) {
      const auto f = static_cast<std::uint64_t>(pass_faces_[i]);
      sum += f;
      squares += f * f;
    }
    return sum * 0x9E3779B97F4A7C15ull ^ squares;
  }

  // True when an earlier experiment of this pass had the first strip whose
  // faces are those from `begin` on in the pool and whose further strips
  // start from `vertex`. `strip_id` is that of the faces when they were just
  // built (their marks tell them), else kNone (they are tagged).
  bool repeats_first_strip(std::uint32_t begin, std::uint64_t hash, Vertex vertex,
                           std::int32_t strip_id) {
    const auto count = static_cast<std::uint32_t>(pass_faces_.size()) - begin;
    bool tagged = strip_id != kNone;
    auto in_set = [&](std::int32_t f) {
      return strip_id != kNone ? in_strip(f, strip_id) : tags_[static_cast<std::size_t>(f)] == tag_;
    };
    for (const FirstStripKey& key : pass_keys_) {
      if (key.hash != hash || key.vertex != vertex || key.count != count) continue;
      if (!tagged) {
        ++tag_;
        for (std::size_t i = begin; i < pass_faces_.size(); ++i)
          tags_[static_cast<std::size_t>(pass_faces_[i])] = tag_;
        tagged = true;
      }
      // A strip's faces are unique, so the same number of them, all in the
      // other set, is the same set.
      bool same = true;
      for (std::uint32_t i = key.begin; i < key.begin + key.count && same; ++i)
        same = in_set(pass_faces_[i]);
      if (same) return true;
    }
    return false;
  }

  // Scores the experiment that starts with `first`, from edge `slot` of its
  // face, for this pass: false when it only repeats an earlier experiment of
  // the pass. An experiment remembered from an earlier pass is not built
  // again while it stands, nor while its first strip does and repeats an
  // earlier experiment's of the pass.
  bool score_experiment(const BuiltStrip& first, int slot, float& score) {
    const auto begin = static_cast<std::uint32_t>(pass_faces_.size());
    if (const RememberedExperiment* known =
            memo_.find(first.start_face, slot, first.toward_second)) {
      const std::span<const std::int32_t> faces = memo_.first_strip(*known);
      pass_faces_.insert(pass_faces_.end(), faces.begin(), faces.end());
      if (repeats_first_strip(begin, known->hash, known->vertex, kNone)) {
        pass_faces_.resize(begin);
        return false;
      }
      if (known->complete && memo_.stands(*known)) {
        pass_keys_.push_back(FirstStripKey{known->hash, known->vertex, begin,
                                           static_cast<std::uint32_t>(faces.size())});
        score = known->score;
        return true;
      }
      // Stopped as a repeat when it was built, or changed beyond its first
      // strip, and not a repeat now.
      pass_faces_.resize(begin);
    }
    RememberedExperiment entry;
    entry.pass = pass_;
    record_ = memo_.begin_recording(free_faces_);
    record_begin_ = record_;
    entry.complete = run_experiment(first, nullptr, score, &entry);
    entry.score = score;
    const std::span<const std::int32_t> faces(pass_faces_.data() + begin,
                                              pass_faces_.size() - begin);
    memo_.end_recording(first.start_face, slot, first.toward_second, entry, record_, faces);
    if (!entry.complete) pass_faces_.resize(begin);
    return entry.complete;
  }

  // Builds the experiment that starts with `strip`. `score` receives its
  // score; `out` (when given) receives its strips. When scoring (`entry`
  // given), notes its first strip's faces in the pass's pool and its key in
  // `entry`, and returns false, leaving it unfinished, when it would only
  // repeat an earlier experiment of this pass.
  bool run_experiment(BuiltStrip strip, StripList* out, float& score, RememberedExperiment* entry) {
    const std::int32_t experiment_id = next_experiment_id_++;
    std::int64_t sum = 0;
    std::int64_t strips = 0;
    for (;;) {
      strip.strip_id = next_strip_id_++;
      if (strips == 0 && out == nullptr) {
        const auto begin = static_cast<std::uint32_t>(pass_faces_.size());
        sum += build(experiment_id, strip, nullptr, &pass_faces_);
        entry->first_vertex_count = static_cast<std::uint32_t>(record_ - record_begin_);
        entry->hash = face_set_hash(begin);
        entry->vertex = further_vertex(mesh_, strip);
        if (repeats_first_strip(begin, entry->hash, entry->vertex, strip.strip_id)) return false;
        pass_keys_.push_back(FirstStripKey{entry->hash, entry->vertex, begin,
                                           static_cast<std::uint32_t>(pass_faces_.size()) - begin});
      } else {
        sum += build(experiment_id, strip, out != nullptr ? &out->faces : nullptr, nullptr);
        if (out != nullptr) out->close_strip();
      }
      ++strips;
      const BuiltStrip built = strip;
      if (!find_further(experiment_id, built, strip)) break;
    }
    const auto count = static_cast<float>(strips);
    score = static_cast<float>(sum) / count * 1.0f + count * 0.0f;
    return true;
  }

  // Builds the pass's winner again, keeping its strips, and commits them.
  void commit(const BuiltStrip& first, StripList& result) {
    const std::size_t begin = result.faces.size();
    float score = 0.0f;
    run_experiment(first, &result, score, nullptr);
    for (std::size_t i = begin; i < result.faces.size(); ++i) {
      const std::int32_t f = result.faces[i].face;
      if (f == kNone) continue;
      marks_[static_cast<std::size_t>(f)].state = kCommitted;
      next_free_[static_cast<std::size_t>(f)] = f + 1;
      memo_.committed(face(f).v, pass_);
      --free_faces_;
    }
  }

  Mesh& mesh_;
  // Per face: kCommitted once in a committed strip, else the experiment that
  // marked it last (kNone at first); and the strip of that experiment (its
  // test strip). kCommitted lies above every experiment, so "committed or in
  // this experiment" is one comparison.
  static constexpr std::int32_t kCommitted = std::numeric_limits<std::int32_t>::max();
  struct Marks {
    std::int32_t state = kNone;
    std::int32_t strip = kNone;
  };
  std::vector<Marks> marks_;
  std::vector<WalkFace> walk_;
  std::vector<std::int32_t> next_free_;  // itself for a face without strip, else a later face
  std::vector<std::uint32_t> stamps_;    // per vertex: stamp_ when in the strip being built
  std::uint32_t stamp_ = 0;
  bool first_time_ = true;
  float jump_ = 0.0f;
  std::int32_t next_strip_id_ = 0;
  std::int32_t next_experiment_id_ = 0;
  std::vector<FirstStripKey> pass_keys_;  // of this pass's experiments so far
  std::vector<std::int32_t> pass_faces_;  // their first strips' faces
  std::vector<StripFace> forward_;
  std::vector<StripFace> backward_;
  // Experiments of earlier passes, and where the one being scored writes the
  // vertices of its faces.
  ExperimentMemo memo_;
  Vertex* record_ = nullptr;
  const Vertex* record_begin_ = nullptr;
  std::int32_t pass_ = 0;
  std::size_t free_faces_ = 0;
  std::vector<std::uint32_t> tags_;  // per face: tag_ when in the set being compared
  std::uint32_t tag_ = 0;
};

}  // namespace

StripList find_all_strips(Mesh& mesh) {
  return Search(mesh).run();
}

}  // namespace model3da::strips
