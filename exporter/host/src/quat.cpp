// Quaternion products, logarithm and exponential, squad and slerp.
#include "host/quat.h"

#include <cmath>

#include "host/matrix3.h"

Quat Quat::operator*(const Quat& b) const {
  return {w * b.x + x * b.w + y * b.z - z * b.y, w * b.y - x * b.z + y * b.w + z * b.x,
          w * b.z + x * b.y - y * b.x + z * b.w, w * b.w - x * b.x - y * b.y - z * b.z};
}

Quat Quat::Inverse() const {
  const float n = QDot(*this, *this);
  if (n <= 0.0f) return Quat();
  return {-x / n, -y / n, -z / n, w / n};
}

Quat Quat::Normalize() const {
  const float n = std::sqrt(QDot(*this, *this));
  if (n <= 0.0f) return Quat();
  return {x / n, y / n, z / n, w / n};
}

void Quat::MakeMatrix(Matrix3& m) const {
  m = Matrix3(Point3(1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + y * w)),
              Point3(2 * (x * y + z * w), 1 - 2 * (x * x + z * z), 2 * (y * z - x * w)),
              Point3(2 * (x * z - y * w), 2 * (y * z + x * w), 1 - 2 * (x * x + y * y)), Point3());
}

float QDot(const Quat& a, const Quat& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
}

Quat QFromAngAxis(float angle, const Point3& axis) {
  const Point3 a = Normalize(axis);
  const float s = std::sin(angle * 0.5f);
  return {a.x * s, a.y * s, a.z * s, std::cos(angle * 0.5f)};
}

Quat QuatFromAngAxis(const AngAxis& aa) {
  return QFromAngAxis(-aa.angle, aa.axis);
}

Quat LogN(const Quat& q) {
  const Quat u = q.Normalize();
  const float v = std::sqrt(u.x * u.x + u.y * u.y + u.z * u.z);
  if (v < 1e-12f) return {0.0f, 0.0f, 0.0f, 0.0f};
  const float half = std::atan2(v, u.w);
  const float f = half / v;
  return {u.x * f, u.y * f, u.z * f, 0.0f};
}

Quat Exp(const Quat& q) {
  const float theta = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z);
  if (theta < 1e-12f) return Quat();
  const float f = std::sin(theta) / theta;
  return {q.x * f, q.y * f, q.z * f, std::cos(theta)};
}

Quat QCompA(const Quat& qprev, const Quat& q, const Quat& qnext) {
  const Quat inv = q.Inverse();
  const Quat a = LogN(inv * qnext);
  const Quat b = LogN(inv * qprev);
  const Quat sum{-(a.x + b.x) * 0.25f, -(a.y + b.y) * 0.25f, -(a.z + b.z) * 0.25f, 0.0f};
  return q * Exp(sum);
}

Quat Slerp(const Quat& a, const Quat& b, float t) {
  Quat end = b;
  float cosine = QDot(a, b);
  if (cosine < 0.0f) {
    cosine = -cosine;
    end = {-b.x, -b.y, -b.z, -b.w};
  }
  float wa = 1.0f - t, wb = t;
  if (cosine < 0.9999f) {
    const float angle = std::acos(cosine);
    const float s = std::sin(angle);
    wa = std::sin((1.0f - t) * angle) / s;
    wb = std::sin(t * angle) / s;
  }
  return Quat(a.x * wa + end.x * wb, a.y * wa + end.y * wb, a.z * wa + end.z * wb,
              a.w * wa + end.w * wb)
      .Normalize();
}
