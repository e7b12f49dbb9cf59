// Skinned meshes through the plug-in: Physique positions, skin data, bone
// indices, the node matrix table and every failure.
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "export_fixture.h"
#include "host/class_ids.h"
#include "mesh_scenes.h"
#include "scenepress/physique_skin.h"

namespace scenepress::testing {
namespace {

using model3da::Vec3;

// Three bones at the root (records 0, 1, 2) and a one-triangle mesh Skin_0
// (record 3) under a derived object with the Physique modifier. BoneA_0 and
// BoneB_0 bind as translations, BoneC_0 as a quarter turn (x to y) moved by
// (2, 0, 0). Every influence of a vertex puts it at the same point, so the
// weighted sum is that point: (0, 0, 10), (1, 0, 10), (0, 1, 10).
class PhysiqueTest : public ExportTest {
 protected:
  void SetUp() override {
    ExportTest::SetUp();
    default_options();
    a = &builder_.dummy("BoneA_0");
    b = &builder_.dummy("BoneB_0");
    c = &builder_.dummy("BoneC_0");
    physique = std::make_shared<host::PhysiqueModifier>();
    mesh = &builder_.node(
        "Skin_0", with_modifiers(
                      mesh_object({Point3(0, 0, 0), Point3(1, 0, 0), Point3(0, 1, 0)}, {{0, 1, 2}}),
                      {physique}));
    physique->init_tm[a] = TransMatrix(Point3(0, 0, 5));
    physique->init_tm[b] = TransMatrix(Point3(1, 0, 0));
    physique->init_tm[c] =
        Matrix3(Point3(0, 1, 0), Point3(-1, 0, 0), Point3(0, 0, 1), Point3(2, 0, 0));
    physique->vertices[mesh] = {
        blended({{a, 0.5f}, {b, 0.3f}, {c, 0.2f}}, Point3(0, 0, 10)),
        rigid(c, Point3(1, 0, 10)),
        blended({{b, 0.4f}, {a, 0.4f}, {c, 0.2f}}, Point3(0, 1, 10)),
    };
  }

  // The offset of `point` in the space of `bone` (its initial transform).
  Point3 offset(INode* bone, const Point3& point) {
    return point * Inverse(physique->init_tm.at(bone));
  }
  host::PhysiqueVertex rigid(INode* bone, const Point3& point) {
    host::PhysiqueVertex v;
    v.type = RIGID_TYPE;
    v.links = {{bone, 1.0f, offset(bone, point)}};
    return v;
  }
  host::PhysiqueVertex blended(const std::vector<std::pair<INode*, float>>& bones,
                               const Point3& point) {
    host::PhysiqueVertex v;
    v.type = RIGID_BLENDED_TYPE;
    for (const auto& [bone, weight] : bones) v.links.push_back({bone, weight, offset(bone, point)});
    return v;
  }

  // The skin bytes of the vertex nearest to `p`.
  std::array<uint8_t, 12> skin_near(const model3da::Model& model, const model3da::SurfaceView& s,
                                    const Vec3& p) {
    for (uint32_t v = 0; v < s.record.vertexCount; ++v) {
      const Vec3 q = model.position(s, v);
      if (std::fabs(q[0] - p[0]) + std::fabs(q[1] - p[1]) + std::fabs(q[2] - p[2]) < 1e-4f) {
        return skin_of(model, s, v);
      }
    }
    ADD_FAILURE() << "no vertex at " << p[0] << ", " << p[1] << ", " << p[2];
    return {};
  }

  // Exports, expects failure with `message`, no file and no open interface.
  void expect_failure(const std::string& message) {
    ui_.messages.clear();
    EXPECT_EQ(export_scene("failed.3da"), 0);
    EXPECT_EQ(messages(), (std::vector<std::string>{message}));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "failed.3da"));
    EXPECT_EQ(physique->open_interfaces, 0);
  }

  host::SceneNode* a = nullptr;
  host::SceneNode* b = nullptr;
  host::SceneNode* c = nullptr;
  host::SceneNode* mesh = nullptr;
  std::shared_ptr<host::PhysiqueModifier> physique;
};

// Helper names that sort before every bone.
std::string fmt_name(int i) {
  char name[16];
  std::snprintf(name, sizeof name, "A%03d_0", i);
  return name;
}

