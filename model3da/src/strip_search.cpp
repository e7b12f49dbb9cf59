// The experiments. Each experiment is built, scored and then either kept as
// the best so far or dropped, so only two are alive at once. An experiment
// whose first strip holds the same faces as an earlier one's of the same
// pass, and whose further strips start from the same vertex, goes on exactly
// as that one did (within a pass only the experiment's own faces change
// which faces count as marked), so it would tie and lose; it is not built
// beyond its first strip. Reset points are found through a "next face
// without strip" forest, the uniqueness test of the backward walk through
// per-vertex stamps. The faces' marks live in small arrays of their own, as
// looking at a neighbour's mark is the hot step.
#include "strip_search.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace model3da::strips {
namespace {

struct BuiltStrip {
  std::int32_t start_face = kNone;
  std::int32_t start_edge = kNone;
  bool toward_second = true;
  std::int32_t strip_id = kNone;
  std::uint32_t end = 0;  // end of its faces in the experiment's face array
  std::int32_t degenerate_count = 0;
};

struct Experiment {
  std::int32_t experiment_id = kNone;
  std::vector<StripFace> faces;
  std::vector<BuiltStrip> strips;
};

// What decides how an experiment goes on after its first strip: the faces
// of that strip, as a sorted set, and the vertex its further strips start
// from.
struct FirstStripKey {
  std::uint64_t hash = 0;
  Vertex vertex = 0;
  std::vector<std::int32_t> faces;

  bool operator==(const FirstStripKey& other) const {
    return hash == other.hash && vertex == other.vertex && faces == other.faces;
  }
};

class Search {
 public:
  explicit Search(Mesh& mesh) : mesh_(mesh) {
    const std::size_t n = mesh.faces.size();
    next_free_.resize(n + 1);
    for (std::size_t i = 0; i <= n; ++i) next_free_[i] = static_cast<std::int32_t>(i);
    stamps_.assign(static_cast<std::size_t>(mesh.max_index) + 1, 0);
    state_.assign(n, kNone);
    test_strip_.assign(n, kNone);
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
      bool ended_early = false;
      bool have_best = false;
      float best_score = 0.0f;
      for (int sample = 0; sample < 10; ++sample) {
        const std::int32_t reset = reset_point();
        if (reset == kNone) {
          ended_early = true;
          break;
        }
        if (std::find(used, used + used_count, reset) != used + used_count) continue;
        used[used_count++] = reset;
        for (std::int32_t edge : mesh_.face_edges[static_cast<std::size_t>(reset)].edge) {
          for (bool toward_second : {true, false}) {
            if (!run_experiment(reset, edge, toward_second, current_)) continue;
            const float score = score_of(current_);
            if (score > best_score) {
              best_score = score;
              have_best = true;
              std::swap(best_, current_);
            }
          }
        }
      }
      if (have_best) commit(best_, result);
      if (ended_early) break;
    }
    return result;
  }

 private:
  Face& face(std::int32_t f) { return mesh_.faces[static_cast<std::size_t>(f)]; }

  bool is_marked(std::int32_t f, std::int32_t experiment_id) const {
    const std::int32_t state = state_[static_cast<std::size_t>(f)];
    return state == kCommitted || state == experiment_id;
  }

