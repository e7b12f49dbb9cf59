// The plain strip builder, step by step: linear edge search through the
// vertices' edge lists, linear duplicate search, a vertex cache that really
// shifts its slots, and full rescans for every choice. Every experiment is kept
// until all of a pass are scored.
#include "strip_reference.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace model3da::plain {
namespace {

constexpr int kNone = -1;

struct Face {
  int v0 = 0, v1 = 0, v2 = 0;
  int strip_id = kNone;
  int test_strip_id = kNone;
  int experiment_id = kNone;
};

struct Edge {
  int v0 = 0, v1 = 0;
  int face0 = kNone, face1 = kNone;
  int next_v0 = kNone, next_v1 = kNone;
};

struct Strip {
  int start_face = kNone;
  int start_edge = kNone;
  bool toward_second = true;
  std::vector<int> faces;
  int strip_id = kNone;
  int experiment_id = kNone;
  bool visited = false;
  int degenerate_count = 0;
};

struct Triangle {
  int a = 0, b = 0, c = 0;
};

bool is_degenerate(const Face& f) {
  return f.v0 == f.v1 || f.v1 == f.v2 || f.v0 == f.v2;
}

bool has_vertex(const Face& f, int v) {
  return f.v0 == v || f.v1 == v || f.v2 == v;
}

bool is_cw(const Face& f, int a, int b) {
  if (f.v0 == a) return f.v1 == b;
  if (f.v1 == a) return f.v2 == b;
  return f.v0 == b;
}

class Cache {
 public:
  explicit Cache(int size) : slots_(static_cast<std::size_t>(size), kNone) {}
  bool contains(int v) const { return std::find(slots_.begin(), slots_.end(), v) != slots_.end(); }
  void add(int v) {
    for (std::size_t i = slots_.size() - 1; i > 0; --i) slots_[i] = slots_[i - 1];
    slots_[0] = v;
  }
  void add_face(const Face& f) {
    for (int v : {f.v0, f.v1, f.v2})
      if (!contains(v)) add(v);
  }
  int hits(const Face& f) const {
    return static_cast<int>(contains(f.v0)) + static_cast<int>(contains(f.v1)) +
           static_cast<int>(contains(f.v2));
  }

 private:
  std::vector<int> slots_;
};

// The first triangle of a strip reordered so that the vertex the second face
// lacks comes first; `stitching` adds the special rule for a degenerate second
// face.
Triangle first_triangle(const std::vector<Face>& faces, const std::vector<int>& strip,
                        bool stitching) {
  const Face& first = faces[static_cast<std::size_t>(strip[0])];
  Triangle t{first.v0, first.v1, first.v2};
  if (strip.size() > 1) {
    const Face& second = faces[static_cast<std::size_t>(strip[1])];
    int unique = kNone;
    for (int v : {t.a, t.b, t.c}) {
      if (!has_vertex(second, v)) {
        unique = v;
        break;
      }
    }
    if (unique == t.b) {
      std::swap(t.a, t.b);
    } else if (unique == t.c) {
      std::swap(t.a, t.c);
    }
    if (strip.size() > 2) {
      if (stitching && is_degenerate(second)) {
        if (t.b == second.v1) std::swap(t.b, t.c);
      } else {
        const Face& third = faces[static_cast<std::size_t>(strip[2])];
        // Counted over distinct vertices: (p, q, p) shares p once.
        std::vector<int> shared;
        for (int v : {third.v0, third.v1, third.v2}) {
          if ((v == t.a || v == t.b || v == t.c) &&
              std::find(shared.begin(), shared.end(), v) == shared.end())
            shared.push_back(v);
        }
        const int shared_count = static_cast<int>(shared.size());
        if (shared_count == 1 && shared[0] == t.b) std::swap(t.b, t.c);
      }
    }
  }
  return t;
}

class Stripifier {
 public:
  Stripifier(const StripMessageSink& sink, int cache_size, int min_strip_length)
      : sink_(sink), cache_size_(cache_size), min_strip_length_(min_strip_length) {}