std::array<uint8_t, 12> skin(uint8_t first, uint8_t second, uint16_t w1, uint16_t w2) {
  return {first,       second,           255, 255, uint8_t(w1), uint8_t(w1 >> 8),
          uint8_t(w2), uint8_t(w2 >> 8), 0,   0,   0,           0};
}

TEST_F(PhysiqueTest, BindPosePositionsAndTheTwoStrongestBones) {
  ASSERT_EQ(export_scene(), 1);
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(physique->open_interfaces, 0);
  auto model = load();
  ASSERT_EQ(model->nodes.size(), 4u);
  const model3da::NodeView& node = model->nodes[3];
  EXPECT_EQ(node.record.name, "Skin_0");
  EXPECT_EQ(node.record.nodeType, model3da::MESH_SKINNED_3DA);
  const model3da::SurfaceView& s = node.surfaces.at(0);
  ASSERT_EQ(s.record.vertexCount, 3u);
  // 0.5, 0.3, 0.2: the first two, 0.625 and 0.375 of 32768.
  EXPECT_EQ(skin_near(*model, s, {0, 10, 0}), skin(0, 1, 20480, 12288));
  // Rigid: its bone twice, half each.
  EXPECT_EQ(skin_near(*model, s, {1, 10, 0}), skin(2, 2, 16384, 16384));
  // 0.4 for B, then 0.4 for A: the bone met first comes first.
  EXPECT_EQ(skin_near(*model, s, {0, 10, -1}), skin(1, 0, 16384, 16384));
  // The box of the skinned positions.
  for (int k = 0; k < 3; ++k) {
    EXPECT_NEAR(node.record.boxMin[size_t(k)], (Vec3{0, 10, -1})[size_t(k)], 1e-5f);
    EXPECT_NEAR(node.record.boxMax[size_t(k)], (Vec3{1, 10, 0})[size_t(k)], 1e-5f);
  }
}

TEST_F(PhysiqueTest, MatrixTableHoldsTheInverseBindTransformsInFileAxes) {
  ASSERT_EQ(export_scene(), 1);
  auto model = load();
  ASSERT_EQ(model->nodes.size(), 4u);
  // Translations (0, 0, 5) and (1, 0, 0) inverted, then (x, y, z) -> (x, z, -y).
  EXPECT_EQ(model->nodes[0].record.transform,
            (model3da::Matrix4{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, -5, 0, 1}));
  EXPECT_EQ(model->nodes[1].record.transform,
            (model3da::Matrix4{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -1, 0, 0, 1}));
  // The quarter turn back (host y to x, in the file -z to x) and the
  // translation (0, 2, 0), in the file (0, 0, -2).
  EXPECT_EQ(model->nodes[2].record.transform,
            (model3da::Matrix4{0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, -2, 1}));
  // The mesh is no bone: its entry stays the identity.
  EXPECT_EQ(model->nodes[3].record.transform, model3da::identity_matrix());
}

TEST_F(PhysiqueTest, ModifierIsFoundThroughDerivedObjects) {
  // Physique below another derived object with a modifier of its own.
  mesh->object =
      with_modifiers(mesh->object, {std::make_shared<host::PlainModifier>(Class_ID(0x77, 0))});
  ASSERT_EQ(export_scene(), 1);
  EXPECT_EQ(load()->nodes[3].record.nodeType, model3da::MESH_SKINNED_3DA);
  // A derived object without Physique: a plain mesh.
  mesh->object =
      with_modifiers(mesh_object({Point3(0, 0, 0), Point3(1, 0, 0), Point3(0, 1, 0)}, {{0, 1, 2}}),
                     {std::make_shared<host::PlainModifier>(Class_ID(0x77, 0))});
  ASSERT_EQ(export_scene(), 1);
  EXPECT_EQ(load()->nodes[3].record.nodeType, model3da::MESH_3DA);
}

