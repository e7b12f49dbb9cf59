// Small vector, quaternion and matrix helpers of the .3da model.
//
// Matrices are 4x4, row-major, for row vectors: a point p maps to p * M and
// the translation sits in the last row.
#pragma once

#include <array>

namespace model3da {

using Vec2 = std::array<float, 2>;
using Vec3 = std::array<float, 3>;
using Quat = std::array<float, 4>;  // x, y, z, w
using Matrix4 = std::array<float, 16>;

// The identity matrix.
Matrix4 identity_matrix();

// The affine product a * b: the upper 3x3 parts multiply as usual, the result's
// translation row is a's translation times b's 3x3 part plus b's translation,
// and the fourth column is (0, 0, 0, 1).
Matrix4 multiply_affine(const Matrix4& a, const Matrix4& b);

// Translation matrix (identity with t in the last row).
Matrix4 translation_matrix(const Vec3& t);

// Scale matrix (identity with s on the diagonal).
Matrix4 scale_matrix(const Vec3& s);

// Rotation matrix of a quaternion (x, y, z, w), zero translation; the rows are
// (1-2(y²+z²), 2(xy-zw), 2(xz+yw)), (2(xy+zw), 1-2(x²+z²), 2(yz-xw)),
// (2(xz-yw), 2(yz+xw), 1-2(x²+y²)).
Matrix4 rotation_matrix(const Quat& q);

// p * M for a point (w = 1).
Vec3 transform_point(const Vec3& p, const Matrix4& m);

// Spherical interpolation from a to b by s in [0, 1] along the shorter arc;
// falls back to normalised linear interpolation when the two are nearly equal.
Quat slerp(const Quat& a, const Quat& b, float s);

// Hamilton product a * b.
Quat quat_multiply(const Quat& a, const Quat& b);

// Rotation of `angle` radians about the coordinate axis `axis` (0 x, 1 y, 2 z).
Quat axis_quat(int axis, float angle);

}  // namespace model3da
