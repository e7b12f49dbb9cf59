// Axis conversion and small 3x3 matrix algebra.
#include "geometry/axes.h"

#include <cmath>

namespace geometry {
namespace {

// Rows of C: host (x, y, z) * C = (x, z, -y).
constexpr Matrix3 kToFile{1, 0, 0, 0, 0, -1, 0, 1, 0};

bool all_finite(const Matrix3& m) {
  for (float v : m)
    if (!std::isfinite(v)) return false;
  return true;
}

}  // namespace

Matrix3 to_file_axes(const Matrix3& host) {
  return multiply(multiply(transpose(kToFile), host), kToFile);
}

Matrix3 multiply(const Matrix3& a, const Matrix3& b) {
  Matrix3 r{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      double sum = 0;
      for (int k = 0; k < 3; ++k) sum += double(a[3 * i + k]) * b[3 * k + j];
      r[3 * i + j] = float(sum);
    }
  return r;
}

Matrix3 transpose(const Matrix3& m) {
  return {m[0], m[3], m[6], m[1], m[4], m[7], m[2], m[5], m[8]};
}

std::optional<Matrix3> inverse(const Matrix3& m) {
  auto at = [&m](int i, int j) { return double(m[3 * i + j]); };
  // Cofactors c(i, j); the inverse is their transpose over the determinant.
  double c[9];
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      const int i1 = (i + 1) % 3, i2 = (i + 2) % 3, j1 = (j + 1) % 3, j2 = (j + 2) % 3;
      c[3 * i + j] = at(i1, j1) * at(i2, j2) - at(i1, j2) * at(i2, j1);
    }
  const double det = at(0, 0) * c[0] + at(0, 1) * c[1] + at(0, 2) * c[2];
  if (det == 0.0 || !std::isfinite(det)) return std::nullopt;
  Matrix3 r{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r[3 * i + j] = float(c[3 * j + i] / det);
  if (!all_finite(r)) return std::nullopt;
  return r;
}

std::optional<Matrix3> normal_matrix_from_object_offset(const Matrix3& object_offset_host) {
  const std::optional<Matrix3> inv = inverse(to_file_axes(object_offset_host));
  if (!inv) return std::nullopt;
  return transpose(*inv);
}

std::optional<model3da::Matrix4> inverse_bind_matrix(const AffineTransform& bind_host) {
  // p' = p * L + t inverts to p = p' * L^-1 - t * L^-1; then both sides are
  // converted: L_file = C^T L C, t_file = t C.
  const std::optional<Matrix3> inv = inverse(bind_host.linear);
  if (!inv) return std::nullopt;
  const Vec3 t = multiply(bind_host.translation, *inv);
  const Matrix3 linear = to_file_axes(*inv);
  const Vec3 translation = to_file_axes(Vec3{-t[0], -t[1], -t[2]});
  model3da::Matrix4 out = model3da::identity_matrix();
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) out[4 * i + j] = linear[3 * i + j];
  for (int j = 0; j < 3; ++j) out[12 + j] = translation[j];
  for (float v : out)
    if (!std::isfinite(v)) return std::nullopt;
  return out;
}

}  // namespace geometry
