// The weld sort.
#include "geometry/weld.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numeric>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace geometry {
namespace {

int compare_float(float a, float b) {
  const double d = double(a) - double(b);
  if (std::fabs(d) <= kWeldTolerance) return 0;
  return d < 0 ? -1 : 1;
}

int compare_vec(const float* a, const float* b, int n) {
  for (int k = 0; k < n; ++k)
    if (int c = compare_float(a[k], b[k])) return c;
  return 0;
}

int compare_exact(uint32_t a, uint32_t b) {
  return a < b ? -1 : a > b ? 1 : 0;
}

int compare_color(uint32_t a, uint32_t b) {
  for (int byte : {2, 1, 0, 3})
    if (int c = compare_exact((a >> (8 * byte)) & 0xFF, (b >> (8 * byte)) & 0xFF)) return c;
  return 0;
}

int compare_skin(const SkinRecord& a, const SkinRecord& b) {
  for (int k = 0; k < 4; ++k)
    if (int c = compare_exact(std::to_integer<uint32_t>(a[k]), std::to_integer<uint32_t>(b[k])))
      return c;
  for (int k = 4; k < 12; k += 2) {
    const uint32_t va = std::to_integer<uint32_t>(a[k]) | std::to_integer<uint32_t>(a[k + 1]) << 8;
    const uint32_t vb = std::to_integer<uint32_t>(b[k]) | std::to_integer<uint32_t>(b[k + 1]) << 8;
    if (int c = compare_exact(va, vb)) return c;
  }
  return 0;
}

// The vertex comparison, inlined into the sort.
[[gnu::always_inline]] inline int compare_fields(const Corner& a, const Corner& b) {
  if (int c = compare_vec(a.position.data(), b.position.data(), 3)) return c;
  if (int c = compare_vec(a.normal.data(), b.normal.data(), 3)) return c;
  if (int c = compare_vec(a.tangent.data(), b.tangent.data(), 3)) return c;
  if (int c = compare_color(a.color, b.color)) return c;
  for (int t = 0; t < 4; ++t)
    if (int c = compare_vec(a.uv[t].data(), b.uv[t].data(), 2)) return c;
  return compare_skin(a.skin, b.skin);
}

// Bottom-up stable merge sort of `order` by `less`. Every access is bounded
// by the run limits, so an inconsistent comparison only gives some order.
template <typename Less>
void merge_sort(std::vector<uint32_t>& order, Less less) {
  const size_t n = order.size();
  std::vector<uint32_t> merged(n);
  for (size_t width = 1; width < n; width *= 2) {
    for (size_t lo = 0; lo < n; lo += 2 * width) {
      const size_t mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
      size_t i = lo, j = mid, k = lo;
      while (i < mid && j < hi) merged[k++] = less(order[j], order[i]) ? order[j++] : order[i++];
      while (i < mid) merged[k++] = order[i++];
      while (j < hi) merged[k++] = order[j++];
    }
    order.swap(merged);
  }
}

static_assert(sizeof(Corner) == 84, "a Corner is 21 words without padding");

// Only spreads the classes over the table: equal corners are found by
// comparing their bytes. Ten 8-byte words and the last 4 bytes.
[[gnu::always_inline]] inline uint64_t corner_hash(const Corner& c) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(&c);
  uint32_t tail;
  std::memcpy(&tail, bytes + 80, sizeof tail);
  uint64_t h = tail;
  auto mix = [&h, bytes](size_t at) {
    uint64_t w;
    std::memcpy(&w, bytes + at, sizeof w);
    h = (h ^ w) * 0x9E3779B97F4A7C15ull;
  };
  mix(0), mix(8), mix(16), mix(24), mix(32), mix(40), mix(48), mix(56), mix(64), mix(72);
  h ^= h >> 32;
  h *= 0xD6E8FEB86659FD93ull;
  return h ^ (h >> 29);
}

// Whether two corners are equal byte for byte (as memcmp finds them), in
// line: five 16-byte compares and the last 4 bytes on x86-64.
[[gnu::always_inline]] inline bool same_bytes(const Corner& a, const Corner& b) {
  const auto* p = reinterpret_cast<const unsigned char*>(&a);
  const auto* q = reinterpret_cast<const unsigned char*>(&b);
#if defined(__SSE2__)
  auto equal16 = [p, q](size_t at) {
    return _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at)),
                          _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + at)));
  };
  const __m128i equal = _mm_and_si128(_mm_and_si128(_mm_and_si128(equal16(0), equal16(16)),
                                                    _mm_and_si128(equal16(32), equal16(48))),
                                      equal16(64));
  uint32_t tail_a;
  uint32_t tail_b;
  std::memcpy(&tail_a, p + 80, sizeof tail_a);
  std::memcpy(&tail_b, q + 80, sizeof tail_b);
  return _mm_movemask_epi8(equal) == 0xFFFF && tail_a == tail_b;
#else
  return std::memcmp(p, q, sizeof(Corner)) == 0;
#endif
}

