// Box3: an axis-aligned box given by its minimum and maximum corners.
#pragma once

#include "host/host_api.h"
#include "host/matrix3.h"
#include "host/point3.h"

class HOSTAPI Box3 {
 public:
  // An empty box.
  Box3() { Init(); }
  Box3(const Point3& min_corner, const Point3& max_corner) : pmin(min_corner), pmax(max_corner) {}

  // Makes the box empty (pmin +1e30, pmax -1e30).
  void Init();
  bool IsEmpty() const;
  // Grows the box to take in `p`.
  Box3& operator+=(const Point3& p);
  // The box around the eight corners transformed by `m` (empty stays empty).
  Box3 operator*(const Matrix3& m) const;
  Point3 Center() const { return (pmin + pmax) * 0.5f; }
  Point3 Width() const { return pmax - pmin; }
  // Corner i (bit 0 picks x from pmax, bit 1 y, bit 2 z).
  Point3 operator[](int i) const;

  Point3 pmin;
  Point3 pmax;
};
