#include "model3da/math.h"

#include <cmath>

namespace model3da {

Matrix4 identity_matrix() {
  return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

Matrix4 multiply_affine(const Matrix4& a, const Matrix4& b) {
  Matrix4 r{};
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      r[row * 4 + col] =
          a[row * 4] * b[col] + a[row * 4 + 1] * b[4 + col] + a[row * 4 + 2] * b[8 + col];
    }
  }
  for (int col = 0; col < 3; ++col) {
    r[12 + col] = a[12] * b[col] + a[13] * b[4 + col] + a[14] * b[8 + col] + b[12 + col];
  }
  r[3] = r[7] = r[11] = 0.0f;
  r[15] = 1.0f;
  return r;
}

Matrix4 translation_matrix(const Vec3& t) {
  Matrix4 m = identity_matrix();
  m[12] = t[0];
  m[13] = t[1];
  m[14] = t[2];
  return m;
}

Matrix4 scale_matrix(const Vec3& s) {
  Matrix4 m = identity_matrix();
  m[0] = s[0];
  m[5] = s[1];
  m[10] = s[2];
  return m;
}

Matrix4 rotation_matrix(const Quat& q) {
  const float x = q[0], y = q[1], z = q[2], w = q[3];
  Matrix4 m = identity_matrix();
  m[0] = 1 - 2 * (y * y + z * z);
  m[1] = 2 * (x * y - z * w);
  m[2] = 2 * (x * z + y * w);
  m[4] = 2 * (x * y + z * w);
  m[5] = 1 - 2 * (x * x + z * z);
  m[6] = 2 * (y * z - x * w);
  m[8] = 2 * (x * z - y * w);
  m[9] = 2 * (y * z + x * w);
  m[10] = 1 - 2 * (x * x + y * y);
  return m;
}

Vec3 transform_point(const Vec3& p, const Matrix4& m) {
  return {p[0] * m[0] + p[1] * m[4] + p[2] * m[8] + m[12],
          p[0] * m[1] + p[1] * m[5] + p[2] * m[9] + m[13],
          p[0] * m[2] + p[1] * m[6] + p[2] * m[10] + m[14]};
}

Quat slerp(const Quat& a, const Quat& b, float s) {
  float cos_theta = a[0] * b[0] + a[1] * b[1] + a[2] * b[2] + a[3] * b[3];
  Quat target = b;
  if (cos_theta < 0.0f) {
    cos_theta = -cos_theta;
    for (float& c : target) c = -c;
  }
  float wa = 1.0f - s;
  float wb = s;
  if (cos_theta < 0.9995f) {
    const float theta = std::acos(cos_theta);
    const float sin_theta = std::sin(theta);
    wa = std::sin((1.0f - s) * theta) / sin_theta;
    wb = std::sin(s * theta) / sin_theta;
  }
  Quat r{};
  float length_sq = 0.0f;
  for (int i = 0; i < 4; ++i) {
    r[i] = wa * a[i] + wb * target[i];
    length_sq += r[i] * r[i];
  }
  if (length_sq > 0.0f && std::isfinite(length_sq)) {
    const float inv = 1.0f / std::sqrt(length_sq);
    for (float& c : r) c *= inv;
  }
  return r;
}

Quat quat_multiply(const Quat& a, const Quat& b) {
  return {a[3] * b[0] + a[0] * b[3] + a[1] * b[2] - a[2] * b[1],
          a[3] * b[1] - a[0] * b[2] + a[1] * b[3] + a[2] * b[0],
          a[3] * b[2] + a[0] * b[1] - a[1] * b[0] + a[2] * b[3],
          a[3] * b[3] - a[0] * b[0] - a[1] * b[1] - a[2] * b[2]};
}

Quat axis_quat(int axis, float angle) {
  Quat q{0.0f, 0.0f, 0.0f, std::cos(angle * 0.5f)};
  q[axis] = std::sin(angle * 0.5f);
  return q;
}

}  // namespace model3da