  bool in_strip(std::int32_t f, std::int32_t strip_id) const {
    return test_strip_[static_cast<std::size_t>(f)] == strip_id;
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
      for (std::int32_t f = 0; f < n; ++f) {
        const int count = 3 - mesh_.neighbour_count(mesh_.strip_face(f));
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
    state_[static_cast<std::size_t>(f)] = experiment_id;
    test_strip_[static_cast<std::size_t>(f)] = strip_id;
    for (Vertex v : face(f).v) stamps_[v] = stamp_;
  }

  bool all_stamped(std::int32_t f) const {
    const Face& fc = mesh_.faces[static_cast<std::size_t>(f)];
    return stamps_[fc.v[0]] == stamp_ && stamps_[fc.v[1]] == stamp_ && stamps_[fc.v[2]] == stamp_;
  }

  // Extends a strip from the current edge (p, q) of face `current`.
  void extend(VertexOrNone p, VertexOrNone q, std::int32_t current, std::vector<StripFace>& out,
              bool backward, std::int32_t experiment_id, std::int32_t strip_id,
              std::int32_t& degenerates) {
    for (;;) {
      const std::int32_t f = mesh_.other_face(p, q, current);
      if (f == kNone) break;
      __builtin_prefetch(&mesh_.faces[static_cast<std::size_t>(f)]);
      if (is_marked(f, experiment_id)) break;
      if (backward && all_stamped(f)) break;
      const VertexOrNone n = mesh_.next_index(p, q, f);
      const std::int32_t beyond = mesh_.other_face(q, n, f);
      bool swapped = false;
      if (beyond == kNone || is_marked(beyond, experiment_id)) {
        const std::int32_t side = mesh_.other_face(p, n, f);
        if (side != kNone && !is_marked(side, experiment_id)) {
          const auto pv = static_cast<Vertex>(p);
          out.push_back(StripFace{{pv, static_cast<Vertex>(q), pv}, kNone});
          ++degenerates;
          swapped = true;
        }
      }
      out.push_back(mesh_.strip_face(f));
      mark(f, experiment_id, strip_id);
      if (!swapped) p = q;
      q = n;
      current = f;
    }
  }

  void build(Experiment& experiment, BuiltStrip& strip) {
    ++stamp_;
    const std::int32_t start = strip.start_face;
    mark(start, experiment.experiment_id, strip.strip_id);
    const Edge& edge = mesh_.edges[static_cast<std::size_t>(strip.start_edge)];
    const VertexOrNone a = strip.toward_second ? edge.v0 : edge.v1;
    const VertexOrNone b = strip.toward_second ? edge.v1 : edge.v0;
    const VertexOrNone c = mesh_.next_index(a, b, start);
    forward_.clear();
    forward_.push_back(mesh_.strip_face(start));
    extend(b, c, start, forward_, false, experiment.experiment_id, strip.strip_id,
           strip.degenerate_count);
    backward_.clear();
    extend(b, a, start, backward_, true, experiment.experiment_id, strip.strip_id,
           strip.degenerate_count);
    experiment.faces.insert(experiment.faces.end(), backward_.rbegin(), backward_.rend());
    experiment.faces.insert(experiment.faces.end(), forward_.begin(), forward_.end());
    strip.end = static_cast<std::uint32_t>(experiment.faces.size());
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

  bool find_further(std::int32_t experiment_id, const BuiltStrip& strip, BuiltStrip& further) {
    const Edge& start = mesh_.edges[static_cast<std::size_t>(strip.start_edge)];
    const Vertex v = strip.toward_second ? start.v1 : start.v0;
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

  // The key of an experiment's first strip, the experiment's only strip so
  // far.
  FirstStripKey first_strip_key(const Experiment& experiment) const {
    FirstStripKey key;
    const BuiltStrip& strip = experiment.strips.front();
    const Edge& start = mesh_.edges[static_cast<std::size_t>(strip.start_edge)];
    key.vertex = strip.toward_second ? start.v1 : start.v0;
    for (const StripFace& f : experiment.faces) {
      if (f.face != kNone) key.faces.push_back(f.face);
    }
    std::sort(key.faces.begin(), key.faces.end());
    std::uint64_t hash = 0x9e3779b97f4a7c15ull ^ key.vertex;
    for (std::int32_t f : key.faces) {
      hash = (hash ^ static_cast<std::uint32_t>(f)) * 0x100000001b3ull;
      hash ^= hash >> 29;
    }
    key.hash = hash;
    return key;
  }

  // Builds an experiment; false, leaving it unfinished, when it would only
  // repeat an earlier experiment of this pass.
  bool run_experiment(std::int32_t face, std::int32_t edge, bool toward_second,
                      Experiment& experiment) {
    experiment.experiment_id = next_experiment_id_++;
    experiment.faces.clear();
    experiment.strips.clear();
    BuiltStrip strip;
    strip.start_face = face;
    strip.start_edge = edge;
    strip.toward_second = toward_second;
    for (;;) {
      strip.strip_id = next_strip_id_++;
      build(experiment, strip);
      experiment.strips.push_back(strip);
      if (experiment.strips.size() == 1) {
        FirstStripKey key = first_strip_key(experiment);
        if (std::find(pass_keys_.begin(), pass_keys_.end(), key) != pass_keys_.end()) {
          return false;
        }
        pass_keys_.push_back(std::move(key));
      }
      if (!find_further(experiment.experiment_id, experiment.strips.back(), strip)) break;
    }
    return true;
  }

  static float score_of(const Experiment& experiment) {
    std::int64_t sum = 0;
    std::uint32_t begin = 0;
    for (const BuiltStrip& s : experiment.strips) {
      sum += static_cast<std::int64_t>(s.end - begin) - s.degenerate_count;
      begin = s.end;
    }
    const float count = static_cast<float>(experiment.strips.size());
    return static_cast<float>(sum) / count * 1.0f + count * 0.0f;
  }

  void commit(const Experiment& experiment, StripList& result) {
    std::uint32_t begin = 0;
    for (const BuiltStrip& s : experiment.strips) {
      for (std::uint32_t i = begin; i < s.end; ++i) {
        const StripFace& sf = experiment.faces[i];
        result.faces.push_back(sf);
        if (sf.face == kNone) continue;
        state_[static_cast<std::size_t>(sf.face)] = kCommitted;
        next_free_[static_cast<std::size_t>(sf.face)] = sf.face + 1;
      }
      result.close_strip();
      begin = s.end;
    }
  }

  Mesh& mesh_;
  // Per face: kCommitted once in a committed strip, else the experiment that
  // marked it last (kNone at first); and the strip of that experiment.
  static constexpr std::int32_t kCommitted = -2;
  std::vector<std::int32_t> state_;
  std::vector<std::int32_t> test_strip_;
  std::vector<std::int32_t> next_free_;  // itself for a face without strip, else a later face
  std::vector<std::uint32_t> stamps_;    // per vertex: stamp_ when in the strip being built
  std::uint32_t stamp_ = 0;
  bool first_time_ = true;
  float jump_ = 0.0f;
  std::int32_t next_strip_id_ = 0;
  std::int32_t next_experiment_id_ = 0;
  Experiment current_;
  Experiment best_;
  std::vector<FirstStripKey> pass_keys_;  // of this pass's experiments so far
  std::vector<StripFace> forward_;
  std::vector<StripFace> backward_;
};

}  // namespace

StripList find_all_strips(Mesh& mesh) {
  return Search(mesh).run();
}

}  // namespace model3da::strips
