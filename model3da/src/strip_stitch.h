// Winding of strip triangles and the joining of strips into strip indices.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "strip_search.h"

namespace model3da::strips {

struct Triangle {
  VertexOrNone a = 0, b = 0, c = 0;
};

// True when (a, b) runs clockwise in face f: a is v0 and b v1, or a is v1 and
// b v2, or otherwise b is v0.
inline bool is_cw(const StripFace& f, VertexOrNone a, VertexOrNone b) {
  if (f.v[0] == a) return f.v[1] == b;
  if (f.v[1] == a) return f.v[2] == b;
  return f.v[0] == b;
}

// The first triangle of a strip in strip order: the vertex that the second
// face lacks moved to the front, then the second and third vertices swapped
// when the third face shares exactly one vertex with it and that is the second
// vertex. With `stitching`, a degenerate second face decides that swap instead.
Triangle first_triangle(std::span<const StripFace> strip, bool stitching);

// The strip indices of all strips: joined into one strip by repeated indices
// when `stitch` is on, otherwise each strip followed by a kNone marker.
std::vector<VertexOrNone> stitch_strips(const StripList& strips, bool stitch);

}  // namespace model3da::strips
