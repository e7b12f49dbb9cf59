// Point3: a 3-component float vector (points, directions, colours of scale).
#pragma once

#include <cmath>

#include "host/host_api.h"

struct Point3 {
  float x = 0.0f, y = 0.0f, z = 0.0f;

  constexpr Point3() = default;
  constexpr Point3(float px, float py, float pz) : x(px), y(py), z(pz) {}

  float& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }
  float operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }

  constexpr Point3 operator+(const Point3& b) const { return {x + b.x, y + b.y, z + b.z}; }
  constexpr Point3 operator-(const Point3& b) const { return {x - b.x, y - b.y, z - b.z}; }
  constexpr Point3 operator-() const { return {-x, -y, -z}; }
  constexpr Point3 operator*(float f) const { return {x * f, y * f, z * f}; }
  constexpr Point3 operator/(float f) const { return {x / f, y / f, z / f}; }
  Point3& operator+=(const Point3& b) { return *this = *this + b; }
  Point3& operator-=(const Point3& b) { return *this = *this - b; }
  Point3& operator*=(float f) { return *this = *this * f; }
  constexpr bool operator==(const Point3&) const = default;

  float Length() const { return std::sqrt(x * x + y * y + z * z); }
  float LengthSquared() const { return x * x + y * y + z * z; }
};

inline constexpr Point3 operator*(float f, const Point3& p) {
  return p * f;
}

inline constexpr float DotProd(const Point3& a, const Point3& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

inline constexpr Point3 CrossProd(const Point3& a, const Point3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// The unit vector of `p`; a zero vector stays zero.
inline Point3 Normalize(const Point3& p) {
  const float length = p.Length();
  return length > 0.0f ? p / length : p;
}

// An RGB colour, components usually 0..1.
struct Color {
  float r = 0.0f, g = 0.0f, b = 0.0f;
  constexpr bool operator==(const Color&) const = default;
};

// A UVW map vertex.
using UVVert = Point3;
