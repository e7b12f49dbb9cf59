// Affine transforms of row vectors.
#include "host/matrix3.h"

#include <cmath>

void Matrix3::IdentityMatrix() {
  rows_ = {Point3(1, 0, 0), Point3(0, 1, 0), Point3(0, 0, 1), Point3(0, 0, 0)};
}

bool Matrix3::IsIdentity() const {
  return *this == Matrix3();
}

Matrix3 Matrix3::operator*(const Matrix3& b) const {
  Matrix3 r;
  for (int i = 0; i < 3; ++i) r.rows_[i] = VectorTransform(b, rows_[i]);
  r.rows_[3] = rows_[3] * b;
  return r;
}

Matrix3& Matrix3::operator*=(const Matrix3& b) {
  return *this = *this * b;
}

void Matrix3::PreTranslate(const Point3& p) {
  rows_[3] += VectorTransform(*this, p);
}

void Matrix3::Translate(const Point3& p) {
  rows_[3] += p;
}

void Matrix3::Scale(const Point3& s) {
  *this = *this * ScaleMatrix(s);
}

float Matrix3::Parity() const {
  return DotProd(CrossProd(rows_[0], rows_[1]), rows_[2]);
}

Point3 operator*(const Point3& p, const Matrix3& m) {
  return m[0] * p.x + m[1] * p.y + m[2] * p.z + m[3];
}

Point3 VectorTransform(const Matrix3& m, const Point3& p) {
  return m[0] * p.x + m[1] * p.y + m[2] * p.z;
}

Matrix3 TransMatrix(const Point3& p) {
  Matrix3 m;
  m.SetTrans(p);
  return m;
}

Matrix3 ScaleMatrix(const Point3& s) {
  return Matrix3(Point3(s.x, 0, 0), Point3(0, s.y, 0), Point3(0, 0, s.z), Point3());
}

Matrix3 RotateMatrix(const Quat& q) {
  Matrix3 m;
  q.MakeMatrix(m);
  return m;
}

Quat MatrixToQuat(const Matrix3& m) {
  // m[i][j] is row i, column j of the matrix that MakeMatrix builds.
  const float trace = m[0][0] + m[1][1] + m[2][2];
  Quat q;
  if (trace > 0.0f) {
    const float s = std::sqrt(trace + 1.0f) * 2.0f;  // 4w
    q = {(m[2][1] - m[1][2]) / s, (m[0][2] - m[2][0]) / s, (m[1][0] - m[0][1]) / s, 0.25f * s};
  } else if (m[0][0] > m[1][1] && m[0][0] > m[2][2]) {
    const float s = std::sqrt(1.0f + m[0][0] - m[1][1] - m[2][2]) * 2.0f;  // 4x
    q = {0.25f * s, (m[0][1] + m[1][0]) / s, (m[0][2] + m[2][0]) / s, (m[2][1] - m[1][2]) / s};
  } else if (m[1][1] > m[2][2]) {
    const float s = std::sqrt(1.0f + m[1][1] - m[0][0] - m[2][2]) * 2.0f;  // 4y
    q = {(m[0][1] + m[1][0]) / s, 0.25f * s, (m[1][2] + m[2][1]) / s, (m[0][2] - m[2][0]) / s};
  } else {
    const float s = std::sqrt(1.0f + m[2][2] - m[0][0] - m[1][1]) * 2.0f;  // 4z
    q = {(m[0][2] + m[2][0]) / s, (m[1][2] + m[2][1]) / s, 0.25f * s, (m[1][0] - m[0][1]) / s};
  }
  return q.Normalize();
}

Matrix3 Inverse(const Matrix3& m) {
  const Point3 a = m[0], b = m[1], c = m[2];
  const float det = m.Parity();
  if (det == 0.0f || !std::isfinite(det)) return Matrix3();
  // The inverse of the 3x3 part: columns are the cross products of the rows.
  const Point3 c0 = CrossProd(b, c) / det;
  const Point3 c1 = CrossProd(c, a) / det;
  const Point3 c2 = CrossProd(a, b) / det;
  Matrix3 r(Point3(c0.x, c1.x, c2.x), Point3(c0.y, c1.y, c2.y), Point3(c0.z, c1.z, c2.z), Point3());
  r.SetTrans(-VectorTransform(r, m.GetTrans()));
  return r;
}

void PreRotateMatrix(Matrix3& m, const Quat& q) {
  m = RotateMatrix(q) * m;
}

void ApplyScaling(Matrix3& m, const ScaleValue& v) {
  const Matrix3 r = RotateMatrix(v.q);
  const Matrix3 rt(Point3(r[0].x, r[1].x, r[2].x), Point3(r[0].y, r[1].y, r[2].y),
                   Point3(r[0].z, r[1].z, r[2].z), Point3());
  m = rt * ScaleMatrix(v.s) * r * m;
}
