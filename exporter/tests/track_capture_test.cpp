// Track capture: every controller kind exported, loaded back through the
// .3da loader, and compared with the controller at its key times.
#include <cmath>
#include <functional>
#include <numbers>

#include "export_fixture.h"
#include "host/decomp.h"
#include "scenepress/axes.h"
#include "scenepress/track_capture.h"

namespace scenepress::testing {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kEps = 1e-5f;

void expect_values(std::span<const float> got, std::span<const float> want, const char* what) {
  ASSERT_EQ(got.size(), want.size()) << what;
  for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], want[i], kEps) << what << " " << i;
}

// Same rotation (q and -q).
void expect_rotation(const model3da::Quat& got, const model3da::Quat& want) {
  const float dot = got[0] * want[0] + got[1] * want[1] + got[2] * want[2] + got[3] * want[3];
  EXPECT_NEAR(std::fabs(dot), 1.0f, kEps);
}

model3da::Quat as_file(const Quat& q) {
  return {q.x, q.y, q.z, q.w};
}

class TrackCaptureTest : public ExportTest {
 protected:
  void SetUp() override {
    ExportTest::SetUp();
    default_options();
  }
  // Exports and loads; the first node.
  model3da::NodeView& exported_node() {
    EXPECT_EQ(export_scene(), 1) << ::testing::PrintToString(messages());
    model_ = load();
    EXPECT_FALSE(model_->nodes.empty());
    return model_->nodes[0];
  }
  // Evaluates the 3-component track at each host key time and compares with
  // the position controller's converted value.
  void expect_position_at_keys(model3da::Track_c& track, Control* c) {
    for (int k = 0; k < c->NumKeys(); ++k) {
      const TimeValue t = c->GetKeyTime(k);
      track.evaluate(float(t / GetTicksPerFrame()), 0);
      Point3 v;
      c->GetValue(t, v);
      const model3da::Vec3 want = file_point(v);
      expect_values(track.current_value(), want, "position");
    }
  }
  std::unique_ptr<model3da::Model> model_;
};

TEST_F(TrackCaptureTest, TcbRotationKeysMultiplyUpWithSquadTangents) {
  host::SceneNode& n = builder_.dummy("Spin_0");
  const Point3 z(0, 0, 1);
  auto rotation = host::keyframes<ITCBRotKey>(
      {host::tcb(0, AngAxis{z, kPi / 2}), host::tcb(160, AngAxis{z, kPi / 2})});
  rotation->keys()[1].tens = 0.25f;
  Control* c = rotation.get();
  n.controller = host::transform(nullptr, std::move(rotation));
  model3da::NodeView& node = exported_node();
  auto* track = dynamic_cast<model3da::TCBTrack4D_c*>(node.rotation.get());
  ASSERT_NE(track, nullptr);
  ASSERT_EQ(track->key_count(), 2);
  const auto k0 = track->keys()[0], k1 = track->keys()[1];
  EXPECT_EQ(k0.frame, 0);
  EXPECT_EQ(k1.frame, 1);
  EXPECT_EQ(k1.tension, 0.25f);
  // 90° and 180° about the host's z, which is the file's y.
  const float h = std::sqrt(0.5f);
  expect_values(k0.value, std::array<float, 4>{0, -h, 0, h}, "key 0");
  expect_values(k1.value, std::array<float, 4>{0, -1, 0, 0}, "key 1");
  for (int k = 0; k < 2; ++k) {
    Quat q;
    c->GetValue(c->GetKeyTime(k), q);
    expect_rotation(track->keys()[k].value, file_quat(q));
  }
  // Tangents: A(k) = QCompA(q(k-1), q(k), q(k+1)), ends repeated.
  const Quat q0(0, -h, 0, h), q1(0, -1, 0, 0);
  expect_values(k0.out_tangent, as_file(QCompA(q0, q0, q1)), "out 0");
  expect_values(k1.in_tangent, as_file(QCompA(q0, q0, q1)), "in 1");
  expect_values(k1.out_tangent, as_file(QCompA(q0, q1, q1)), "out 1");
  expect_values(k0.in_tangent, std::array<float, 4>{0, 0, 0, 0}, "in 0");
}