TEST_F(PhysiqueTest, FailuresNameTheirCauseAndReleaseEveryInterface) {
  physique->offers_interface = false;
  expect_failure("cant retrieve physique interface for node 'Skin_0'!");
  physique->offers_interface = true;

  auto vertices = physique->vertices[mesh];
  physique->vertices.erase(mesh);
  expect_failure("cant retrieve physique context interface for node 'Skin_0'");

  // A modifier below Physique that adds a vertex.
  physique->vertices[mesh] = vertices;
  physique->vertices[mesh].pop_back();
  expect_failure("unknown error: mesh.numVerts != physique.numVerts!");

  for (const int type : {FLOATING_TYPE, DEFORMABLE_TYPE, DEFORMABLE_BLENDED_TYPE}) {
    physique->vertices[mesh] = vertices;
    physique->vertices[mesh][1].type = type;
    expect_failure(
        "Physique export error: unsoported vertex assignment type\nYou can use only Rigid and "
        "RigidBlended assignments...");
  }

  physique->vertices[mesh] = vertices;
  physique->vertices[mesh][2].links.clear();
  expect_failure("Physique vertex(2) of node 'Skin_0' names no bone");

  physique->vertices[mesh] = vertices;
  const Matrix3 bind_c = physique->init_tm[c];
  physique->init_tm.erase(c);
  expect_failure("cant retrieve physique initial transform of bone 'BoneC_0' for node 'Skin_0'");
  physique->init_tm[c] = Matrix3(Point3(1, 0, 0), Point3(1, 0, 0), Point3(0, 0, 1), Point3());
  expect_failure("Bone 'BoneC_0': its physique initial transform cannot be inverted");
  physique->init_tm[c] = bind_c;

  // A hidden bone gives no record to name.
  c->hidden = true;
  expect_failure("Bone 'BoneC_0' of skinned node 'Skin_0' is not among the exported nodes");
}

TEST_F(PhysiqueTest, AModifierOfAnotherClassIsRefused) {
  host::PlainModifier other(Class_ID(0x100, 1));
  std::vector<model3da::Matrix4> table(4, model3da::identity_matrix());
  PhysiqueSkin out;
  EXPECT_EQ(read_physique_skin(&other, mesh, 3, {}, table, out),
            "unknown physique modifier for node 'Skin_0'");
}

// A Physique whose context hands out no interface for vertex 1.
class PhysiqueWithoutVertex final : public Modifier, public IPhysiqueExport {
 public:
  explicit PhysiqueWithoutVertex(std::shared_ptr<host::PhysiqueModifier> inner)
      : inner_(std::move(inner)) {}
  Class_ID ClassID() override { return PHYSIQUE_CLASS_ID; }
  BaseInterface* GetInterface(uint32_t id) override {
    return id == I_PHYINTERFACE ? static_cast<IPhysiqueExport*>(this) : nullptr;
  }
  IPhyContextExport* GetContextInterface(INode* node) override {
    IPhyContextExport* context = inner_->GetContextInterface(node);
    return context != nullptr ? new Context(context) : nullptr;
  }
  void ReleaseContextInterface(IPhyContextExport* context) override {
    auto* own = dynamic_cast<Context*>(context);
    if (own == nullptr) return;
    inner_->ReleaseContextInterface(own->inner);
    delete own;
  }
  int GetInitNodeTM(INode* bone, Matrix3& tm) override { return inner_->GetInitNodeTM(bone, tm); }

 private:
  struct Context final : IPhyContextExport {
    explicit Context(IPhyContextExport* c) : inner(c) {}
    void ConvertToRigid(bool on) override { inner->ConvertToRigid(on); }
    void AllowBlending(bool on) override { inner->AllowBlending(on); }
    int GetNumberVertices() override { return inner->GetNumberVertices(); }
    IPhyVertexExport* GetVertexInterface(int i) override {
      return i == 1 ? nullptr : inner->GetVertexInterface(i);
    }
    void ReleaseVertexInterface(IPhyVertexExport* v) override { inner->ReleaseVertexInterface(v); }
    IPhyContextExport* inner;
  };
  std::shared_ptr<host::PhysiqueModifier> inner_;
};

TEST_F(PhysiqueTest, AVertexWithoutInterfaceFailsNamingIt) {
  mesh->object =
      with_modifiers(mesh_object({Point3(0, 0, 0), Point3(1, 0, 0), Point3(0, 1, 0)}, {{0, 1, 2}}),
                     {std::make_shared<PhysiqueWithoutVertex>(physique)});
  expect_failure("cant retrieve physique vertex(1) interface for node 'Skin_0'");
}

