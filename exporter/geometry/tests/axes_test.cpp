// Axis conversion, the normal matrix and the inverse bind matrices.
#include "geometry/axes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace geometry {
namespace {

void expect_near(const Matrix3& a, const Matrix3& b) {
  for (int k = 0; k < 9; ++k) EXPECT_NEAR(a[k], b[k], 1e-6f) << "entry " << k;
}

// A host transform: rotation by 30 degrees about host z, scale (1, 2, 0.5),
// translation (1, 2, 3).
AffineTransform bind() {
  const float c = std::cos(0.5235988f), s = std::sin(0.5235988f);
  const Matrix3 rotation{c, s, 0, -s, c, 0, 0, 0, 1};
  const Matrix3 scale{1, 0, 0, 0, 2, 0, 0, 0, 0.5f};
  return {multiply(scale, rotation), {1, 2, 3}};
}

TEST(AxesTest, HostZUpBecomesFileYUp) {
  EXPECT_EQ(to_file_axes(Vec3{1, 2, 3}), (Vec3{1, 3, -2}));
  // A quarter turn about host z (x to y) is a quarter turn about file y
  // that takes file x to file -z.
  const Matrix3 turn{0, 1, 0, -1, 0, 0, 0, 0, 1};
  const Vec3 x = multiply(Vec3{1, 0, 0}, to_file_axes(turn));
  EXPECT_NEAR(x[0], 0, 1e-6f);
  EXPECT_NEAR(x[2], -1, 1e-6f);
  // Converting a point and then transforming it agrees with transforming
  // and then converting.
  const AffineTransform t = bind();
  const Vec3 p{0.3f, -1.2f, 2.0f};
  const Vec3 a = multiply(to_file_axes(p), to_file_axes(t.linear));
  const Vec3 b = to_file_axes(multiply(p, t.linear));
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(a[k], b[k], 1e-5f);
}

TEST(AxesTest, TheNormalMatrixIsTheInverseTransposeInFileAxes) {
  // Host scale (1, 3, 1) stretches file z; normals shrink along it.
  expect_near(*normal_matrix_from_object_offset({1, 0, 0, 0, 3, 0, 0, 0, 1}),
              {1, 0, 0, 0, 1, 0, 0, 0, 1.0f / 3});
  // A rotation is its own normal matrix.
  const Matrix3 turn{0, 1, 0, -1, 0, 0, 0, 0, 1};
  expect_near(*normal_matrix_from_object_offset(turn), to_file_axes(turn));
  EXPECT_FALSE(normal_matrix_from_object_offset({1, 0, 0, 2, 0, 0, 0, 0, 1}).has_value());
}

TEST(AxesTest, InverseBindMatricesUndoTheBindInFileAxes) {
  // Translation only: (1, 2, 3) inverted is (-1, -2, -3), in file axes
  // (-1, -3, 2).
  const auto moved = inverse_bind_matrix({kIdentity3, {1, 2, 3}});
  ASSERT_TRUE(moved);
  EXPECT_EQ((*moved)[12], -1.0f);
  EXPECT_EQ((*moved)[13], -3.0f);
  EXPECT_EQ((*moved)[14], 2.0f);
  EXPECT_EQ((*moved)[15], 1.0f);
  // A general bind: a point taken through the bind (converted to file axes)
  // and then through the table entry comes back.
  const AffineTransform t = bind();
  const auto inverse_bind = inverse_bind_matrix(t);
  ASSERT_TRUE(inverse_bind);
  const Vec3 p{0.3f, -1.2f, 2.0f};
  const Vec3 bound = multiply(p, t.linear);
  const Vec3 world = to_file_axes(
      Vec3{bound[0] + t.translation[0], bound[1] + t.translation[1], bound[2] + t.translation[2]});
  const Vec3 back = model3da::transform_point(world, *inverse_bind);
  const Vec3 expected = to_file_axes(p);
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(back[k], expected[k], 1e-5f);
  for (int k : {3, 7, 11}) EXPECT_EQ((*inverse_bind)[k], 0.0f);
  // A flat bind cannot be inverted.
  EXPECT_FALSE(inverse_bind_matrix({{1, 0, 0, 0, 1, 0, 0, 0, 0}, {}}).has_value());
}

}  // namespace
}  // namespace geometry
