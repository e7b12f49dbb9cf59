// Face normals and face tangents, the per-face inputs of smoothing.
//
// A face vector that is not finite or has zero length comes out as (0, 0, 0)
// and so contributes nothing when corners are smoothed.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "geometry/mesh_input.h"

namespace geometry {

// `v` scaled to unit length, or (0, 0, 0) when it is not finite or too short
// to scale.
Vec3 unit_or_zero(const Vec3& v);

struct FaceNormals {
  std::vector<Vec3> normals;   // unit or zero, file axes
  std::size_t not_finite = 0;  // host normals with a NaN or infinite component
};

// The host's face normals converted to the file's axes, multiplied by the
// normal matrix and scaled to unit length.
FaceNormals face_normals(std::span<const Vec3> host_normals, const Matrix3& normal_matrix);

// Texture coordinates as exported: (u, 1 - v) of each map vertex.
std::vector<Vec2> exported_uvs(std::span<const Vec3> map_vertices);

// Face tangents, the direction of increasing u: with p0..p2 the corner
// positions and (u, v) the exported texture coordinates of the corners,
// e1 = p1 - p0, e2 = p2 - p0, tangent = e1 * dv2 - e2 * dv1, divided by
// D = du1 * dv2 - du2 * dv1 when D > 0 and kept undivided otherwise; then
// scaled to unit length. `uv_faces` holds the map faces of the same faces.
std::vector<Vec3> face_tangents(std::span<const Triangle> faces, std::span<const Vec3> positions,
                                std::span<const Triangle> uv_faces, std::span<const Vec2> uvs);

}  // namespace geometry
