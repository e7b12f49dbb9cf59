// The in-memory scene: controller values, node transforms, pipelines, Biped
// key times.
#include <gtest/gtest.h>

#include <numbers>

#include "host/scene_builder.h"
#include "host_expect.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

using host::testing::expect_near;

TEST(SceneControlsTest, KeyframeValuesAtAndBetweenKeys) {
  auto position = host::keyframes<ITCBPoint3Key>(
      {host::tcb(0, Point3(0, 0, 0)), host::tcb(160, Point3(2, 0, 0))});
  Point3 p;
  ASSERT_TRUE(position->GetValue(160, p));
  EXPECT_EQ(p, Point3(2, 0, 0));
  position->GetValue(80, p);
  expect_near(p, Point3(1, 0, 0));
  position->GetValue(-50, p);
  EXPECT_EQ(p, Point3(0, 0, 0));
  // Keys come out only as their own record type.
  ITCBPoint3Key key;
  EXPECT_TRUE(position->GetKeyControlInterface()->GetKey(1, &key));
  EXPECT_EQ(key.time, 160);
  ILinPoint3Key wrong;
  EXPECT_FALSE(position->GetKeyControlInterface()->GetKey(1, &wrong));
  EXPECT_FALSE(position->GetKeyControlInterface()->GetKey(2, &key));
  Quat q;
  EXPECT_FALSE(position->GetValue(0, q));
  // Bezier: the curve leaves along the out tangent (slope per tick).
  auto bez = host::keyframes<IBezFloatKey>(
      {host::bezier(0, 0.0f, 0.0f, 0.03f), host::bezier(300, 1.0f, 0.0f, 0.0f)});
  float f = 0;
  bez->GetValue(150, f);
  // Handles 0 + 0.03·100 = 3 and 1: (0 + 3·3 + 3·1 + 1) / 8.
  EXPECT_NEAR(f, 13.0f / 8.0f, 1e-5f);
  auto none = host::keyframes<ILinFloatKey>({}, 4.5f);
  none->GetValue(99, f);
  EXPECT_EQ(f, 4.5f);
}

TEST(SceneControlsTest, RelativeRotationKeysMultiplyUp) {
  const Point3 z(0, 0, 1);
  auto tcb = host::keyframes<ITCBRotKey>(
      {host::tcb(0, AngAxis{z, kPi / 2}), host::tcb(160, AngAxis{z, kPi / 2})});
  Quat q;
  tcb->GetValue(160, q);
  expect_near(Point3(1, 0, 0) * RotateMatrix(q), Point3(-1, 0, 0));
  auto bez = host::keyframes<IBezQuatKey>(
      {host::bezier(0, QFromAngAxis(0.3f, z)), host::bezier(10, QFromAngAxis(0.4f, z))});
  bez->GetValue(10, q);
  EXPECT_NEAR(std::fabs(QDot(q, QFromAngAxis(0.7f, z))), 1.0f, 1e-6f);
  // Linear rotation keys are absolute.
  auto lin = host::keyframes<ILinRotKey>(
      {host::linear(0, QFromAngAxis(0.3f, z)), host::linear(10, QFromAngAxis(0.4f, z))});
  lin->GetValue(10, q);
  EXPECT_NEAR(std::fabs(QDot(q, QFromAngAxis(0.4f, z))), 1.0f, 1e-6f);
}

TEST(SceneControlsTest, EulerTurnsInItsOrder) {
  auto euler = std::make_unique<host::EulerControl>(host::keyframes<ILinFloatKey>({}, kPi / 2),
                                                    host::keyframes<ILinFloatKey>({}, kPi / 2),
                                                    host::keyframes<ILinFloatKey>({}, 0.0f), "YXZ");
  std::string name;
  euler->GetClassName(name);
  EXPECT_EQ(name, "Euler YXZ");
  Quat q;
  euler->GetValue(0, q);
  // (0, 0, 1) turned 90° about y goes to (1, 0, 0), then 90° about x stays.
  expect_near(Point3(0, 0, 1) * RotateMatrix(q), Point3(1, 0, 0));
}