TEST_F(TrackCaptureTest, TcbLinearAndBezierPositionsMatchTheController) {
  auto tcb = host::keyframes<ITCBPoint3Key>({host::tcb(0, Point3(1, 2, 3)),
                                             host::tcb(320, Point3(4, 5, 6)),
                                             host::tcb(480, Point3(-1, 0, 2))});
  tcb->keys()[1].cont = 0.5f;
  tcb->keys()[1].bias = -0.5f;
  tcb->keys()[2].easeIn = 0.75f;
  Control* tcb_control = tcb.get();
  builder_.dummy("A_0").controller = host::transform(std::move(tcb));
  auto lin = host::keyframes<ILinPoint3Key>(
      {host::linear(160, Point3(1, 1, 1)), host::linear(800, Point3(2, -3, 4))});
  Control* lin_control = lin.get();
  builder_.dummy("B_0").controller = host::transform(std::move(lin));
  auto bez = host::keyframes<IBezPoint3Key>(
      {host::bezier(0, Point3(0, 0, 0), Point3(9, 9, 9), Point3(0.01f, 0, 0)),
       host::bezier(300, Point3(1, 2, 3), Point3(0, 0.02f, 0), Point3(0, 0, 0.03f)),
       host::bezier(600, Point3(2, 2, 2), Point3(0, 0, 0.01f), Point3(7, 7, 7))});
  Control* bez_control = bez.get();
  builder_.dummy("C_0").controller = host::transform(std::move(bez));
  exported_node();
  auto& nodes = model_->nodes;

  auto* t = dynamic_cast<model3da::TCBTrack3D_c*>(nodes[0].position.get());
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->keys()[1].frame, 2);
  EXPECT_EQ(t->keys()[1].continuity, 0.5f);
  EXPECT_EQ(t->keys()[1].bias, -0.5f);
  EXPECT_EQ(t->keys()[2].ease_in, 0.75f);
  expect_position_at_keys(*t, tcb_control);

  auto* l = dynamic_cast<model3da::LINEARTrack3D_c*>(nodes[1].position.get());
  ASSERT_NE(l, nullptr);
  expect_position_at_keys(*l, lin_control);
  l->evaluate(3.0f, 0);  // halfway between frames 1 and 5
  expect_values(l->current_value(), std::array<float, 3>{1.5f, 2.5f, 1.0f}, "linear halfway");

  auto* b = dynamic_cast<model3da::BEZIERTrack3D_c*>(nodes[2].position.get());
  ASSERT_NE(b, nullptr);
  expect_position_at_keys(*b, bez_control);
  // End handles equal the value; inner ones are value + tangent · dt / 3.
  const auto b0 = b->keys()[0], b1 = b->keys()[1], b2 = b->keys()[2];
  expect_values(b0.in_handle, b0.value, "first in handle");
  expect_values(b2.out_handle, b2.value, "last out handle");
  expect_values(b0.out_handle, file_point(Point3(1, 0, 0)), "first out handle");
  expect_values(b1.in_handle, file_point(Point3(1, 4, 3)), "inner in handle");
  expect_values(b1.out_handle, file_point(Point3(1, 2, 6)), "inner out handle");
}