// Sorts corners that are bit for bit equal into classes. `class_of`
// receives the class of each corner, `first` each class's first corner and
// `last` its last, classes numbered in order of first appearance.
void exact_classes(std::span<const Corner> corners, uint32_t* class_of,
                   std::vector<uint32_t>& first, std::vector<uint32_t>& last) {
  constexpr uint32_t kEmpty = 0xFFFFFFFF;
  // At most one class per two slots. A surface has some six corners per
  // vertex, so the table starts at half the corners and doubles as needed.
  size_t size = 16;
  while (size < corners.size() / 2) size *= 2;
  std::vector<uint32_t> table(size, kEmpty);  // class numbers
  auto grow = [&] {
    size *= 2;
    table.assign(size, kEmpty);
    for (uint32_t k = 0; k < first.size(); ++k) {
      size_t slot = corner_hash(corners[first[k]]) & (size - 1);
      while (table[slot] != kEmpty) slot = (slot + 1) & (size - 1);
      table[slot] = k;
    }
  };
  // Most corners repeat a corner met shortly before at the same position,
  // so a small table by position is tried before the full hash.
  constexpr int kRecentBits = 10;
  std::array<uint32_t, size_t(1) << kRecentBits> recent;
  recent.fill(kEmpty);
  for (uint32_t c = 0; c < corners.size(); ++c) {
    const Corner& corner = corners[c];
    uint64_t xy;
    uint32_t z;
    std::memcpy(&xy, &corner.position[0], sizeof xy);
    std::memcpy(&z, &corner.position[2], sizeof z);
    const size_t r = size_t(((xy ^ z) * 0x9E3779B97F4A7C15ull) >> (64 - kRecentBits));
    uint32_t k = recent[r];
    if (k == kEmpty || !same_bytes(corners[first[k]], corner)) {
      size_t slot = corner_hash(corner) & (size - 1);
      k = table[slot];
      while (k != kEmpty && !same_bytes(corners[first[k]], corner)) {
        slot = (slot + 1) & (size - 1);
        k = table[slot];
      }
      if (k == kEmpty) {
        k = uint32_t(first.size());
        table[slot] = k;
        first.push_back(c);
        last.push_back(c);
        if (2 * first.size() > size) grow();
      }
      recent[r] = k;
    }
    class_of[c] = k;
    last[k] = c;
  }
}

}  // namespace

int compare_corners(const Corner& a, const Corner& b) {
  return compare_fields(a, b);
}

WeldMap weld_corners(std::span<const Corner> corners) {
  // Corners that are exactly equal always share a vertex: the sort runs
  // over classes of them, each standing for all its corners. The classes'
  // first corners are copied side by side for the sort, their x positions
  // too, as the doubles whose difference compare_float takes first.
  WeldMap weld;
  weld.vertex_of_corner.resize(corners.size());  // first the class of each corner
  std::vector<uint32_t> first, last;
  exact_classes(corners, weld.vertex_of_corner.data(), first, last);
  std::vector<Corner> sample;
  std::vector<double> sample_x;
  sample.reserve(first.size());
  sample_x.reserve(first.size());
  for (uint32_t c : first) {
    sample.push_back(corners[c]);
    sample_x.push_back(corners[c].position[0]);
  }
  std::vector<uint32_t> order(first.size());
  std::iota(order.begin(), order.end(), 0u);
  merge_sort(order, [&sample, &sample_x](uint32_t a, uint32_t b) {
    const double d = sample_x[a] - sample_x[b];
    if (std::fabs(d) > kWeldTolerance) return d < 0;
    return compare_fields(sample[a], sample[b]) < 0;
  });
  std::vector<uint32_t> vertex_of_class(first.size());
  for (size_t i = 0; i < order.size(); ++i) {
    const uint32_t k = order[i];
    if (i == 0 || compare_fields(sample[order[i - 1]], sample[k]) != 0) {
      weld.corner_of_vertex.push_back(last[k]);
    } else {
      weld.corner_of_vertex.back() = std::max(weld.corner_of_vertex.back(), last[k]);
    }
    vertex_of_class[k] = uint32_t(weld.corner_of_vertex.size() - 1);
  }
  for (uint32_t& v : weld.vertex_of_corner) v = vertex_of_class[v];
  return weld;
}

std::string check_weld_map(const WeldMap& weld, std::size_t corner_count) {
  if (weld.vertex_of_corner.size() != corner_count) {
    return fmt::format("{} corners in the weld map, {} in the surface",
                       weld.vertex_of_corner.size(), corner_count);
  }
  const size_t vertex_count = weld.corner_of_vertex.size();
  if (vertex_count == 0 || vertex_count > kMaxSurfaceVertices) {
    return fmt::format("{} vertices in the weld map", vertex_count);
  }
  for (size_t c = 0; c < corner_count; ++c) {
    if (weld.vertex_of_corner[c] >= vertex_count) {
      return fmt::format("corner {} names vertex {} of {}", c, weld.vertex_of_corner[c],
                         vertex_count);
    }
  }
  for (size_t v = 0; v < vertex_count; ++v) {
    const uint32_t c = weld.corner_of_vertex[v];
    if (c >= corner_count || weld.vertex_of_corner[c] != v) {
      return fmt::format("vertex {} takes corner {}, which is not one of its corners", v, c);
    }
  }
  return {};
}

}  // namespace geometry