TEST_F(PhysiqueTest, BoneIndicesAreTheRecordsOfTheExport) {
  // A hidden node and an unselected subtree before the bones, and a light:
  // none of them is a record, so none of them counts.
  builder_.dummy("Aaa_0").hidden = true;
  builder_.light("Abc");
  host::SceneNode& unselected = builder_.dummy("Ab_0");
  builder_.dummy("Ab_1", &unselected);
  for (host::SceneNode* n : {a, b, c, mesh}) n->selected = true;
  ASSERT_EQ(export_scene("selected.3da", SCENE_EXPORT_SELECTED), 1);
  auto model = load("selected.3da");
  ASSERT_EQ(model->nodes.size(), 4u);
  EXPECT_EQ(model->nodes[0].record.name, "BoneA_0");
  const model3da::SurfaceView& s = model->nodes[3].surfaces.at(0);
  EXPECT_EQ(skin_near(*model, s, {0, 10, 0}), skin(0, 1, 20480, 12288));
  EXPECT_NE(model->nodes[2].record.transform, model3da::identity_matrix());

  // The whole scene: Ab_0 and Ab_1 come first and move every bone by two.
  ASSERT_EQ(export_scene("all.3da"), 1);
  model = load("all.3da");
  ASSERT_EQ(model->nodes.size(), 6u);
  EXPECT_EQ(skin_near(*model, model->nodes[5].surfaces.at(0), {0, 10, 0}),
            skin(2, 3, 20480, 12288));
  EXPECT_EQ(model->nodes[4].record.transform,
            (model3da::Matrix4{0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, -2, 1}));

  // A bone left out by the selection is named.
  c->selected = false;
  ui_.messages.clear();
  EXPECT_EQ(export_scene("failed.3da", SCENE_EXPORT_SELECTED), 0);
  EXPECT_EQ(messages(), (std::vector<std::string>{
                            "Bone 'BoneC_0' of skinned node 'Skin_0' is not among the exported "
                            "nodes"}));
}

TEST_F(PhysiqueTest, ACancelledExportKeepsItsRecordsOnlyWhenTheyHoldEveryBone) {
  // Each top-level node takes three polls of cancel; the thirteenth, before
  // the fifth node, cancels.
  builder_.dummy("Zed_0");
  scene_.cancel_after_polls = 12;
  ASSERT_EQ(export_scene(), 1);
  EXPECT_EQ(load()->nodes.size(), 4u);

  // A bone after the mesh: the records written do not reach it.
  host::SceneNode& late = builder_.dummy("Zbone_0");
  physique->init_tm[&late] = TransMatrix(Point3(0, 0, 1));
  physique->vertices[mesh][1] = rigid(&late, Point3(1, 0, 10));
  scene_.cancel_polls = 0;
  expect_failure(
      "The bones of skinned meshes were numbered over the 6 nodes planned for the export, but "
      "the 4 nodes exported do not hold them; nothing was written");
  // Not cancelled, the same scene exports.
  scene_.cancel_polls = 0;
  scene_.cancel_after_polls = -1;
  ASSERT_EQ(export_scene(), 1);
  auto model = load();
  EXPECT_EQ(model->nodes[4].record.name, "Zbone_0");
  EXPECT_EQ(skin_near(*model, model->nodes[3].surfaces.at(0), {1, 10, 0}),
            skin(4, 4, 16384, 16384));
}

TEST_F(PhysiqueTest, BoneIndexPast254FailsNamingTheBone) {
  // Helpers sorted before every bone: 252 of them put BoneC_0 at 254.
  for (int i = 0; i < 252; ++i) builder_.dummy(fmt_name(i));
  ASSERT_EQ(export_scene(), 1);
  auto model = load();
  EXPECT_EQ(skin_near(*model, model->nodes[255].surfaces.at(0), {1, 10, 0}),
            skin(254, 254, 16384, 16384));
  builder_.dummy(fmt_name(252));
  expect_failure(
      "Bone 'BoneC_0' of skinned node 'Skin_0' has node index 255; skin data holds node indices "
      "up to 254");
}

}  // namespace
}  // namespace scenepress::testing