  void build_records(const std::vector<int>& indices, int max_index) {
    heads_.assign(static_cast<std::size_t>(max_index) + 1, kNone);
    for (std::size_t t = 0; t + 2 < indices.size(); t += 3) {
      Face face{indices[t], indices[t + 1], indices[t + 2]};
      if (is_degenerate(face)) continue;
      const int f = static_cast<int>(faces_.size());
      faces_.push_back(face);
      bool all_existed = true;
      std::vector<int> linked;
      for (auto [a, b] : {std::pair{face.v0, face.v1}, {face.v1, face.v2}, {face.v2, face.v0}}) {
        const int e = find_edge(a, b);
        if (e == kNone) {
          Edge edge{a,
                    b,
                    f,
                    kNone,
                    heads_[static_cast<std::size_t>(a)],
                    heads_[static_cast<std::size_t>(b)]};
          edges_.push_back(edge);
          heads_[static_cast<std::size_t>(a)] = static_cast<int>(edges_.size()) - 1;
          heads_[static_cast<std::size_t>(b)] = static_cast<int>(edges_.size()) - 1;
          all_existed = false;
        } else if (edges_[static_cast<std::size_t>(e)].face1 == kNone) {
          edges_[static_cast<std::size_t>(e)].face1 = f;
          linked.push_back(e);
        } else {
          say(kMessageThirdFaceOnEdge);
        }
      }
      if (!all_existed) continue;
      bool duplicate = false;
      for (int g = 0; g < f; ++g) {
        const Face& other = faces_[static_cast<std::size_t>(g)];
        if (other.v0 == face.v0 && other.v1 == face.v1 && other.v2 == face.v2) duplicate = true;
      }
      if (duplicate) {
        for (int e : linked) edges_[static_cast<std::size_t>(e)].face1 = kNone;
        faces_.pop_back();
      }
    }
    real_face_count_ = static_cast<int>(faces_.size());
  }

  bool empty() const { return real_face_count_ == 0; }

  void find_all_strips() {
    int next_strip_id = 0;
    int next_experiment_id = 0;
    for (;;) {
      std::vector<int> used;
      std::vector<std::vector<Strip>> experiments;
      bool ended_early = false;
      for (int sample = 0; sample < 10; ++sample) {
        const int reset = reset_point();
        if (reset == kNone) {
          ended_early = true;
          break;
        }
        if (std::find(used.begin(), used.end(), reset) != used.end()) continue;
        used.push_back(reset);
        const Face face = faces_[static_cast<std::size_t>(reset)];
        for (auto [a, b] : {std::pair{face.v0, face.v1}, {face.v1, face.v2}, {face.v2, face.v0}}) {
          const int edge = find_edge(a, b);
          for (bool toward_second : {true, false}) {
            Strip strip;
            strip.start_face = reset;
            strip.start_edge = edge;
            strip.toward_second = toward_second;
            strip.strip_id = next_strip_id++;
            strip.experiment_id = next_experiment_id++;
            experiments.push_back({strip});
          }
        }
      }
      for (auto& experiment : experiments) {
        build(experiment[0]);
        Strip further;
        while (find_further(experiment.back(), further)) {
          further.strip_id = next_strip_id++;
          further.experiment_id = experiment[0].experiment_id;
          experiment.push_back(further);
          build(experiment.back());
        }
      }
      float best_score = 0.0f;
      int best = kNone;
      for (std::size_t i = 0; i < experiments.size(); ++i) {
        int sum = 0;
        for (const Strip& s : experiments[i])
          sum += static_cast<int>(s.faces.size()) - s.degenerate_count;
        const float count = static_cast<float>(experiments[i].size());
        const float score = static_cast<float>(sum) / count * 1.0f + count * 0.0f;
        if (score > best_score) {
          best_score = score;
          best = static_cast<int>(i);
        }
      }
      if (best != kNone) {
        for (Strip& s : experiments[static_cast<std::size_t>(best)]) {
          s.experiment_id = kNone;
          for (int f : s.faces) {
            faces_[static_cast<std::size_t>(f)].strip_id = s.strip_id;
            faces_[static_cast<std::size_t>(f)].experiment_id = kNone;
          }
          all_strips_.push_back(s);
        }
      }
      if (ended_early) break;
    }
  }

