// Axis conversion and the matrices the geometry export derives from host
// transforms.
//
// The host's axes are z-up, the file's y-up: a point or direction (x, y, z)
// becomes (x, z, -y). Matrices are for row vectors (v' = v * M), as the
// host's are.
#pragma once

#include <optional>

#include "geometry/mesh_input.h"
#include "model3da/math.h"

namespace geometry {

// (x, y, z) -> (x, z, -y).
inline Vec3 to_file_axes(const Vec3& host) {
  return {host[0], host[2], -host[1]};
}

// The same linear map expressed in the file's axes: C^T * M * C, where C is
// the conversion above.
Matrix3 to_file_axes(const Matrix3& host);

Matrix3 multiply(const Matrix3& a, const Matrix3& b);
Matrix3 transpose(const Matrix3& m);
// v * M.
inline Vec3 multiply(const Vec3& v, const Matrix3& m) {
  Vec3 r{};
  for (int j = 0; j < 3; ++j)
    r[j] = float(double(v[0]) * m[j] + double(v[1]) * m[3 + j] + double(v[2]) * m[6 + j]);
  return r;
}
// The inverse, or nothing when the matrix is singular or the inverse is not
// finite.
std::optional<Matrix3> inverse(const Matrix3& m);

// The normal matrix of a mesh: its object-offset matrix without translation
// (host axes), expressed in the file's axes, inverted and transposed. Nothing
// when the object offset is singular.
std::optional<Matrix3> normal_matrix_from_object_offset(const Matrix3& object_offset_host);

// An affine host transform: three rows of the linear part, then the
// translation row.
struct AffineTransform {
  Matrix3 linear = kIdentity3;
  Vec3 translation{};
};

// Entry of the node matrix table for a bone: the inverse of its bind
// transform, expressed in the file's axes (conversion applied on both sides),
// as a 4x4 row-major matrix with the translation in the last row. Nothing
// when the transform cannot be inverted.
std::optional<model3da::Matrix4> inverse_bind_matrix(const AffineTransform& bind_host);

}  // namespace geometry
