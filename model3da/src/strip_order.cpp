// Ordering loose faces and strips for the vertex cache. Both orderings repeat
// "take the item with the most cache hits"; instead of rescanning every item,
// each item's hit count is updated when one of its vertices enters or leaves
// the cache, and a tournament tree over the items answers the choice with the
// same tie rules as a front-to-back scan.
#include <algorithm>

#include "strip_order.h"
#include "strip_stitch.h"

namespace model3da::strips {
namespace {

// FIFO vertex cache; a vertex is only added when it is not in the cache.
class FifoCache {
 public:
  // A cache at least as large as the vertex count never loses a vertex, so its
  // ring need not be larger.
  FifoCache(int size, std::size_t vertex_count)
      : ring_(std::min(static_cast<std::size_t>(size), vertex_count), kNone),
        in_cache_(vertex_count, 0) {}
  bool contains(Vertex v) const { return in_cache_[v] != 0; }
  // Adds v and returns the vertex that fell out (kNone while not full).
  VertexOrNone add(Vertex v) {
    const VertexOrNone out = ring_[next_];
    ring_[next_] = v;
    next_ = next_ + 1 == ring_.size() ? 0 : next_ + 1;
    in_cache_[v] = 1;
    if (out != kNone) in_cache_[static_cast<std::size_t>(out)] = 0;
    return out;
  }

 private:
  std::vector<VertexOrNone> ring_;
  std::size_t next_ = 0;
  std::vector<std::uint8_t> in_cache_;
};

// For each vertex, the items that use it and how many of their corners do.
struct Incidence {
  struct Use {
    std::int32_t item;
    std::int32_t corners;
  };
  std::vector<std::uint32_t> offsets;
  std::vector<Use> uses;

  template <typename FacesOf>
  Incidence(std::size_t item_count, std::size_t vertices, FacesOf faces_of) {
    std::vector<std::int32_t> last(vertices, kNone);
    offsets.assign(vertices + 1, 0);
    for (std::size_t i = 0; i < item_count; ++i)
      for (const StripFace& f : faces_of(i))
        for (Vertex v : f.v)
          if (last[v] != static_cast<std::int32_t>(i)) {
            last[v] = static_cast<std::int32_t>(i);
            ++offsets[v + 1u];
          }
    for (std::size_t v = 0; v < vertices; ++v) offsets[v + 1] += offsets[v];
    uses.resize(offsets[vertices]);
    std::vector<std::uint32_t> fill(offsets.begin(), offsets.end() - 1);
    std::vector<std::uint32_t> at(vertices, 0);
    last.assign(vertices, kNone);
    for (std::size_t i = 0; i < item_count; ++i)
      for (const StripFace& f : faces_of(i))
        for (Vertex v : f.v) {
          if (last[v] != static_cast<std::int32_t>(i)) {
            last[v] = static_cast<std::int32_t>(i);
            at[v] = fill[v]++;
            uses[at[v]] = Use{static_cast<std::int32_t>(i), 0};
          }
          ++uses[at[v]].corners;
        }
  }
  std::span<const Use> of(VertexOrNone v) const {
    const auto i = static_cast<std::size_t>(v);
    return {uses.data() + offsets[i], uses.data() + offsets[i + 1]};
  }
};

// Max tree over integer values; finds the first leaf holding the maximum.
class FirstMaxTree {
 public:
  explicit FirstMaxTree(std::size_t count) {
    while (size_ < count) size_ *= 2;
    values_.assign(size_ * 2, -1);
  }
  void set(std::size_t i, int value) {
    std::size_t node = i + size_;
    values_[node] = value;
    for (node /= 2; node >= 1; node /= 2)
      values_[node] = std::max(values_[2 * node], values_[2 * node + 1]);
  }
  int top() const { return values_[1]; }
  std::size_t first_top() const {
    std::size_t node = 1;
    while (node < size_) node = values_[2 * node] == values_[node] ? 2 * node : 2 * node + 1;
    return node - size_;
  }

 private:
  std::size_t size_ = 1;
  std::vector<int> values_;
};

// Max tree over the strips' hits per face, kept apart for strips whose first
// triangle runs clockwise and the others, so that the tie rule of the strip
// order (the last equal strip of the wanted winding, else the first maximum)
// is one descent.
class StripChoiceTree {
 public:
  static constexpr float kAbsent = -1.0f;

  explicit StripChoiceTree(std::size_t count) {
    while (size_ < count) size_ *= 2;
    cw_.assign(size_ * 2, kAbsent);
    ccw_.assign(size_ * 2, kAbsent);
  }
  void set(std::size_t i, float value, bool cw) {
    std::size_t node = i + size_;
    cw_[node] = cw ? value : kAbsent;
    ccw_[node] = cw ? kAbsent : value;
    for (node /= 2; node >= 1; node /= 2) {
      cw_[node] = std::max(cw_[2 * node], cw_[2 * node + 1]);
      ccw_[node] = std::max(ccw_[2 * node], ccw_[2 * node + 1]);
    }
  }
  void remove(std::size_t i) { set(i, kAbsent, true); }
  bool empty() const { return best() < 0.0f; }
  float best() const { return std::max(cw_[1], ccw_[1]); }
  std::size_t pick(bool wants_cw) const {
    const float best_value = best();
    const std::vector<float>& wanted = wants_cw ? cw_ : ccw_;
    std::size_t node = 1;
    if (wanted[1] == best_value) {
      while (node < size_) node = wanted[2 * node + 1] == best_value ? 2 * node + 1 : 2 * node;
    } else {
      while (node < size_) {
        const std::size_t left = 2 * node;
        node = std::max(cw_[left], ccw_[left]) == best_value ? left : left + 1;
      }
    }
    return node - size_;
  }