  // Splits, dissolves and orders; fills ordered_strips_ and loose_faces_.
  void split_and_order() {
    const int threshold = cache_size_;
    std::vector<std::vector<int>> pieces;
    for (const Strip& strip : all_strips_) {
      const std::vector<int>& fs = strip.faces;
      int real = 0;
      for (int f : fs) real += is_degenerate(face(f)) ? 0 : 1;
      if (real <= threshold) {
        pieces.push_back(fs);
        continue;
      }
      const int times = real / threshold;
      int leftover = real % threshold;
      std::size_t pos = 0;
      for (int j = 0; j < times; ++j) {
        std::vector<int> piece;
        int real_in_piece = 0;
        // The piece ends with its threshold-th real face, so a degenerate face
        // met on the way is never its last one; only leading ones are dropped.
        while (real_in_piece < threshold) {
          const int f = fs[pos++];
          if (is_degenerate(face(f))) {
            if (real_in_piece > 0) piece.push_back(f);
          } else {
            piece.push_back(f);
            ++real_in_piece;
          }
        }
        if (j == times - 1 && leftover >= 1 && leftover <= 3) {
          int taken = 0;
          while (taken < leftover) {
            const int f = fs[pos++];
            if (!is_degenerate(face(f))) ++taken;
            piece.push_back(f);
          }
          leftover = 0;
        }
        pieces.push_back(piece);
      }
      if (leftover != 0) {
        std::vector<int> piece;
        int taken = 0;
        while (taken < leftover) {
          const int f = fs[pos++];
          if (!is_degenerate(face(f))) {
            piece.push_back(f);
            ++taken;
          } else if (!piece.empty()) {
            piece.push_back(f);
          }
        }
        pieces.push_back(piece);
      }
    }

    std::vector<std::vector<int>> kept;
    std::vector<int> dissolved;
    for (auto& piece : pieces) {
      if (static_cast<int>(piece.size()) < min_strip_length_) {
        dissolved.insert(dissolved.end(), piece.begin(), piece.end());
      } else {
        kept.push_back(piece);
      }
    }

    Cache loose_cache(cache_size_);
    std::vector<bool> taken(dissolved.size(), false);
    for (;;) {
      int best_hits = -1;
      std::size_t best = 0;
      for (std::size_t i = 0; i < dissolved.size(); ++i) {
        if (taken[i]) continue;
        const int hits = loose_cache.hits(face(dissolved[i]));
        if (hits > best_hits) {
          best_hits = hits;
          best = i;
        }
      }
      if (best_hits == -1) break;
      taken[best] = true;
      loose_cache.add_face(face(dissolved[best]));
      loose_faces_.push_back(dissolved[best]);
    }

    if (kept.empty()) return;
    Cache cache(cache_size_);
    std::vector<bool> visited(kept.size(), false);
    float min_cost = 10000.0f;
    std::size_t first = 0;
    for (std::size_t i = 0; i < kept.size(); ++i) {
      int neighbours = 0;
      for (int f : kept[i]) neighbours += neighbour_count(f);
      const float cost = static_cast<float>(neighbours) / static_cast<float>(kept[i].size());
      if (cost < min_cost) {
        min_cost = cost;
        first = i;
      }
    }
    auto take = [&](std::size_t i) {
      visited[i] = true;
      for (int f : kept[i]) cache.add_face(face(f));
      ordered_strips_.push_back(kept[i]);
    };
    take(first);
    bool wants_cw = kept[first].size() % 2 == 0;
    for (;;) {
      float best_hits = -1.0f;
      int best = kNone;
      for (std::size_t i = 0; i < kept.size(); ++i) {
        if (visited[i]) continue;
        int hits = 0;
        for (int f : kept[i]) hits += cache.hits(face(f));
        const float per_face = static_cast<float>(hits) / static_cast<float>(kept[i].size());
        if (per_face > best_hits) {
          best_hits = per_face;
          best = static_cast<int>(i);
        } else if (per_face == best_hits) {
          const Triangle t = first_triangle(faces_, kept[i], false);
          if (is_cw(face(kept[i][0]), t.a, t.b) == wants_cw) best = static_cast<int>(i);
        }
      }
      if (best == kNone) break;
      take(static_cast<std::size_t>(best));
      if (kept[static_cast<std::size_t>(best)].size() % 2 == 1) wants_cw = !wants_cw;
    }
  }