TEST_F(TrackCaptureTest, ScaleAndRotationKinds) {
  auto scale = host::keyframes<IBezScaleKey>(
      {host::bezier(0, ScaleValue{Point3(1, 2, 3), Quat()}, Point3(), Point3(0.03f, 0, 0)),
       host::bezier(300, ScaleValue{Point3(2, 2, 2), Quat()}, Point3(), Point3())});
  Control* scale_control = scale.get();
  auto lin_rot =
      host::keyframes<ILinRotKey>({host::linear(0, QFromAngAxis(0.5f, Point3(1, 0, 0))),
                                   host::linear(160, QFromAngAxis(1.0f, Point3(0, 1, 0)))});
  Control* lin_control = lin_rot.get();
  builder_.dummy("A_0").controller = host::transform(nullptr, std::move(lin_rot), std::move(scale));
  auto bez_rot =
      host::keyframes<IBezQuatKey>({host::bezier(0, QFromAngAxis(0.5f, Point3(0, 0, 1))),
                                    host::bezier(160, QFromAngAxis(0.25f, Point3(0, 0, 1)))});
  Control* bez_control = bez_rot.get();
  builder_.dummy("B_0").controller = host::transform(nullptr, std::move(bez_rot));
  exported_node();
  auto& nodes = model_->nodes;

  auto* s = dynamic_cast<model3da::BEZIERTrack3D_c*>(nodes[0].scale.get());
  ASSERT_NE(s, nullptr);
  for (int k = 0; k < 2; ++k) {
    s->evaluate(float(scale_control->GetKeyTime(k) / 160), 0);
    ScaleValue v;
    scale_control->GetValue(scale_control->GetKeyTime(k), v);
    expect_values(s->current_value(), file_scale(v.s), "scale");
  }
  expect_values(s->keys()[0].out_handle, std::array<float, 3>{4, 3, 2}, "scale handle (x, z, y)");

  auto* r = dynamic_cast<model3da::LINEARTrack4D_c*>(nodes[0].rotation.get());
  ASSERT_NE(r, nullptr);
  for (int k = 0; k < 2; ++k) {
    r->evaluate(float(k), 0);
    Quat q;
    lin_control->GetValue(lin_control->GetKeyTime(k), q);
    const auto v = r->current_value();
    expect_rotation({v[0], v[1], v[2], v[3]}, file_quat(q));
  }

  auto* br = dynamic_cast<model3da::BEZIERTrack4D_c*>(nodes[1].rotation.get());
  ASSERT_NE(br, nullptr);
  for (int k = 0; k < 2; ++k) {
    Quat q;
    bez_control->GetValue(bez_control->GetKeyTime(k), q);
    expect_rotation(br->keys()[k].value, file_quat(q));
  }
  expect_rotation(br->keys()[1].value, file_quat(QFromAngAxis(0.75f, Point3(0, 0, 1))));
}

TEST_F(TrackCaptureTest, EulerOrdersAndFloatSubTracks) {
  auto x = host::keyframes<ITCBFloatKey>(
      {host::tcb(0, 0.5f), host::tcb(160, 1.0f), host::tcb(480, 0.0f)});
  auto y = host::keyframes<ILinFloatKey>({host::linear(0, 0.25f), host::linear(320, -1.0f)});
  auto z = host::keyframes<IBezFloatKey>(
      {host::bezier(0, 2.0f, 0.0f, 0.003f), host::bezier(300, 1.0f, 0.006f, 0.0f)});
  std::array<Control*, 3> axes = {x.get(), y.get(), z.get()};
  auto euler =
      std::make_unique<host::EulerControl>(std::move(x), std::move(y), std::move(z), "ZXY");
  builder_.dummy("E_0").controller = host::transform(nullptr, std::move(euler));
  model3da::NodeView& node = exported_node();
  auto* e = dynamic_cast<model3da::EULERTrack_c*>(node.rotation.get());
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->order(), (std::array<uint32_t, 3>{2, 0, 1}));
  EXPECT_STREQ(e->axis(0).class_name(), "TCBTrack1D_c");
  EXPECT_STREQ(e->axis(1).class_name(), "LINEARTrack1D_c");
  EXPECT_STREQ(e->axis(2).class_name(), "BEZIERTrack1D_c");
  for (int a = 0; a < 3; ++a) {
    std::unique_ptr<model3da::Track_c> sub = e->axis(a).clone();
    for (int k = 0; k < axes[size_t(a)]->NumKeys(); ++k) {
      const TimeValue t = axes[size_t(a)]->GetKeyTime(k);
      sub->evaluate(float(t / 160), 0);
      float v = 0;
      axes[size_t(a)]->GetValue(t, v);
      EXPECT_NEAR(sub->current_value()[0], v, kEps) << "axis " << a << " key " << k;
    }
  }
  EXPECT_EQ(euler_axis_order("Euler XYZ"), (std::array<uint32_t, 3>{0, 1, 2}));
  EXPECT_EQ(euler_axis_order("Euler ZXZ"), (std::array<uint32_t, 3>{2, 0, 2}));
  EXPECT_EQ(euler_axis_order("Local Euler"), (std::array<uint32_t, 3>{0, 1, 2}));
}

