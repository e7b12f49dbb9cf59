// The test cube shared by the geometry core's tests and the plug-in's: from
// -1 to 1, corner i at ((i & 1) ? 1 : -1, (i & 2) ? 1 : -1, (i & 4) ? 1 : -1),
// two triangles per side wound outwards, each side's diagonal through the
// side's corner with the largest coordinate sum.
#pragma once

#include <array>
#include <cstdint>
#include <utility>

namespace cube_sides {

inline constexpr int kSides = 6;  // +x, +y, +z, -x, -y, -z

constexpr std::array<float, 3> corner(uint32_t i) {
  return {(i & 1) ? 1.0f : -1.0f, (i & 2) ? 1.0f : -1.0f, (i & 4) ? 1.0f : -1.0f};
}

// The two triangles (a, b, c) and (a, c, d) of side `s`, whose corners
// a, b, c, d go round the side starting at the corner with the largest
// coordinate sum.
inline std::array<std::array<uint32_t, 3>, 2> triangles(int s) {
  static constexpr std::array<std::array<uint32_t, 4>, kSides> kSideCorners{{
      {7, 5, 1, 3},  // +x
      {7, 3, 2, 6},  // +y
      {7, 6, 4, 5},  // +z
      {6, 4, 0, 2},  // -x
      {5, 4, 0, 1},  // -y
      {3, 2, 0, 1},  // -z
  }};
  std::array<uint32_t, 4> q = kSideCorners[size_t(s)];
  const std::array<float, 3> p0 = corner(q[0]), p1 = corner(q[1]), p2 = corner(q[2]);
  const std::array<float, 3> e1{p1[0] - p0[0], p1[1] - p0[1], p1[2] - p0[2]};
  const std::array<float, 3> e2{p2[0] - p0[0], p2[1] - p0[1], p2[2] - p0[2]};
  const std::array<float, 3> n{e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                               e1[0] * e2[1] - e1[1] * e2[0]};
  if (n[size_t(s % 3)] * (s < 3 ? 1.0f : -1.0f) < 0) std::swap(q[1], q[3]);  // wind outwards
  return {{{q[0], q[1], q[2]}, {q[0], q[2], q[3]}}};
}

}  // namespace cube_sides