  std::vector<int> stitch(bool stitch_strips) const {
    std::vector<int> out;
    int markers = 0;
    for (std::size_t i = 0; i < ordered_strips_.size(); ++i) {
      const std::vector<int>& strip = ordered_strips_[i];
      const Face& first = face(strip[0]);
      const Triangle t = first_triangle(faces_, strip, true);
      if (i == 0 || !stitch_strips) {
        if (!is_cw(first, t.a, t.b)) out.push_back(t.a);
      } else {
        out.push_back(t.a);
        const bool next_cw = (static_cast<int>(out.size()) - markers) % 2 == 0;
        if (next_cw != is_cw(first, t.a, t.b)) out.push_back(t.a);
      }
      out.push_back(t.a);
      out.push_back(t.b);
      out.push_back(t.c);
      Triangle last = t;
      for (std::size_t j = 1; j < strip.size(); ++j) {
        const Face& f = face(strip[j]);
        int unique = kNone;
        for (int v : {f.v0, f.v1, f.v2}) {
          if (v != last.a && v != last.b && v != last.c) {
            unique = v;
            break;
          }
        }
        if (unique != kNone) {
          out.push_back(unique);
          last = Triangle{last.b, last.c, unique};
        } else {
          out.push_back(f.v2);
          last = Triangle{f.v0, f.v1, f.v2};
        }
      }
      if (stitch_strips) {
        if (i + 1 != ordered_strips_.size()) out.push_back(out.back());
      } else {
        out.push_back(kNone);
        ++markers;
      }
    }
    return out;
  }

  const std::vector<std::vector<int>>& ordered_strips() const { return ordered_strips_; }
  const std::vector<int>& loose_faces() const { return loose_faces_; }
  const Face& face(int f) const { return faces_[static_cast<std::size_t>(f)]; }

 private:
  void say(std::string_view message) const {
    if (sink_) sink_(message);
  }

  int find_edge(int a, int b) const {
    int e = heads_[static_cast<std::size_t>(a)];
    while (e != kNone) {
      const Edge& edge = edges_[static_cast<std::size_t>(e)];
      if ((edge.v0 == a && edge.v1 == b) || (edge.v0 == b && edge.v1 == a)) return e;
      e = edge.v0 == a ? edge.next_v0 : edge.next_v1;
    }
    return kNone;
  }

  int other_face(int a, int b, int f) const {
    const int e = find_edge(a, b);
    if (e == kNone) return kNone;
    const Edge& edge = edges_[static_cast<std::size_t>(e)];
    return edge.face0 == f ? edge.face1 : edge.face0;
  }

  int next_index(int p, int q, int f) const {
    const Face& fc = face(f);
    const int v[3] = {fc.v0, fc.v1, fc.v2};
    for (int i = 0; i < 3; ++i) {
      if (v[i] == p || v[i] == q) continue;
      for (int j = i + 1; j < 3; ++j) {
        if (v[j] != p && v[j] != q) {
          say(kMessageMissingVertex);
          say(kMessageDerailed);
          break;
        }
      }
      return v[i];
    }
    if (fc.v0 == fc.v1 || fc.v0 == fc.v2) return fc.v0;
    if (fc.v1 == fc.v2) return fc.v1;
    return kNone;
  }

  int neighbour_count(int f) const {
    const Face& fc = face(f);
    int count = 0;
    for (auto [a, b] : {std::pair{fc.v0, fc.v1}, {fc.v1, fc.v2}, {fc.v2, fc.v0}})
      if (other_face(a, b, f) != kNone) ++count;
    return count;
  }

  int reset_point() {
    const int n = real_face_count_;
    int start = kNone;
    if (first_time_) {
      first_time_ = false;
      int best_count = -1;
      int best_face = kNone;
      for (int f = 0; f < n; ++f) {
        const int count = 3 - neighbour_count(f);
        if (count > best_count) {
          best_count = count;
          best_face = f;
        }
      }
      if (best_count > 0) start = best_face;
    }
    if (start == kNone) start = static_cast<int>(static_cast<float>(n - 1) * jump_);
    int result = kNone;
    int i = start;
    do {
      if (face(i).strip_id == kNone) {
        result = i;
        break;
      }
      if (++i >= n) i = 0;
    } while (i != start);
    jump_ += 0.1f;
    if (jump_ > 1.0f) jump_ = 0.05f;
    return result;
  }

