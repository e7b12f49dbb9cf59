// Splitting a local transform between the controller and the object offset.
#include "transform_split.h"

#include <algorithm>
#include <cmath>

#include "host/decomp.h"

namespace scene_import {
namespace {

constexpr float kTolerance = 1e-5f;

}  // namespace

TransformSplit split_transform(const Matrix3& local) {
  AffineParts parts;
  decomp_affine(local, &parts);
  TransformSplit out;
  out.position = parts.t;
  out.rotation = parts.q.Normalize();
  // The stretch as a matrix: along the node's axes when it is diagonal.
  Matrix3 stretch;
  ApplyScaling(stretch, ScaleValue{parts.k, parts.u});
  const Point3 diagonal(stretch[0][0], stretch[1][1], stretch[2][2]);
  const float largest =
      std::max({std::fabs(diagonal.x), std::fabs(diagonal.y), std::fabs(diagonal.z), 1e-30f});
  const float off_diagonal =
      std::max({std::fabs(stretch[0][1]), std::fabs(stretch[0][2]), std::fabs(stretch[1][2]),
                std::fabs(stretch[1][0]), std::fabs(stretch[2][0]), std::fabs(stretch[2][1])});
  const float f = parts.f;
  out.stretch_in_controller = ScaleValue{parts.k * f, parts.u};
  if (off_diagonal <= kTolerance * largest) {
    out.scale = ScaleValue{diagonal * f, Quat()};
    return out;
  }
  out.needs_offset = true;
  out.scale = ScaleValue{Point3(f, f, f), Quat()};
  out.stretch = ScaleValue{parts.k, parts.u};
  return out;
}

bool is_similarity(const Matrix3& m) {
  const float a = m[0].LengthSquared(), b = m[1].LengthSquared(), c = m[2].LengthSquared();
  const float largest = std::max({a, b, c, 1e-30f});
  const bool uniform =
      std::fabs(a - b) <= kTolerance * largest && std::fabs(a - c) <= kTolerance * largest;
  const float ab = DotProd(m[0], m[1]), ac = DotProd(m[0], m[2]), bc = DotProd(m[1], m[2]);
  const bool orthogonal =
      std::max({std::fabs(ab), std::fabs(ac), std::fabs(bc)}) <= kTolerance * largest;
  return uniform && orthogonal;
}

}  // namespace scene_import