TEST(SceneNodesTest, TransformsChainThroughParentsAndObjectOffset) {
  host::SceneBuilder b;
  host::SceneNode& parent = b.dummy("P");
  parent.controller = host::static_transform(Point3(10, 0, 0));
  host::SceneNode& child = b.mesh("C", &parent);
  child.controller =
      host::static_transform(Point3(0, 1, 0), QFromAngAxis(-kPi / 2, Point3(0, 0, 1)));
  child.offset_position = Point3(0, 0, 3);
  expect_near(Point3() * child.GetNodeTM(0), Point3(10, 1, 0));
  expect_near(Point3(1, 0, 0) * child.GetNodeTM(0), Point3(10, 2, 0));
  expect_near(Point3() * child.GetObjectTM(0), Point3(10, 1, 3));
  expect_near(child.GetParentTM(0).GetTrans(), Point3(10, 0, 0));
  EXPECT_TRUE(b.scene.root().GetNodeTM(0).IsIdentity());
  EXPECT_TRUE(b.scene.root().IsRootNode());
  EXPECT_FALSE(child.IsRootNode());
}

TEST(SceneNodesTest, EvaluationLooksThroughDerivedObjects) {
  host::SceneBuilder b;
  auto mesh = host::triangle_mesh();
  auto physique = std::make_shared<host::PhysiqueModifier>();
  auto derived =
      std::make_shared<host::DerivedObject>(mesh, std::vector<std::shared_ptr<Modifier>>{physique});
  host::SceneNode& n = b.node("Skin", derived);
  EXPECT_EQ(n.EvalWorldState(0).obj, mesh.get());
  EXPECT_EQ(n.GetObjectRef()->SuperClassID(), GEN_DERIVOB_CLASS_ID);
  EXPECT_EQ(dynamic_cast<IPhysiqueExport*>(physique->GetInterface(I_PHYINTERFACE)), physique.get());
  physique->offers_interface = false;
  EXPECT_EQ(physique->GetInterface(I_PHYINTERFACE), nullptr);
  n.hidden_by_layer = true;
  EXPECT_FALSE(n.IsHidden());
  EXPECT_TRUE(n.IsNodeHidden(false));
}

TEST(SceneNodesTest, BipedBodyKeepsItsKeyTimesInItsFirstSubController) {
  host::BipedKeyTimes times{{0, 320}, {160}, {}};
  host::BipedControl body(BIPBODY_CONTROL_CLASS_ID, {}, times);
  std::vector<TimeValue> found;
  EXPECT_FALSE(body.GetKeyTimes(found, FOREVER, KEYAT_POSITION | KEYAT_ROTATION));
  ASSERT_EQ(body.NumSubs(), 1);
  auto* sub = dynamic_cast<Control*>(body.SubAnim(0));
  ASSERT_NE(sub, nullptr);
  EXPECT_TRUE(sub->GetKeyTimes(found, Interval(0, 200), KEYAT_POSITION | KEYAT_ROTATION));
  EXPECT_EQ(found, (std::vector<TimeValue>{0, 160}));
  host::BipedControl slave(BIPSLAVE_CONTROL_CLASS_ID,
                           {{0, Point3(0, 0, 0), Quat()}, {100, Point3(2, 0, 0), Quat()}}, {});
  Matrix3 local;
  slave.GetValue(50, local);
  expect_near(local.GetTrans(), Point3(1, 0, 0));
}

TEST(SceneInterfaceTest, CancelComesAfterTheGivenPolls) {
  host::Scene scene;
  EXPECT_FALSE(scene.GetCancel());
  scene.cancel_after_polls = 2;
  scene.cancel_polls = 0;
  EXPECT_FALSE(scene.GetCancel());
  EXPECT_FALSE(scene.GetCancel());
  EXPECT_TRUE(scene.GetCancel());
  scene.plugin_config_dir = "/cfg";
  EXPECT_EQ(scene.GetDir(APP_PLUGCFG_DIR), "/cfg");
}

}  // namespace
