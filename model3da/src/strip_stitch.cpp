// Turning ordered strips into strip indices.
#include "strip_stitch.h"

#include <utility>

namespace model3da::strips {
namespace {

bool has_vertex(const StripFace& f, VertexOrNone v) {
  return f.v[0] == v || f.v[1] == v || f.v[2] == v;
}

}  // namespace

Triangle first_triangle(std::span<const StripFace> strip, bool stitching) {
  const StripFace& first = strip[0];
  Triangle t{first.v[0], first.v[1], first.v[2]};
  if (strip.size() < 2) return t;
  const StripFace& second = strip[1];
  VertexOrNone unique = kNone;
  for (VertexOrNone v : {t.a, t.b, t.c}) {
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
  if (strip.size() < 3) return t;
  if (stitching && is_degenerate(second)) {
    if (t.b == second.v[1]) std::swap(t.b, t.c);
    return t;
  }
  // Vertices count once: a degenerate third face (p, q, p) sharing p shares
  // one vertex.
  const StripFace& third = strip[2];
  int shared_count = 0;
  VertexOrNone shared = kNone;
  for (int k = 0; k < 3; ++k) {
    const Vertex v = third.v[k];
    if ((k > 0 && third.v[0] == v) || (k > 1 && third.v[1] == v)) continue;
    if (v == t.a || v == t.b || v == t.c) {
      if (shared_count++ == 0) shared = v;
    }
  }
  if (shared_count == 1 && shared == t.b) std::swap(t.b, t.c);
  return t;
}

std::vector<VertexOrNone> stitch_strips(const StripList& strips, bool stitch) {
  std::vector<VertexOrNone> out;
  out.reserve(strips.faces.size() + strips.size() * 4);
  std::size_t markers = 0;
  for (std::size_t i = 0; i < strips.size(); ++i) {
    const std::span<const StripFace> strip = strips.strip(i);
    const StripFace& first = strip[0];
    const Triangle t = first_triangle(strip, true);
    if (i == 0 || !stitch) {
      if (!is_cw(first, t.a, t.b)) out.push_back(t.a);
    } else {
      out.push_back(t.a);  // the second half of the join
      const bool next_cw = (out.size() - markers) % 2 == 0;
      if (next_cw != is_cw(first, t.a, t.b)) out.push_back(t.a);
    }
    out.push_back(t.a);
    out.push_back(t.b);
    out.push_back(t.c);
    Triangle last = t;
    for (std::size_t j = 1; j < strip.size(); ++j) {
      const StripFace& f = strip[j];
      VertexOrNone unique = kNone;
      for (Vertex v : f.v) {
        if (v != last.a && v != last.b && v != last.c) {
          unique = v;
          break;
        }
      }
      if (unique != kNone) {
        out.push_back(unique);
        last = Triangle{last.b, last.c, unique};
      } else {
        out.push_back(f.v[2]);
        last = Triangle{f.v[0], f.v[1], f.v[2]};
      }
    }
    if (stitch) {
      if (i + 1 != strips.size()) out.push_back(out.back());
    } else {
      out.push_back(kNone);
      ++markers;
    }
  }
  return out;
}

}  // namespace model3da::strips
