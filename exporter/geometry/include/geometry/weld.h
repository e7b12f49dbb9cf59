// Welding a surface's corners into vertices.
//
// The corners are sorted by the vertex comparison and consecutive corners
// that compare equal become one vertex; vertices are numbered in sorted order
// and each takes the data of its last corner in corner order. The comparison
// goes field by field and the first difference decides, smaller first:
// position, normal, tangent (x, y, z each), the colour bytes 2, 1, 0, 3
// (exact), uv 0 to 3 (u, v), then the skin data (four bytes, then four
// 16-bit values, exact). Two floats differ only when they are more than
// 0.0001 apart.
//
// Such a comparison is not transitive (0 and 0.00008 are equal, 0.00008 and
// 0.00016 too, 0 and 0.00016 are not), so the sort is a merge sort, which
// stays within its arrays whatever the comparison answers. It sorts classes
// of bit-for-bit equal corners, one entry each, so corners that are exactly
// equal are always welded (and a surface's ~6 corners per vertex are sorted
// once).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "geometry/corners.h"

namespace geometry {

inline constexpr double kWeldTolerance = 0.0001;

// The vertex comparison: negative when a sorts before b, 0 when equal, else
// positive.
int compare_corners(const Corner& a, const Corner& b);

// The result of a weld, also the content of a morph weld map.
struct WeldMap {
  std::vector<uint32_t> vertex_of_corner;  // one per corner
  std::vector<uint32_t> corner_of_vertex;  // the corner whose data each vertex takes
};

// Welds the corners of one surface.
WeldMap weld_corners(std::span<const Corner> corners);

// Checks that a weld map (read from a file) fits a surface of `corner_count`
// corners: one entry per corner, at least one and at most 65535 vertices,
// every vertex index below the vertex count, and every vertex's corner
// inside the surface and welded to that vertex. Returns an empty text or
// what does not fit.
std::string check_weld_map(const WeldMap& weld, std::size_t corner_count);

}  // namespace geometry