  bool is_marked(int f, const Strip& strip) const {
    const Face& fc = face(f);
    return fc.strip_id != kNone ||
           (strip.experiment_id != kNone && fc.experiment_id == strip.experiment_id);
  }

  bool in_strip(int f, const Strip& strip) const {
    const Face& fc = face(f);
    return strip.experiment_id == kNone ? fc.strip_id == strip.strip_id
                                        : fc.test_strip_id == strip.strip_id;
  }

  void mark(int f, const Strip& strip) {
    Face& fc = faces_[static_cast<std::size_t>(f)];
    if (strip.experiment_id != kNone) {
      fc.experiment_id = strip.experiment_id;
      fc.test_strip_id = strip.strip_id;
    } else {
      fc.strip_id = strip.strip_id;
      fc.experiment_id = kNone;
    }
  }

  bool is_unique(int f, const std::vector<int>& a, const std::vector<int>& b) const {
    const Face& fc = face(f);
    bool seen[3] = {false, false, false};
    const int v[3] = {fc.v0, fc.v1, fc.v2};
    for (const std::vector<int>* list : {&a, &b}) {
      for (int g : *list) {
        for (int k = 0; k < 3; ++k)
          if (has_vertex(face(g), v[k])) seen[k] = true;
      }
    }
    return !(seen[0] && seen[1] && seen[2]);
  }

  // Runs one direction of a strip; `backward` adds the uniqueness stop.
  void extend(Strip& strip, std::vector<int>& seq, std::vector<int>& out, int current,
              const std::vector<int>* forward) {
    for (;;) {
      const int p = seq[seq.size() - 2];
      const int q = seq[seq.size() - 1];
      const int f = other_face(p, q, current);
      if (f == kNone || is_marked(f, strip)) break;
      if (forward != nullptr && !is_unique(f, *forward, out)) break;
      const int n = next_index(p, q, f);
      const int beyond = other_face(q, n, f);
      if (beyond == kNone || is_marked(beyond, strip)) {
        const int side = other_face(p, n, f);
        if (side != kNone && !is_marked(side, strip)) {
          faces_.push_back(Face{p, q, p});
          const int swap = static_cast<int>(faces_.size()) - 1;
          mark(swap, strip);
          out.push_back(swap);
          seq.push_back(p);
          ++strip.degenerate_count;
        }
      }
      out.push_back(f);
      mark(f, strip);
      seq.push_back(n);
      current = f;
    }
  }

  void build(Strip& strip) {
    mark(strip.start_face, strip);
    const Edge& edge = edges_[static_cast<std::size_t>(strip.start_edge)];
    const int a = strip.toward_second ? edge.v0 : edge.v1;
    const int b = strip.toward_second ? edge.v1 : edge.v0;
    const int c = next_index(a, b, strip.start_face);
    std::vector<int> seq{a, b, c};
    std::vector<int> forward{strip.start_face};
    extend(strip, seq, forward, strip.start_face, nullptr);
    seq = {c, b, a};
    std::vector<int> backward;
    extend(strip, seq, backward, strip.start_face, &forward);
    strip.faces.assign(backward.rbegin(), backward.rend());
    strip.faces.insert(strip.faces.end(), forward.begin(), forward.end());
  }

  bool shares_edge(int f, const Strip& strip) const {
    const Face& fc = face(f);
    for (auto [a, b] : {std::pair{fc.v0, fc.v1}, {fc.v1, fc.v2}, {fc.v2, fc.v0}}) {
      const int e = find_edge(a, b);
      if (e == kNone) continue;
      const Edge& edge = edges_[static_cast<std::size_t>(e)];
      if ((edge.face0 != kNone && in_strip(edge.face0, strip)) ||
          (edge.face1 != kNone && in_strip(edge.face1, strip)))
        return true;
    }
    return false;
  }

