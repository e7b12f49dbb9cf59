// The box around a run of boxes, folded box by box.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "model3da/collision.h"

#if defined(__x86_64__) || defined(_M_X64)
#include <xmmintrin.h>
#endif

namespace model3da::collision {

inline constexpr float kHuge = 1e30f;

// The box between the upper ends `max` and the lower ends `min`.
inline Box box_of(const float* max, const float* min) {
  Box box;
  for (int a = 0; a < 3; ++a) {
    box.centre[a] = (max[a] + min[a]) / 2;
    box.half[a] = max[a] - box.centre[a];
  }
  return box;
}

// The running extents of a fold of boxes: per axis the maximum of the
// boxes' upper ends (centre + half) and the minimum of their lower ends
// (centre - half), taken in the order the boxes come. Each step keeps the
// running value unless the new end is strictly beyond it (so a NaN end is
// skipped, and of two equal ends such as 0 and -0 the first stays): the same
// results, bit for bit, on both paths below.
#if defined(__x86_64__) || defined(_M_X64)
static_assert(sizeof(Box) == 24 && offsetof(Box, half) == 12, "a box is six packed floats");

class Extents {
 public:
  void take(const Box& b) {
    const float* p = b.centre.data();
    const __m128 centre = _mm_loadu_ps(p);                                    // c0 c1 c2 h0
    const __m128 tail = _mm_loadu_ps(p + 2);                                  // c2 h0 h1 h2
    const __m128 half = _mm_shuffle_ps(tail, tail, _MM_SHUFFLE(3, 3, 2, 1));  // h0 h1 h2 h2
    // maxps/minps give their first operand where it is strictly beyond the
    // second, else the second: the running value.
    max_ = _mm_max_ps(_mm_add_ps(centre, half), max_);
    min_ = _mm_min_ps(_mm_sub_ps(centre, half), min_);
  }

  Box box() const {
    float max[4];
    float min[4];
    _mm_storeu_ps(max, max_);
    _mm_storeu_ps(min, min_);
    return box_of(max, min);
  }

 private:
  __m128 max_ = _mm_set1_ps(-kHuge);
  __m128 min_ = _mm_set1_ps(kHuge);
};
#else
class Extents {
 public:
  void take(const Box& b) {
    for (int a = 0; a < 3; ++a) {
      max_[a] = std::max(max_[a], b.centre[a] + b.half[a]);
      min_[a] = std::min(min_[a], b.centre[a] - b.half[a]);
    }
  }

  Box box() const { return box_of(max_, min_); }

 private:
  float max_[3] = {-kHuge, -kHuge, -kHuge};
  float min_[3] = {kHuge, kHuge, kHuge};
};
#endif

// The box around `boxes[order[i]]` for i in [begin, end).
inline Box union_box(std::span<const Box> boxes, const uint32_t* order, uint32_t begin,
                     uint32_t end) {
  Extents extents;
  for (uint32_t i = begin; i < end; ++i) extents.take(boxes[order[i]]);
  return extents.box();
}

}  // namespace model3da::collision
