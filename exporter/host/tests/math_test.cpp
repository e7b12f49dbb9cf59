// The host's math, checked against its definitions.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "host/box3.h"
#include "host/decomp.h"
#include "host/matrix3.h"
#include "host/quat.h"
#include "host_expect.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

using host::testing::expect_near;

// Same rotation: q and -q are the same.
void expect_same_rotation(const Quat& a, const Quat& b, float eps = 1e-4f) {
  EXPECT_NEAR(std::fabs(QDot(a, b)), 1.0f, eps);
}

Quat random_quat(std::mt19937& rng) {
  std::normal_distribution<float> n;
  return Quat(n(rng), n(rng), n(rng), n(rng)).Normalize();
}

TEST(QuatTest, ProductIsRotationFollowedByRotation) {
  // A row vector (1, 0, 0) turned by +90° about z becomes (0, 1, 0).
  const Quat z90 = QuatFromAngAxis(AngAxis{Point3(0, 0, 1), kPi / 2});
  expect_near(Point3(1, 0, 0) * RotateMatrix(z90), Point3(0, 1, 0));
  // The Hamilton product of the unit quaternions: i·j = k.
  const Quat ij = Quat(1, 0, 0, 0) * Quat(0, 1, 0, 0);
  EXPECT_EQ(ij, Quat(0, 0, 1, 0));
  std::mt19937 rng(7);
  for (int i = 0; i < 50; ++i) {
    const Quat a = random_quat(rng), b = random_quat(rng);
    expect_near(RotateMatrix(a * b), RotateMatrix(a) * RotateMatrix(b));
    expect_same_rotation(MatrixToQuat(RotateMatrix(a)), a);
    expect_same_rotation(a * a.Inverse(), Quat());
  }
}

TEST(QuatTest, LogAndExpAreInverse) {
  const Quat q = QFromAngAxis(1.2f, Point3(1, 2, 3));
  const Quat l = LogN(q);
  EXPECT_NEAR(std::sqrt(l.x * l.x + l.y * l.y + l.z * l.z), 0.6f, 1e-5f);
  expect_same_rotation(Exp(l), q, 1e-6f);
  EXPECT_EQ(Exp(LogN(Quat())), Quat());
}

TEST(QuatTest, SquadInnerPointFromItsDefinition) {
  const Point3 z(0, 0, 1);
  // Even steps about one axis: the inner point is the key itself.
  const Quat a = QFromAngAxis(0.0f, z), b = QFromAngAxis(0.5f, z), c = QFromAngAxis(1.0f, z);
  expect_same_rotation(QCompA(a, b, c), b, 1e-6f);
  // Uneven steps, worked out by hand: prev 0°, key 90°, next 270° about z.
  // log(q⁻¹·next) = z·π/2, log(q⁻¹·prev) = -z·π/4, so the point turns the key
  // back by (π/2 - π/4)/4 = π/16 in half-angle, i.e. to 90° - 22.5°.
  const Quat inner =
      QCompA(QFromAngAxis(0, z), QFromAngAxis(kPi / 2, z), QFromAngAxis(3 * kPi / 2, z));
  expect_same_rotation(inner, QFromAngAxis(kPi / 2 - kPi / 8, z));
  // Equal neighbours give the key.
  expect_same_rotation(QCompA(b, b, b), b, 1e-6f);
}

TEST(QuatTest, SlerpRunsAlongTheShorterArc) {
  const Point3 x(1, 0, 0);
  const Quat a = QFromAngAxis(0.2f, x), b = QFromAngAxis(1.0f, x);
  expect_same_rotation(Slerp(a, b, 0.5f), QFromAngAxis(0.6f, x));
  const Quat neg_b(-b.x, -b.y, -b.z, -b.w);
  expect_same_rotation(Slerp(a, neg_b, 0.25f), QFromAngAxis(0.4f, x));
}

TEST(Matrix3Test, InverseAndProducts) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<float> u(-3, 3);
  for (int i = 0; i < 50; ++i) {
    Matrix3 m(Point3(u(rng), u(rng), u(rng)), Point3(u(rng), u(rng), u(rng)),
              Point3(u(rng), u(rng), u(rng)), Point3(u(rng), u(rng), u(rng)));
    if (std::fabs(m.Parity()) < 0.1f) continue;
    expect_near(m * Inverse(m), Matrix3(), 1e-3f);
    const Point3 p(u(rng), u(rng), u(rng));
    expect_near(p * m * Inverse(m), p, 1e-3f);
  }
  // A point goes through the first transform first.
  const Matrix3 t = TransMatrix(Point3(1, 0, 0));
  const Matrix3 s = ScaleMatrix(Point3(2, 2, 2));
  expect_near(Point3(0, 0, 0) * (t * s), Point3(2, 0, 0));
  expect_near(Point3(0, 0, 0) * (s * t), Point3(1, 0, 0));
  EXPECT_TRUE(Inverse(Matrix3(Point3(), Point3(), Point3(), Point3(1, 2, 3))).IsIdentity());
}

