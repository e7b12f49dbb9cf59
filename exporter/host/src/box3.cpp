// Axis-aligned boxes.
#include "host/box3.h"

namespace {
constexpr float kBig = 1e30f;
}

void Box3::Init() {
  pmin = Point3(kBig, kBig, kBig);
  pmax = Point3(-kBig, -kBig, -kBig);
}

bool Box3::IsEmpty() const {
  return pmin.x > pmax.x || pmin.y > pmax.y || pmin.z > pmax.z;
}

Box3& Box3::operator+=(const Point3& p) {
  for (int i = 0; i < 3; ++i) {
    if (p[i] < pmin[i]) pmin[i] = p[i];
    if (p[i] > pmax[i]) pmax[i] = p[i];
  }
  return *this;
}

Point3 Box3::operator[](int i) const {
  return {(i & 1) ? pmax.x : pmin.x, (i & 2) ? pmax.y : pmin.y, (i & 4) ? pmax.z : pmin.z};
}

Box3 Box3::operator*(const Matrix3& m) const {
  Box3 out;
  if (IsEmpty()) return out;
  for (int i = 0; i < 8; ++i) out += (*this)[i] * m;
  return out;
}