  bool find_further(const Strip& strip, Strip& further) const {
    const Edge& start = edges_[static_cast<std::size_t>(strip.start_edge)];
    const int v = strip.toward_second ? start.v1 : start.v0;
    int e = heads_[static_cast<std::size_t>(v)];
    while (e != kNone) {
      const Edge& edge = edges_[static_cast<std::size_t>(e)];
      int untouched = kNone;
      if (edge.face0 != kNone && !in_strip(edge.face0, strip) && edge.face1 != kNone &&
          !is_marked(edge.face1, strip)) {
        untouched = edge.face1;
      } else if (edge.face1 != kNone && !in_strip(edge.face1, strip) && edge.face0 != kNone &&
                 !is_marked(edge.face0, strip)) {
        untouched = edge.face0;
      }
      if (untouched != kNone) {
        further = Strip{};
        further.start_face = untouched;
        further.start_edge = e;
        further.toward_second = shares_edge(untouched, strip) ? edge.v0 == v : edge.v1 == v;
        return true;
      }
      e = edge.v0 == v ? edge.next_v0 : edge.next_v1;
    }
    return false;
  }

  const StripMessageSink& sink_;
  int cache_size_;
  int min_strip_length_;
  std::vector<Face> faces_;
  int real_face_count_ = 0;
  std::vector<Edge> edges_;
  std::vector<int> heads_;
  bool first_time_ = true;
  float jump_ = 0.0f;
  std::vector<Strip> all_strips_;
  std::vector<std::vector<int>> ordered_strips_;
  std::vector<int> loose_faces_;
};

void append_face(std::vector<std::uint16_t>& out, const Face& f) {
  out.push_back(static_cast<std::uint16_t>(f.v0));
  out.push_back(static_cast<std::uint16_t>(f.v1));
  out.push_back(static_cast<std::uint16_t>(f.v2));
}

}  // namespace

std::vector<PrimitiveGroup> generate_strips(std::span<const std::uint16_t> indices,
                                            const StripSettings& settings,
                                            const StripMessageSink& sink) {
  const std::size_t whole = indices.size() / 3 * 3;
  std::vector<int> copy(indices.begin(), indices.begin() + static_cast<std::ptrdiff_t>(whole));
  int max_index = 0;
  for (int v : copy) max_index = std::max(max_index, v);

  const int cache_size = std::max(settings.cache_size - 6, 1);
  Stripifier stripifier(sink, cache_size, settings.min_strip_length);
  stripifier.build_records(copy, max_index);
  if (stripifier.empty()) return {PrimitiveGroup{}};
  stripifier.find_all_strips();
  stripifier.split_and_order();

  std::vector<PrimitiveGroup> groups;
  if (settings.lists_only) {
    PrimitiveGroup list;
    for (const auto& strip : stripifier.ordered_strips())
      for (int f : strip)
        if (!is_degenerate(stripifier.face(f))) append_face(list.indices, stripifier.face(f));
    for (int f : stripifier.loose_faces())
      if (!is_degenerate(stripifier.face(f))) append_face(list.indices, stripifier.face(f));
    groups.push_back(std::move(list));
    return groups;
  }

  const std::vector<int> sequence = stripifier.stitch(settings.stitch_strips);
  if (settings.stitch_strips) {
    PrimitiveGroup strip{PrimitiveType::kStrip, {}};
    for (int v : sequence) strip.indices.push_back(static_cast<std::uint16_t>(v));
    groups.push_back(std::move(strip));
  } else {
    PrimitiveGroup strip{PrimitiveType::kStrip, {}};
    for (int v : sequence) {
      if (v == kNone) {
        groups.push_back(std::move(strip));
        strip = PrimitiveGroup{PrimitiveType::kStrip, {}};
      } else {
        strip.indices.push_back(static_cast<std::uint16_t>(v));
      }
    }
  }
  if (!stripifier.loose_faces().empty()) {
    PrimitiveGroup list;
    for (int f : stripifier.loose_faces()) append_face(list.indices, stripifier.face(f));
    groups.push_back(std::move(list));
  }
  return groups;
}

}  // namespace model3da::plain
