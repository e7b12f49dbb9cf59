// The change of axes and the split of transforms, checked against Assimp's
// own matrices.
#include <gtest/gtest.h>

#include <assimp/types.h>

#include <random>

#include "../../host/tests/host_expect.h"
#include "source_axes.h"
#include "transform_split.h"

namespace scene_import {
namespace {

using host::testing::expect_near;

// Scale, then rotation, then translation, as a source node's transform is
// made (column vectors: T · R · S).
aiMatrix4x4 source_transform(const aiVector3D& scale, const aiQuaternion& rotation,
                             const aiVector3D& translation) {
  aiMatrix4x4 s, t;
  aiMatrix4x4::Scaling(scale, s);
  aiMatrix4x4::Translation(translation, t);
  return t * aiMatrix4x4(rotation.GetMatrix()) * s;
}

TEST(SourceAxesTest, YUpBecomesZUp) {
  expect_near(host_point(aiVector3D(0, 1, 0)), Point3(0, 0, 1));
  expect_near(host_point(aiVector3D(0, 0, 1)), Point3(0, -1, 0));
  expect_near(host_point(aiVector3D(1, 0, 0)), Point3(1, 0, 0));
  // The exporter's (x, y, z) -> (x, z, -y) gives the source's axes back.
  const Point3 h = host_point(aiVector3D(1, 2, 3));
  expect_near(Point3(h.x, h.z, -h.y), Point3(1, 2, 3));
}

TEST(SourceAxesTest, TransformsPointsRotationsAndScalesAgree) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> value(-3.0f, 3.0f);
  for (int i = 0; i < 50; ++i) {
    aiQuaternion rotation(aiVector3D(value(random), value(random), value(random)).Normalize(),
                          value(random));
    const aiVector3D scale(std::fabs(value(random)) + 0.1f, std::fabs(value(random)) + 0.1f,
                           std::fabs(value(random)) + 0.1f);
    const aiVector3D translation(value(random), value(random), value(random));
    const aiMatrix4x4 m = source_transform(scale, rotation, translation);
    const aiVector3D p(value(random), value(random), value(random));
    // Transforming then converting equals converting then transforming.
    expect_near(host_point(m * p), host_point(p) * host_matrix(m));
    // The rotation alone.
    const aiMatrix4x4 turn(rotation.GetMatrix());
    expect_near(RotateMatrix(host_rotation(rotation)), host_matrix(turn));
    // The scale alone.
    aiMatrix4x4 stretch;
    aiMatrix4x4::Scaling(scale, stretch);
    expect_near(ScaleMatrix(host_scale(scale)), host_matrix(stretch));
    // The source's scale-rotate-translate is the controller's order.
    Matrix3 prs = ScaleMatrix(host_scale(scale));
    prs = prs * RotateMatrix(host_rotation(rotation));
    prs.SetTrans(host_point(translation));
    expect_near(prs, host_matrix(m), 1e-3f);
  }
}

Matrix3 recompose(const TransformSplit& s) {
  Matrix3 m;
  ApplyScaling(m, s.scale);
  m = m * RotateMatrix(s.rotation);
  m.SetTrans(s.position);
  if (s.needs_offset) {
    Matrix3 offset;
    ApplyScaling(offset, s.stretch);
    m = offset * m;
  }
  return m;
}

TEST(TransformSplitTest, ControllerTakesWhatItCanAndOffsetTheRest) {
  const Quat turn = QFromAngAxis(0.7f, Point3(1, 2, 3));
  // A rotation with scale along the node's own axes: the controller alone.
  Matrix3 own = ScaleMatrix(Point3(2, 3, 4)) * RotateMatrix(turn);
  own.SetTrans(Point3(1, -2, 5));
  TransformSplit split = split_transform(own);
  EXPECT_FALSE(split.needs_offset);
  expect_near(split.scale.s, Point3(2, 3, 4));
  expect_near(recompose(split), own);

  // A mirror keeps its sign in the scale.
  const Matrix3 mirror = ScaleMatrix(Point3(-1, 1, 1)) * RotateMatrix(turn);
  split = split_transform(mirror);
  EXPECT_FALSE(split.needs_offset);
  expect_near(recompose(split), mirror);
  EXPECT_LT(split.scale.s.x * split.scale.s.y * split.scale.s.z, 0.0f);

  // A stretch along turned axes needs the object offset.
  Matrix3 sheared = RotateMatrix(turn) * ScaleMatrix(Point3(1, 3, 1));
  sheared.SetTrans(Point3(4, 5, 6));
  split = split_transform(sheared);
  ASSERT_TRUE(split.needs_offset);
  expect_near(split.scale.s, Point3(1, 1, 1));
  expect_near(recompose(split), sheared);
}

TEST(TransformSplitTest, SimilarityMeansUniformScaleAndRotation) {
  Matrix3 m = ScaleMatrix(Point3(2, 2, 2)) * RotateMatrix(QFromAngAxis(1.0f, Point3(0, 1, 1)));
  m.SetTrans(Point3(3, 4, 5));
  EXPECT_TRUE(is_similarity(m));
  EXPECT_TRUE(is_similarity(ScaleMatrix(Point3(-0.5f, -0.5f, -0.5f))));
  EXPECT_FALSE(is_similarity(ScaleMatrix(Point3(1, 2, 1))));
  EXPECT_FALSE(is_similarity(RotateMatrix(QFromAngAxis(1.0f, Point3(0, 0, 1))) *
                             ScaleMatrix(Point3(1, 2, 1))));
}

}  // namespace
}  // namespace scene_import
