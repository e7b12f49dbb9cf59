// The scene walk: order, parents, kinds, names.
#include <filesystem>

#include "export_fixture.h"

namespace scenepress::testing {
namespace {

class SceneWalkTest : public ExportTest {
 protected:
  void SetUp() override {
    ExportTest::SetUp();
    default_options();
  }
  std::vector<std::string> names(const model3da::Model& model) {
    std::vector<std::string> out;
    for (const auto& n : model.nodes) out.push_back(n.record.name);
    return out;
  }
};

TEST_F(SceneWalkTest, ChildrenAreSortedWithoutRegardToCase) {
  host::SceneNode& top = builder_.dummy("top_0");
  for (const char* name : {"b_0", "A_0", "c_0"}) builder_.dummy(name, &top);
  builder_.dummy("Z_0");
  builder_.dummy("a_1");
  ASSERT_EQ(export_scene(), 1);
  auto model = load();
  EXPECT_EQ(names(*model), (std::vector<std::string>{"a_1", "top_0", "A_0", "b_0", "c_0", "Z_0"}));
  EXPECT_EQ(model->nodes[1].record.childCount, 3);
  for (int i : {2, 3, 4}) EXPECT_EQ(model->nodes[size_t(i)].record.parentIndex, 1);
  EXPECT_EQ(model->nodes[5].record.parentIndex, -1);
}

TEST_F(SceneWalkTest, SkippedParentsHandDownTheMostRecentRecord) {
  builder_.dummy("A_0");
  host::SceneNode& lamp = builder_.light("Lamp");
  builder_.mesh("Shade_0", &lamp);
  host::SceneNode& hidden = builder_.dummy("B_0");
  hidden.hidden = true;
  host::SceneNode& kid = builder_.dummy("Kid_0", &hidden);
  builder_.dummy("Hidden_0", &kid).hidden = true;
  builder_.dummy("Shown_0", &kid);
  ASSERT_EQ(export_scene(), 1);
  auto model = load();
  // Sorted: A_0, B_0 (hidden: no record), Lamp (a light: no record).
  EXPECT_EQ(names(*model), (std::vector<std::string>{"A_0", "Kid_0", "Shown_0", "Shade_0"}));
  EXPECT_EQ(model->nodes[1].record.parentIndex, 0);  // under hidden B_0: A_0 came last
  EXPECT_EQ(model->nodes[1].record.childCount, 1);   // the hidden child does not count
  EXPECT_EQ(model->nodes[2].record.parentIndex, 1);
  EXPECT_EQ(model->nodes[3].record.parentIndex, 2);  // under the lamp: Shown_0 came last
  // The one-triangle mesh, its box in the file's axes.
  EXPECT_EQ(model->nodes[3].record.nodeType, model3da::MESH_3DA);
  EXPECT_EQ(model->nodes[3].record.surfaceCount, 1u);
  EXPECT_EQ(model->nodes[3].record.boxMin, (model3da::Vec3{0, 0, -1}));
  EXPECT_EQ(model->nodes[3].record.boxMax, (model3da::Vec3{1, 0, 0}));
}

TEST_F(SceneWalkTest, LevelOfDetailPostfix) {
  for (const char* name : {"Root", "Body_1", "Body_9", "Body_10", "Body_x"}) builder_.dummy(name);
  builder_.mesh("Hull");
  builder_.mesh("lipLower");
  ASSERT_EQ(export_scene(), 1);
  EXPECT_EQ(names(*load()), (std::vector<std::string>{"Body_1", "Body_10_0", "Body_9", "Body_x_0",
                                                      "Hull_0", "lipLower_0", "Root_0"}));
  // Bones get the postfix without a warning.
  EXPECT_EQ(messages(),
            (std::vector<std::string>{
                "Scenepress::ExportHelperData(..): No LOD postfix '_x'. Changing node name "
                "Body_10 -> Body_10_0",
                "Scenepress::ExportHelperData(..): No LOD postfix '_x'. Changing node name "
                "Body_x -> Body_x_0",
                "Scenepress::ExportGeomData(..): No LOD postfix '_x'. Changing node name Hull -> "
                "Hull_0",
                "Scenepress::ExportHelperData(..): No LOD postfix '_x'. Changing node name Root -> "
                "Root_0"}));
}

TEST_F(SceneWalkTest, NameLengths) {
  const std::string name31 = std::string(29, 'n') + "_1";
  builder_.dummy(name31);
  ASSERT_EQ(export_scene(), 1);
  EXPECT_EQ(load()->nodes[0].record.name, name31);

  const std::string name32 = std::string(30, 'n') + "_1";
  builder_.dummy(name32);
  EXPECT_EQ(export_scene("long.3da"), 0);
  EXPECT_EQ(messages().back(), "Node name lenght >= 32. Node " + name32);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "long.3da"));
}

