// Matrix3: an affine transform of row vectors, four rows of three floats.
// A point p maps to p·M: p.x·row0 + p.y·row1 + p.z·row2 + row3; row 3 is the
// translation. The product a * b is the transform a followed by b.
//
// Also here: Inverse, the quaternion of a rotation matrix, PreRotateMatrix
// and ApplyScaling.
#pragma once

#include <array>

#include "host/host_api.h"
#include "host/point3.h"
#include "host/quat.h"

class HOSTAPI Matrix3 {
 public:
  // The identity.
  Matrix3() { IdentityMatrix(); }
  Matrix3(const Point3& r0, const Point3& r1, const Point3& r2, const Point3& r3)
      : rows_{r0, r1, r2, r3} {}

  void IdentityMatrix();
  bool IsIdentity() const;
  const Point3& GetRow(int i) const { return rows_[i]; }
  void SetRow(int i, const Point3& p) { rows_[i] = p; }
  Point3& operator[](int i) { return rows_[i]; }
  const Point3& operator[](int i) const { return rows_[i]; }
  Point3 GetTrans() const { return rows_[3]; }
  void SetTrans(const Point3& p) { rows_[3] = p; }
  void NoTrans() { rows_[3] = Point3(); }

  // this = this * b (b applied after).
  Matrix3& operator*=(const Matrix3& b);
  Matrix3 operator*(const Matrix3& b) const;
  bool operator==(const Matrix3&) const = default;

  // this = T(p) * this (the translation applied before).
  void PreTranslate(const Point3& p);
  // this = this * T(p).
  void Translate(const Point3& p);
  // this = this * S(s).
  void Scale(const Point3& s);

  // The determinant of the 3x3 part, (row0 × row1) · row2.
  float Parity() const;

 private:
  std::array<Point3, 4> rows_;
};

// p·M for a point (translation included).
HOSTAPI Point3 operator*(const Point3& p, const Matrix3& m);
// p·M for a direction (translation left out).
HOSTAPI Point3 VectorTransform(const Matrix3& m, const Point3& p);

HOSTAPI Matrix3 TransMatrix(const Point3& p);
HOSTAPI Matrix3 ScaleMatrix(const Point3& s);
// The rotation matrix of q (Quat::MakeMatrix).
HOSTAPI Matrix3 RotateMatrix(const Quat& q);
// The quaternion of the rotation part of m (the rows are taken as they are:
// m must be a rotation for the result to mean anything).
HOSTAPI Quat MatrixToQuat(const Matrix3& m);

// The inverse affine transform; a singular 3x3 part gives the identity.
HOSTAPI Matrix3 Inverse(const Matrix3& m);

// m = R(q) * m: the rotation is applied before m.
HOSTAPI void PreRotateMatrix(Matrix3& m, const Quat& q);
// m = S * m with S the scale v.s along the axes of v.q (the rows of
// RotateMatrix(v.q)): S = Rᵀ·diag(s)·R. The scaling is applied before m.
HOSTAPI void ApplyScaling(Matrix3& m, const ScaleValue& v);