TEST(Matrix3Test, PreRotationAndScalingApplyBeforeTheMatrix) {
  Matrix3 m = TransMatrix(Point3(10, 0, 0));
  PreRotateMatrix(m, QuatFromAngAxis(AngAxis{Point3(0, 0, 1), kPi / 2}));
  expect_near(Point3(1, 0, 0) * m, Point3(10, 1, 0));
  // Scaling along rotated axes: scale 3 along the axis (1, 1, 0)/√2.
  const Quat axes = QuatFromAngAxis(AngAxis{Point3(0, 0, 1), kPi / 4});
  Matrix3 s;
  ApplyScaling(s, ScaleValue{Point3(3, 1, 1), axes});
  const Point3 along = Point3(1, 0, 0) * RotateMatrix(axes);
  expect_near(along * s, along * 3.0f);
  const Point3 across = Point3(0, 1, 0) * RotateMatrix(axes);
  expect_near(across * s, across);
  // The object-offset frame: scale, then rotation, then translation.
  Matrix3 offset;
  offset.PreTranslate(Point3(0, 0, 5));
  PreRotateMatrix(offset, QuatFromAngAxis(AngAxis{Point3(0, 0, 1), kPi / 2}));
  ApplyScaling(offset, ScaleValue{Point3(2, 2, 2), Quat()});
  expect_near(Point3(1, 0, 0) * offset, Point3(0, 2, 5));
}

TEST(DecompTest, RecomposesRandomAffineTransforms) {
  std::mt19937 rng(3);
  std::uniform_real_distribution<float> u(-2, 2);
  for (int i = 0; i < 200; ++i) {
    Matrix3 m(Point3(u(rng), u(rng), u(rng)), Point3(u(rng), u(rng), u(rng)),
              Point3(u(rng), u(rng), u(rng)), Point3(u(rng), u(rng), u(rng)));
    if (std::fabs(m.Parity()) < 0.05f) continue;
    AffineParts parts;
    decomp_affine(m, &parts);
    EXPECT_EQ(parts.f, m.Parity() < 0 ? -1.0f : 1.0f);
    EXPECT_GT(parts.k.x, 0.0f);
    EXPECT_GT(parts.k.y, 0.0f);
    EXPECT_GT(parts.k.z, 0.0f);
    EXPECT_NEAR(QDot(parts.q, parts.q), 1.0f, 1e-5f);
    expect_near(compose_affine(parts), m, 2e-3f);
  }
}

TEST(DecompTest, FindsScaleRotationTranslationAndMirror) {
  const Quat q = QFromAngAxis(0.7f, Point3(1, -2, 0.5f));
  Matrix3 m = RotateMatrix(q);
  m.SetTrans(Point3(4, 5, 6));
  ApplyScaling(m, ScaleValue{Point3(2, 3, 4), Quat()});
  AffineParts parts;
  decomp_affine(m, &parts);
  expect_near(parts.t, Point3(4, 5, 6));
  expect_same_rotation(parts.q, q);
  // The stretch factors along the axes of u are 2, 3, 4 in some order.
  const Matrix3 stretch_axes = RotateMatrix(parts.u);
  for (int i = 0; i < 3; ++i) {
    const float k = parts.k[i];
    EXPECT_TRUE(std::fabs(k - 2) < 1e-3f || std::fabs(k - 3) < 1e-3f || std::fabs(k - 4) < 1e-3f);
    EXPECT_NEAR(std::fabs(stretch_axes[i][0]) + std::fabs(stretch_axes[i][1]) +
                    std::fabs(stretch_axes[i][2]),
                1.0f, 1e-3f);
  }
  Matrix3 mirrored = ScaleMatrix(Point3(-1, 1, 1));
  decomp_affine(mirrored, &parts);
  EXPECT_EQ(parts.f, -1.0f);
  expect_near(compose_affine(parts), mirrored);
}

TEST(Box3Test, GrowsAndTransforms) {
  Box3 box;
  EXPECT_TRUE(box.IsEmpty());
  box += Point3(1, 2, 3);
  box += Point3(-1, 0, 5);
  expect_near(box.pmin, Point3(-1, 0, 3));
  expect_near(box.pmax, Point3(1, 2, 5));
  const Box3 turned = box * RotateMatrix(QuatFromAngAxis(AngAxis{Point3(0, 0, 1), kPi / 2}));
  expect_near(turned.pmin, Point3(-2, -1, 3));
  expect_near(turned.pmax, Point3(0, 1, 5));
  EXPECT_TRUE((Box3() * TransMatrix(Point3(1, 1, 1))).IsEmpty());
}

}  // namespace
