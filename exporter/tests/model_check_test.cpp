// An export with every controller kind passes the model tool's check.
#include <cstdlib>
#include <numbers>

#include "export_fixture.h"
#include "mesh_scenes.h"

namespace scenepress::testing {
namespace {

class ModelCheckTest : public ExportTest {};

TEST_F(ModelCheckTest, ExportOfEveryControllerKindPassesModel3daCheck) {
  default_options();
  const Point3 z(0, 0, 1);
  builder_.dummy("Tcb_0").controller = host::transform(
      host::keyframes<ITCBPoint3Key>(
          {host::tcb(0, Point3(0, 0, 0)), host::tcb(160, Point3(1, 2, 3))}),
      host::keyframes<ITCBRotKey>(
          {host::tcb(0, AngAxis{z, 0.5f}), host::tcb(320, AngAxis{z, 0.5f})}),
      host::keyframes<ITCBScaleKey>(
          {host::tcb(0, ScaleValue{}), host::tcb(160, ScaleValue{Point3(2, 2, 2), Quat()})}));
  builder_.dummy("Linear_0").controller = host::transform(
      host::keyframes<ILinPoint3Key>(
          {host::linear(0, Point3(1, 0, 0)), host::linear(480, Point3())}),
      host::keyframes<ILinRotKey>({host::linear(0, Quat()), host::linear(160, QFromAngAxis(1, z))}),
      host::keyframes<ILinScaleKey>(
          {host::linear(0, ScaleValue{}), host::linear(160, ScaleValue{})}));
  builder_.dummy("Bezier_0").controller = host::transform(
      host::keyframes<IBezPoint3Key>({host::bezier(0, Point3(), Point3(), Point3(0.01f, 0, 0)),
                                      host::bezier(160, Point3(1, 1, 1), Point3(), Point3())}),
      host::keyframes<IBezQuatKey>(
          {host::bezier(0, Quat()), host::bezier(160, QFromAngAxis(1, z))}),
      host::keyframes<IBezScaleKey>({host::bezier(0, ScaleValue{}, Point3(), Point3()),
                                     host::bezier(160, ScaleValue{}, Point3(), Point3())}));
  host::SceneNode& euler = builder_.dummy("Euler_0");
  euler.controller = host::transform(
      nullptr, std::make_unique<host::EulerControl>(
                   host::keyframes<ITCBFloatKey>({host::tcb(0, 0.0f), host::tcb(160, 1.0f)}),
                   host::keyframes<ILinFloatKey>({host::linear(0, 0.0f), host::linear(160, 1.0f)}),
                   host::keyframes<IBezFloatKey>(
                       {host::bezier(0, 0.0f, 0.0f, 0.0f), host::bezier(160, 1.0f, 0.0f, 0.0f)}),
                   "YZX"));
  builder_.dummy("Bone_0", &euler).controller = std::make_unique<host::BipedControl>(
      BIPSLAVE_CONTROL_CLASS_ID,
      std::vector<host::BipedPose>{{0, Point3(), Quat()}, {160, Point3(0, 1, 0), Quat()}},
      host::BipedKeyTimes{{0, 160}, {}, {}});
  builder_.mesh("Mesh_0", &euler);
  ASSERT_EQ(export_scene("every.3da"), 1);
  EXPECT_TRUE(messages().empty());
  const std::string command =
      std::string("\"") + GM_MODEL3DA_TOOL + "\" check every.3da >/dev/null";
  EXPECT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(load("every.3da")->nodes.size(), 6u);
}

TEST_F(ModelCheckTest, MeshesSkinnedMeshesAndMorphPairsPassModel3daCheck) {
  host::SceneNode& bone = builder_.dummy("Bone_0");
  auto physique = std::make_shared<host::PhysiqueModifier>();
  host::SceneNode& skin = builder_.node("Skin_0", with_modifiers(cube_object(true), {physique}));
  physique->init_tm[&bone] = TransMatrix(Point3(0, 0, 1));
  for (int v = 0; v < 8; ++v)
    physique->vertices[&skin].push_back({RIGID_TYPE, {{&bone, 1, Point3()}}});
  host::SceneNode& cube = builder_.node("Cube_0", cube_object(false));
  cube.material = multi_material({"Paint", "Glass"});
  builder_.mesh("Mirror_0").offset_scale = ScaleValue{Point3(1, -1, 1), Quat()};
  auto check = [](const std::string& file) {
    const std::string command =
        std::string("\"") + GM_MODEL3DA_TOOL + "\" check " + file + " >/dev/null";
    return std::system(command.c_str());
  };
  write_options("!Morphing(s)\nMorphing(\"src\")\n");
  ASSERT_EQ(export_scene("car.3da"), 1);
  EXPECT_EQ(check("car.3da_0.3da"), 0);
  write_options("!Morphing(s)\nMorphing(\"dst\")\n");
  ASSERT_EQ(export_scene("car.3da"), 1);
  EXPECT_EQ(check("car.3da_1.3da"), 0);
  EXPECT_TRUE(messages().empty());
  auto model = load("car.3da_1.3da");
  ASSERT_EQ(model->nodes.size(), 4u);
  EXPECT_EQ(model->nodes[3].record.nodeType, model3da::MESH_SKINNED_3DA);
}

}  // namespace
}  // namespace scenepress::testing