TEST_F(TrackCaptureTest, NoAnimationWritesTheValuesAtTime0) {
  write_options("!NoAnimation()\nNoAnimation()\n");
  builder_.dummy("A_0").controller = host::transform(
      host::keyframes<ITCBPoint3Key>(
          {host::tcb(0, Point3(1, 2, 3)), host::tcb(160, Point3(4, 5, 6))}),
      host::keyframes<ITCBRotKey>({host::tcb(0, AngAxis{Point3(1, 0, 0), 0.5f}),
                                   host::tcb(160, AngAxis{Point3(1, 0, 0), 0.5f})}));
  model3da::NodeView& node = exported_node();
  ASSERT_STREQ(node.position->class_name(), "LINEARTrack3D_c");
  ASSERT_STREQ(node.rotation->class_name(), "LINEARTrack4D_c");
  EXPECT_EQ(node.position->key_count(), 1);
  expect_values(node.position->current_value(), std::array<float, 3>{1, 3, -2}, "position");
  const auto q = node.rotation->current_value();
  expect_rotation({q[0], q[1], q[2], q[3]}, file_quat(QFromAngAxis(-0.5f, Point3(1, 0, 0))));
}

// A controller of a class no capture knows, with or without keys.
class OddControl final : public Control, public IKeyControl {
 public:
  explicit OddControl(bool keyed) : keyed_(keyed) {}
  Class_ID ClassID() override { return Class_ID(0x4242, 0); }
  SClass_ID SuperClassID() override { return CTRL_FLOAT_CLASS_ID; }
  IKeyControl* GetKeyControlInterface() override { return keyed_ ? this : nullptr; }
  int GetNumKeys() override { return 1; }
  bool GetKey(int, IKey*) override { return false; }

 private:
  bool keyed_;
};

TEST_F(TrackCaptureTest, UnsupportedControllersFailWithTheirMessage) {
  struct Case {
    std::function<std::unique_ptr<host::PRSControl>()> make;
    std::vector<std::string> messages;
  };
  auto euler_with = [](std::unique_ptr<Control> x) {
    return host::transform(nullptr, std::make_unique<host::EulerControl>(
                                        std::move(x), host::keyframes<ILinFloatKey>({}),
                                        host::keyframes<ILinFloatKey>({})));
  };
  const std::vector<Case> cases = {
      {[] { return host::transform(std::make_unique<OddControl>(false)); },
       {"Position controller not supported!"}},
      {[] { return host::transform(std::make_unique<OddControl>(true)); },
       {"Position controller not supported!"}},
      {[] { return host::transform(nullptr, std::make_unique<OddControl>(false)); },
       {"Rotation controller not supported!"}},
      {[] { return host::transform(nullptr, nullptr, std::make_unique<OddControl>(true)); },
       {"Scale controller not supported!"}},
      {[&] { return euler_with(std::make_unique<OddControl>(true)); },
       {"Unknown float controller!"}},
      {[&] { return euler_with(std::make_unique<OddControl>(false)); },
       {"Float controller not supported!"}},
      {[&] { return euler_with(nullptr); },
       {"Euler rotatition controller: Unknow sub controller!"}},
  };
  for (const Case& c : cases) {
    host::SceneBuilder b;
    b.scene.plugin_config_dir = scene_.plugin_config_dir;
    b.dummy("H_0").controller = c.make();
    ui_.messages.clear();
    std::unique_ptr<SceneExport> e = make_exporter();
    EXPECT_EQ(e->DoExport("out.3da", nullptr, &b.scene, false, 0), 0);
    EXPECT_EQ(messages(), c.messages);
  }
  // A mesh adds its own message.
  host::SceneBuilder b;
  b.scene.plugin_config_dir = scene_.plugin_config_dir;
  b.mesh("M_0").controller = cases[0].make();
  ui_.messages.clear();
  EXPECT_EQ(make_exporter()->DoExport("out.3da", nullptr, &b.scene, false, 0), 0);
  EXPECT_EQ(messages(), (std::vector<std::string>{"Position controller not supported!",
                                                  "Unable to export animation data"}));
}

