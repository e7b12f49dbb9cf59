// Near-equality checks of the host's points and matrices, for the tests of
// the host layer and of the scene import.
#pragma once

#include <gtest/gtest.h>

#include "host/matrix3.h"

namespace host::testing {

inline void expect_near(const Point3& a, const Point3& b, float tolerance = 1e-4f) {
  EXPECT_NEAR(a.x, b.x, tolerance);
  EXPECT_NEAR(a.y, b.y, tolerance);
  EXPECT_NEAR(a.z, b.z, tolerance);
}

inline void expect_near(const Matrix3& a, const Matrix3& b, float tolerance = 1e-4f) {
  for (int row = 0; row < 4; ++row) expect_near(a[row], b[row], tolerance);
}

}  // namespace host::testing
