// Quat: a rotation quaternion (x, y, z, w), with AngAxis, ScaleValue and the
// quaternion functions of the host.
//
// Conventions. A Quat's matrix (Quat::MakeMatrix) acts on row vectors, like
// every Matrix3: its rows are (1-2(y²+z²), 2(xy-zw), 2(xz+yw)),
// (2(xy+zw), 1-2(x²+z²), 2(yz-xw)), (2(xz-yw), 2(yz+xw), 1-2(x²+y²)).
// The product a * b is the Hamilton product; it is the rotation a followed
// by b, so MakeMatrix(a * b) = MakeMatrix(a) * MakeMatrix(b).
// QFromAngAxis(angle, axis) is (axis·sin(angle/2), cos(angle/2)); on row
// vectors it turns by -angle about the axis. An AngAxis turns row vectors by
// +angle (counter-clockwise looking down the axis), so its quaternion is
// QFromAngAxis(-angle, axis).
#pragma once

#include "host/host_api.h"
#include "host/point3.h"

class Matrix3;

struct HOSTAPI Quat {
  float x = 0.0f, y = 0.0f, z = 0.0f, w = 1.0f;

  constexpr Quat() = default;
  constexpr Quat(float qx, float qy, float qz, float qw) : x(qx), y(qy), z(qz), w(qw) {}

  float& operator[](int i) { return i == 0 ? x : (i == 1 ? y : (i == 2 ? z : w)); }
  float operator[](int i) const { return i == 0 ? x : (i == 1 ? y : (i == 2 ? z : w)); }

  // Hamilton product: this rotation followed by `b`.
  Quat operator*(const Quat& b) const;
  constexpr bool operator==(const Quat&) const = default;

  void Identity() { *this = Quat(); }
  bool IsIdentity() const { return x == 0.0f && y == 0.0f && z == 0.0f && w == 1.0f; }
  Quat Conjugate() const { return {-x, -y, -z, w}; }
  // The inverse rotation (the conjugate divided by the squared norm).
  Quat Inverse() const;
  // The unit quaternion; a zero quaternion becomes the identity.
  Quat Normalize() const;
  // The rotation matrix (row vectors, zero translation).
  void MakeMatrix(Matrix3& m) const;
};

// An axis and an angle in radians; turns row vectors by +angle.
struct AngAxis {
  Point3 axis{0.0f, 0.0f, 1.0f};
  float angle = 0.0f;
};

// A scale along the axes of a rotation: `s` along the axes of `q`.
struct ScaleValue {
  Point3 s{1.0f, 1.0f, 1.0f};
  Quat q;
};

HOSTAPI float QDot(const Quat& a, const Quat& b);
// (axis·sin(angle/2), cos(angle/2)); the axis is normalised first.
HOSTAPI Quat QFromAngAxis(float angle, const Point3& axis);
// The quaternion of an AngAxis: QFromAngAxis(-aa.angle, aa.axis).
HOSTAPI Quat QuatFromAngAxis(const AngAxis& aa);
// The natural logarithm of a unit quaternion: (axis·half-angle, 0).
HOSTAPI Quat LogN(const Quat& q);
// The exponential of a pure quaternion (v, 0): (v/|v|·sin|v|, cos|v|).
HOSTAPI Quat Exp(const Quat& q);
// The inner control point of squad at q:
// q · exp(-(log(q⁻¹·qnext) + log(q⁻¹·qprev)) / 4).
HOSTAPI Quat QCompA(const Quat& qprev, const Quat& q, const Quat& qnext);
// Spherical interpolation from a to b by t along the shorter arc.
HOSTAPI Quat Slerp(const Quat& a, const Quat& b, float t);