TEST_F(TrackCaptureTest, BipedBonesAreSampledAtTheKeyTimesOfTheirAncestors) {
  host::SceneNode& pelvis = builder_.dummy("Pelvis_0");
  pelvis.controller = host::transform(host::keyframes<ILinPoint3Key>(
      {host::linear(0, Point3(0, 0, 0)), host::linear(320, Point3(0, 0, 4))}));
  host::SceneNode& body = builder_.dummy("Body_0", &pelvis);
  body.controller = std::make_unique<host::BipedControl>(
      BIPBODY_CONTROL_CLASS_ID,
      std::vector<host::BipedPose>{{0, Point3(1, 0, 0), Quat()},
                                   {480, Point3(1, 2, 0), QFromAngAxis(1.0f, Point3(0, 0, 1))}},
      host::BipedKeyTimes{{160}, {480}, {}});
  host::SceneNode& bone = builder_.mesh("Thigh_0", &body);
  bone.controller = std::make_unique<host::BipedControl>(
      BIPSLAVE_CONTROL_CLASS_ID,
      std::vector<host::BipedPose>{{0, Point3(0, 1, 0), Quat()},
                                   {320, Point3(0, 3, 0), QFromAngAxis(0.5f, Point3(1, 0, 0))}},
      host::BipedKeyTimes{{170}, {}, {}});
  // The merged times 0, 160, 170, 320, 480: 170 falls into frame 1 with 160.
  EXPECT_EQ(biped_key_times(&bone, scene_.anim_range),
            (std::vector<TimeValue>{0, 160, 170, 320, 480}));
  exported_node();
  ASSERT_EQ(model_->nodes.size(), 3u);
  model3da::NodeView& thigh = model_->nodes[2];
  EXPECT_EQ(thigh.record.name, "Thigh_0");
  EXPECT_EQ(thigh.record.nodeType, model3da::BONE_3DA);
  EXPECT_EQ(thigh.record.scaleTrackOffset, 0u);
  EXPECT_EQ(model_->nodes[1].record.nodeType, model3da::BONE_3DA);
  auto* p = dynamic_cast<model3da::TCBTrack3D_c*>(thigh.position.get());
  auto* r = dynamic_cast<model3da::TCBTrack4D_c*>(thigh.rotation.get());
  ASSERT_NE(p, nullptr);
  ASSERT_NE(r, nullptr);
  ASSERT_EQ(p->key_count(), 4);
  const TimeValue times[4] = {0, 160, 320, 480};
  for (int k = 0; k < 4; ++k) {
    AffineParts local;
    decomp_affine(bone.GetNodeTM(times[k]) * Inverse(bone.GetParentTM(times[k])), &local);
    EXPECT_EQ(p->keys()[k].frame, times[k] / 160);
    expect_values(p->keys()[k].value, file_point(local.t), "biped position");
    expect_rotation(r->keys()[k].value, file_quat(local.q));
  }
  expect_values(r->keys()[0].out_tangent, r->keys()[1].in_tangent, "biped tangents");
}

TEST_F(TrackCaptureTest, BipedWithoutKeyTimesTakesTheWorldTranslation) {
  host::SceneNode& parent = builder_.dummy("P_0");
  parent.controller = host::static_transform(Point3(5, 0, 0));
  host::SceneNode& bone = builder_.dummy("Foot_0", &parent);
  bone.controller = std::make_unique<host::BipedControl>(
      FOOTPRINT_CLASS_ID, std::vector<host::BipedPose>{{0, Point3(0, 1, 0), Quat()}},
      host::BipedKeyTimes{});
  exported_node();
  model3da::NodeView& foot = model_->nodes[1];
  ASSERT_STREQ(foot.position->class_name(), "LINEARTrack3D_c");
  expect_values(foot.position->current_value(), file_point(Point3(5, 1, 0)), "world translation");
  ASSERT_STREQ(foot.rotation->class_name(), "LINEARTrack4D_c");
  EXPECT_EQ(foot.scale, nullptr);
}

}  // namespace
}  // namespace scenepress::testing