TEST_F(SceneWalkTest, PostfixPastTheNameFieldFailsNamingTheNode) {
  const std::string name30 = std::string(30, 'm');
  builder_.dummy(name30);
  EXPECT_EQ(export_scene(), 0);
  EXPECT_EQ(messages(), (std::vector<std::string>{"Node name " + name30 +
                                                  " with the LOD postfix '_0' is longer than 31 "
                                                  "characters"}));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "out.3da"));
}

TEST_F(SceneWalkTest, LipMeshesAreBonesAndEmptyMeshesHelpers) {
  builder_.mesh("lipUpper_0");
  builder_.node("LIPupper_1", host::empty_mesh());
  host::SceneNode& degenerate = builder_.mesh("Flat_0");
  auto flat = host::triangle_mesh();
  flat->mesh.faces[0].v[2] = 1;  // uses vertex 1 twice: removed before counting
  degenerate.object = flat;
  ASSERT_EQ(export_scene(), 1);
  auto model = load();
  ASSERT_EQ(model->nodes.size(), 3u);
  EXPECT_EQ(model->nodes[0].record.name, "Flat_0");
  EXPECT_EQ(model->nodes[0].record.nodeType, model3da::HELPER_3DA);
  EXPECT_EQ(model->nodes[1].record.name, "lipUpper_0");
  EXPECT_EQ(model->nodes[1].record.nodeType, model3da::BONE_3DA);
  EXPECT_EQ(model->nodes[2].record.nodeType, model3da::HELPER_3DA);
}

TEST_F(SceneWalkTest, MeshesNeedAMappingAndBonesDoNot) {
  auto unmapped = host::triangle_mesh();
  unmapped->mesh.setNumMaps(1);
  builder_.node("lipBare_0", unmapped);
  ASSERT_EQ(export_scene(), 1);
  builder_.node("Bare_0", unmapped);
  EXPECT_EQ(export_scene("bare.3da"), 0);
  EXPECT_EQ(messages(), (std::vector<std::string>{"No mapping applied for mesh: Bare_0"}));
}

TEST_F(SceneWalkTest, ObjectsThatAreNotMeshesOrHelpersGiveNoRecord) {
  builder_.node("Cam_0", host::camera_object());
  builder_.node("Spline_0", host::shape_object());
  builder_.node("Particles_0",
                std::make_shared<host::PlainObject>(Class_ID(0x77, 0), GEOMOBJECT_CLASS_ID));
  builder_.node("Point_0", host::point_helper());
  builder_.node("Nothing_0", nullptr);
  ASSERT_EQ(export_scene(), 1);
  auto model = load();
  EXPECT_EQ(names(*model), (std::vector<std::string>{"Point_0"}));
  // Only dummies have a box.
  EXPECT_EQ(model->nodes[0].record.boxMin, (model3da::Vec3{0, 0, 0}));
}

TEST_F(SceneWalkTest, DummyBoxLiesInTheObjectOffsetFrame) {
  host::SceneNode& d = builder_.dummy("D_0");
  d.object = host::dummy_object(Point3(0, 0, 0), Point3(1, 2, 3));
  d.offset_position = Point3(10, 0, 0);
  d.offset_scale = ScaleValue{Point3(2, 2, 2), Quat()};
  ASSERT_EQ(export_scene(), 1);
  auto model = load();
  // Box (0..2, 0..4, 0..6) moved by 10 on x, then (x, y, z) -> (x, z, -y).
  EXPECT_EQ(model->nodes[0].record.boxMin, (model3da::Vec3{10, 0, -0.0f}));
  EXPECT_EQ(model->nodes[0].record.boxMax, (model3da::Vec3{12, 6, -4}));
}

}  // namespace
}  // namespace scenepress::testing