 private:
  std::size_t size_ = 1;
  std::vector<float> cw_;
  std::vector<float> ccw_;
};

std::vector<StripFace> order_loose_faces(const std::vector<StripFace>& faces, int cache_size,
                                         std::size_t vertex_count) {
  std::vector<StripFace> out;
  if (faces.empty()) return out;
  out.reserve(faces.size());
  const Incidence incidence(faces.size(), vertex_count, [&](std::size_t i) {
    return std::span<const StripFace>(&faces[i], 1);
  });
  std::vector<int> hits(faces.size(), 0);
  std::vector<std::uint8_t> taken(faces.size(), 0);
  FirstMaxTree tree(faces.size());
  for (std::size_t i = 0; i < faces.size(); ++i) tree.set(i, 0);
  FifoCache cache(cache_size, vertex_count);
  auto adjust = [&](VertexOrNone v, int sign) {
    for (const Incidence::Use& use : incidence.of(v)) {
      const auto g = static_cast<std::size_t>(use.item);
      if (taken[g]) continue;
      hits[g] += sign * use.corners;
      tree.set(g, hits[g]);
    }
  };
  while (tree.top() >= 0) {
    const std::size_t i = tree.first_top();
    taken[i] = 1;
    tree.set(i, -1);
    out.push_back(faces[i]);
    for (Vertex v : faces[i].v) {
      if (cache.contains(v)) continue;
      const VertexOrNone fell_out = cache.add(v);
      if (fell_out != kNone) adjust(fell_out, -1);
      adjust(v, 1);
    }
  }
  return out;
}

StripList order_strips(const StripList& strips, const Mesh& mesh, int cache_size,
                       std::size_t vertex_count) {
  StripList out;
  const std::size_t count = strips.size();
  if (count == 0) return out;
  out.faces.reserve(strips.faces.size());

  float min_cost = 10000.0f;
  std::size_t first = 0;
  for (std::size_t i = 0; i < count; ++i) {
    int neighbours = 0;
    for (const StripFace& f : strips.strip(i)) neighbours += mesh.neighbour_count(f);
    const float cost = static_cast<float>(neighbours) / static_cast<float>(strips.strip(i).size());
    if (cost < min_cost) {
      min_cost = cost;
      first = i;
    }
  }

  std::vector<std::uint8_t> cw(count);
  std::vector<int> hits(count, 0);
  std::vector<std::uint8_t> visited(count, 0);
  StripChoiceTree tree(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::span<const StripFace> strip = strips.strip(i);
    const Triangle t = first_triangle(strip, false);
    cw[i] = is_cw(strip[0], t.a, t.b) ? 1 : 0;
    tree.set(i, 0.0f, cw[i] != 0);
  }
  const Incidence incidence(count, vertex_count, [&](std::size_t i) { return strips.strip(i); });
  FifoCache cache(cache_size, vertex_count);
  auto adjust = [&](VertexOrNone v, int sign) {
    for (const Incidence::Use& use : incidence.of(v)) {
      const auto g = static_cast<std::size_t>(use.item);
      if (visited[g]) continue;
      hits[g] += sign * use.corners;
      tree.set(g, static_cast<float>(hits[g]) / static_cast<float>(strips.strip(g).size()),
               cw[g] != 0);
    }
  };
  auto take = [&](std::size_t i) {
    visited[i] = 1;
    tree.remove(i);
    const std::span<const StripFace> strip = strips.strip(i);
    for (const StripFace& f : strip) {
      for (Vertex v : f.v) {
        if (cache.contains(v)) continue;
        const VertexOrNone fell_out = cache.add(v);
        if (fell_out != kNone) adjust(fell_out, -1);
        adjust(v, 1);
      }
    }
    out.faces.insert(out.faces.end(), strip.begin(), strip.end());
    out.close_strip();
  };
  take(first);
  bool wants_cw = strips.strip(first).size() % 2 == 0;
  while (!tree.empty()) {
    const std::size_t best = tree.pick(wants_cw);
    take(best);
    if (strips.strip(best).size() % 2 == 1) wants_cw = !wants_cw;
  }
  return out;
}

}  // namespace

OrderedStrips split_and_order(const StripList& strips, const Mesh& mesh, int cache_size,
                              int min_strip_length) {
  const StripList pieces = split_strips(strips, cache_size);
  StripList kept;
  std::vector<StripFace> dissolved;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const std::span<const StripFace> piece = pieces.strip(i);
    if (static_cast<std::int64_t>(piece.size()) < min_strip_length) {
      dissolved.insert(dissolved.end(), piece.begin(), piece.end());
    } else {
      kept.faces.insert(kept.faces.end(), piece.begin(), piece.end());
      kept.close_strip();
    }
  }
  const std::size_t vertex_count = std::size_t{mesh.max_index} + 1;
  OrderedStrips result;
  result.loose_faces = order_loose_faces(dissolved, cache_size, vertex_count);
  result.strips = order_strips(kept, mesh, cache_size, vertex_count);
  return result;
}

}  // namespace model3da::strips
