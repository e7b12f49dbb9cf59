// The scenepress program on the shared test scenes: each export through the
// real program and plug-in, every file checked by `model3da check` and read
// back through model3da's loader, the values compared with Assimp's own
// reading of the source file.
#include <gtest/gtest.h>

#include <assimp/scene.h>
#include <assimp/types.h>
#include <assimp/Importer.hpp>

#include <fstream>
#include <set>
#include <sstream>

#include "model3da/model.h"
#include "program_run.h"

namespace scenepress_app::testing {
namespace {

std::filesystem::path scene_file(const std::string& name) {
  const char* from_environment = std::getenv("GM_TESTDATA");
  return std::filesystem::path(from_environment ? from_environment : GM_TESTDATA) / "scenes" / name;
}

#define SKIP_WITHOUT(file)                                                           \
  if (!std::filesystem::exists(scene_file(file))) {                                  \
    GTEST_SKIP() << scene_file(file) << " is missing (set GM_TESTDATA to the data)"; \
  }

// Surfaces come from the plug-in's geometry export; where it writes none
// yet, the checks of surface data cannot run.
#define SKIP_WITHOUT_SURFACES(node)                                              \
  if ((node).surfaces.empty()) {                                                 \
    GTEST_SKIP() << "the plug-in writes no surfaces for " << (node).record.name; \
  }

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           (std::string("scenepress_app_") + info->test_suite_name() + "_" + info->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_ / "out");
    std::filesystem::create_directories(dir_ / "plugcfg");
  }
  void TearDown() override {
    if (!HasFailure()) std::filesystem::remove_all(dir_);
  }

  // Runs the program with an empty plug-in configuration folder.
  ProgramRun run(std::vector<std::string> arguments) {
    arguments.push_back("--plugcfg");
    arguments.push_back((dir_ / "plugcfg").string());
    return run_program(GM_SCENEPRESS_PROGRAM, arguments, dir_);
  }
  // Exports a shared scene to out/NAME; expects success and a file that
  // `model3da check` accepts, and returns it loaded.
  std::unique_ptr<model3da::Model> export_ok(const std::string& scene, const std::string& name,
                                             std::vector<std::string> extra = {}) {
    std::vector<std::string> arguments{scene_file(scene).string(), "-o", "out/" + name};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    last_ = run(arguments);
    EXPECT_EQ(last_.exit_code, 0) << last_.err;
    const ProgramRun check = run_program(GM_MODEL3DA_PROGRAM, {"check", "out/" + name}, dir_);
    EXPECT_EQ(check.exit_code, 0) << check.out << check.err;
    model3da::LoadResult loaded = model3da::load_model_file(dir_ / "out" / name);
    EXPECT_TRUE(loaded.ok()) << loaded.message;
    return std::move(loaded.model);
  }
  std::string read(const std::string& name) const {
    std::ifstream in(dir_ / name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }

  std::filesystem::path dir_;
  ProgramRun last_;
};

const model3da::NodeView* node_named(const model3da::Model& model, const std::string& name) {
  return model3da::find_node_by_name(model, name);
}

// The rotation the file holds for a node, as the quaternion of a row-vector
// matrix, against a source rotation (column vectors): the conjugate, up to
// the sign of the whole quaternion.
void expect_file_rotation(std::span<const float> file, const aiQuaternion& source,
                          const std::string& what) {
  const float same =
      file[0] * -source.x + file[1] * -source.y + file[2] * -source.z + file[3] * source.w;
  EXPECT_NEAR(std::fabs(same), 1.0f, 1e-4f) << what;
}

aiQuaternion rotation_of(const aiMatrix4x4& m) {
  aiVector3D scale, position;
  aiQuaternion rotation;
  m.Decompose(scale, rotation, position);
  return rotation;
}

TEST_F(ProgramTest, BoxTexturedGivesAMeshNodeItsTextureScriptAndLog) {
  SKIP_WITHOUT("BoxTextured.glb");
  auto model = export_ok("BoxTextured.glb", "box.3da", {"--material-scripts"});
  ASSERT_TRUE(model);
  EXPECT_NE(last_.out.find("wrote " + (dir_ / "out" / "BoxTextured_0.png").string()),
            std::string::npos)
      << last_.out;
  EXPECT_EQ(read("out/BoxTextured_0.png").substr(1, 3), "PNG");
  const std::string written = (dir_ / "out" / "box.3da").string();
  EXPECT_NE(last_.out.find("wrote " + written + ": 1 nodes, 1 materials, 0 frames; log " + written +
                           ".log\n"),
            std::string::npos)
      << last_.out;
  ASSERT_EQ(model->header.nodeCount, 1u);
  EXPECT_EQ(model->nodes[0].record.name, "nodes[1]_0");
  // The renaming warning is a message box: one line on standard error.
  EXPECT_NE(last_.err.find("Error...: Scenepress::ExportGeomData(..): No LOD postfix '_x'. "
                           "Changing node name nodes[1] -> nodes[1]_0\n"),
            std::string::npos)
      << last_.err;
  const std::string log = read("out/box.3da.log");
  EXPECT_EQ(log.rfind("exporter version : 10010\r\n", 0), 0u) << log;
  EXPECT_NE(log.find("max file: " + scene_file("BoxTextured.glb").string() + "\r\n"),
            std::string::npos);
  EXPECT_NE(log.find("num elements: 1\r\n"), std::string::npos);
  EXPECT_NE(log.find(": nodes[1]_0, idx: 0\r\n"), std::string::npos);

  const model3da::NodeView& node = model->nodes[0];
  SKIP_WITHOUT_SURFACES(node);
  EXPECT_EQ(node.record.nodeType, model3da::MESH_3DA);
  ASSERT_EQ(node.surfaces.size(), 1u);
  EXPECT_EQ(node.surfaces[0].record.vertexCount, 24u);
  EXPECT_EQ(node.surfaces[0].record.listIndexCount, 36u);
  ASSERT_EQ(model->materials.size(), 1u);
  EXPECT_EQ(model->materials[0].name, "Texture.mat");
  EXPECT_EQ(model->materials[0].textures[0], "BoxTextured_0.png");
  const std::string script = read("out/Texture.mat");
  EXPECT_NE(script.find("Image(\"BoxTextured_0.png\")"), std::string::npos) << script;
  EXPECT_NE(log.find("MESH_3DA: nodes[1]_0, idx: 0\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("v: 24 f: 12 list: 36 strip: 0 mat: Texture.mat"), std::string::npos);
}

TEST_F(ProgramTest, TreeShowsTheImportedHostScene) {
  SKIP_WITHOUT("BoxTextured.glb");
  const ProgramRun r = run({"--tree", scene_file("BoxTextured.glb").string()});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out,
            "Scene Root  animation from tick 0 to 0\n"
            "  nodes[1]  mesh: 8 vertices, 12 faces, material ids 0, map channels 1, 3 smoothing "
            "groups\n"
            "      material Texture  standard, diffuse colour (1, 1, 1), diffuse "
            "BoxTextured_0.png on channel 1\n"
            "      position (0, 0, 0)\n"
            "      rotation (0.707107, 0, 0, 0.707107)\n"
            "      scale (1, 1, 1)\n");
  // Nothing is written.
  EXPECT_TRUE(std::filesystem::is_empty(dir_ / "out"));
}

TEST_F(ProgramTest, RotatingCubeRotationTrackIsTheSourceRotationAtEveryKey) {
  SKIP_WITHOUT("RotatingCube.3DS");
  auto model = export_ok("RotatingCube.3DS", "cube.3da");
  ASSERT_TRUE(model);
  Assimp::Importer importer;
  const aiScene* source = importer.ReadFile(scene_file("RotatingCube.3DS").string(), 0);
  ASSERT_NE(source, nullptr);
  const aiNodeAnim* channel = source->mAnimations[0]->mChannels[0];
  // The file's root only turns the source's Z-up into Y-up; the node's
  // rotation in the file is its rotation in the world.
  const aiQuaternion root = rotation_of(source->mRootNode->mTransformation);
  const model3da::NodeView* box = node_named(*model, "Box01_0");
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(box->rotation);
  ASSERT_EQ(box->rotation->key_count(), int(channel->mNumRotationKeys));
  EXPECT_EQ(model->header.frameCount, 181u);
  for (unsigned k = 0; k < channel->mNumRotationKeys; ++k) {
    const int frame = int(channel->mRotationKeys[k].mTime);
    EXPECT_EQ(box->rotation->key_time(int(k)), frame);
    box->rotation->evaluate(float(frame), 0);
    expect_file_rotation(box->rotation->current_value(), root * channel->mRotationKeys[k].mValue,
                         "key " + std::to_string(k));
  }
}

TEST_F(ProgramTest, MorphCubeNeedsABoxMapAndKeepsItsRotation) {
  SKIP_WITHOUT("AnimatedMorphCube.gltf");
  ProgramRun plain = run({scene_file("AnimatedMorphCube.gltf").string(), "-o", "out/m.3da"});
  EXPECT_EQ(plain.exit_code, 1);
  EXPECT_NE(plain.err.find("Error...: No mapping applied for mesh: AnimatedMorphCube\n"
                           "scenepress: the mesh has no texture coordinates; --uvw-map box"),
            std::string::npos)
      << plain.err;
  EXPECT_FALSE(std::filesystem::exists(dir_ / "out" / "m.3da"));

  auto model = export_ok("AnimatedMorphCube.gltf", "m.3da", {"--uvw-map", "box"});
  ASSERT_TRUE(model);
  EXPECT_NE(last_.out.find("box map applied to mesh AnimatedMorphCube\n"), std::string::npos);
  Assimp::Importer importer;
  const aiScene* source = importer.ReadFile(scene_file("AnimatedMorphCube.gltf").string(), 0);
  ASSERT_NE(source, nullptr);
  const model3da::NodeView* cube = node_named(*model, "AnimatedMorphCube_0");
  ASSERT_NE(cube, nullptr);
  ASSERT_TRUE(cube->rotation && cube->scale);
  expect_file_rotation(cube->rotation->current_value(),
                       rotation_of(source->mRootNode->mTransformation), "static rotation");
  for (float s : cube->scale->current_value()) EXPECT_NEAR(s, 100.0f, 1e-3f);
}

TEST_F(ProgramTest, SkeletonTracksHoldTheSourceKeysAndSkinsNameTheirBones) {
  SKIP_WITHOUT("huesitos.fbx");
  auto model = export_ok("huesitos.fbx", "bones.3da");
  ASSERT_TRUE(model);
  Assimp::Importer importer;
  const aiScene* source = importer.ReadFile(scene_file("huesitos.fbx").string(), 0);
  ASSERT_NE(source, nullptr);
  const aiAnimation* clip = source->mAnimations[0];
  // Lamp and camera are left out: 10 bones and ends, the armature, the mesh.
  EXPECT_EQ(model->header.nodeCount, 13u);
  for (unsigned c = 0; c < clip->mNumChannels; ++c) {
    const aiNodeAnim* channel = clip->mChannels[c];
    const std::string name = std::string(channel->mNodeName.C_Str()) + "_0";
    const model3da::NodeView* node = node_named(*model, name);
    ASSERT_NE(node, nullptr) << name;
    ASSERT_EQ(node->rotation->key_count(), int(channel->mNumRotationKeys)) << name;
    for (unsigned k = 0; k < channel->mNumRotationKeys; ++k) {
      // 25 keys a second in the source, frames of 160 ticks in the file.
      const int frame = int(std::lround(channel->mRotationKeys[k].mTime / 25.0 * 4800)) / 160;
      EXPECT_EQ(node->rotation->key_time(int(k)), frame) << name;
      node->rotation->evaluate(float(frame), 0);
      expect_file_rotation(node->rotation->current_value(), channel->mRotationKeys[k].mValue,
                           name + " key " + std::to_string(k));
    }
  }

  const model3da::NodeView* mesh = node_named(*model, "Cylinder_0");
  ASSERT_NE(mesh, nullptr);
  SKIP_WITHOUT_SURFACES(*mesh);
  EXPECT_EQ(mesh->record.nodeType, model3da::MESH_SKINNED_3DA);
  for (const model3da::SurfaceView& surface : mesh->surfaces) {
    for (uint32_t v = 0; v < surface.record.vertexCount; ++v) {
      const std::byte* skin = model->block.data() + surface.record.skinOffset + 12 * v;
      for (int b = 0; b < 2; ++b) {
        const uint8_t bone = uint8_t(skin[b]);
        ASSERT_LT(bone, model->nodes.size());
        EXPECT_EQ(model->nodes[bone].record.name.rfind("Bone", 0), 0u);
      }
      const int total = model3da::read_u16(skin + 4) + model3da::read_u16(skin + 6);
      EXPECT_NEAR(total, 32768, 1);
    }
  }
}

TEST_F(ProgramTest, EverySharedSceneExportsToAValidFile) {
  for (const char* file : {"cube_with_2UVs.DAE", "spider.obj", "quad_skin.glb"}) {
    SKIP_WITHOUT(file);
    SCOPED_TRACE(file);
    auto model = export_ok(file, std::string(file) + ".3da");
    ASSERT_TRUE(model);
  }
}

model3da::Vec2 uv_of(const model3da::Model& model, const model3da::SurfaceView& surface, int set,
                     uint32_t v) {
  const std::byte* p = model.block.data() + surface.record.uvOffset[size_t(set)] + 8 * v;
  return {model3da::read_f32(p), model3da::read_f32(p + 4)};
}

TEST_F(ProgramTest, TwoTextureSetsFillTwoUvArrays) {
  SKIP_WITHOUT("cube_with_2UVs.DAE");
  auto model = export_ok("cube_with_2UVs.DAE", "cube.3da");
  ASSERT_TRUE(model);
  const model3da::NodeView* node = node_named(*model, "node-Quader01_0");
  ASSERT_NE(node, nullptr);
  SKIP_WITHOUT_SURFACES(*node);
  Assimp::Importer importer;
  const aiScene* source = importer.ReadFile(scene_file("cube_with_2UVs.DAE").string(), 0);
  ASSERT_NE(source, nullptr);
  const aiMesh& mesh = *source->mMeshes[0];
  ASSERT_TRUE(mesh.mTextureCoords[0] && mesh.mTextureCoords[1]);
  // Every vertex's pair of coordinates is one of the source's, v flipped.
  for (const model3da::SurfaceView& surface : node->surfaces) {
    for (uint32_t v = 0; v < surface.record.vertexCount; ++v) {
      const model3da::Vec2 a = uv_of(*model, surface, 0, v), b = uv_of(*model, surface, 1, v);
      bool found = false;
      for (unsigned i = 0; i < mesh.mNumVertices && !found; ++i) {
        const aiVector3D& s0 = mesh.mTextureCoords[0][i];
        const aiVector3D& s1 = mesh.mTextureCoords[1][i];
        found = std::fabs(a[0] - s0.x) < 1e-4f && std::fabs(a[1] - (1 - s0.y)) < 1e-4f &&
                std::fabs(b[0] - s1.x) < 1e-4f && std::fabs(b[1] - (1 - s1.y)) < 1e-4f;
      }
      EXPECT_TRUE(found) << "vertex " << v;
    }
  }
}

TEST_F(ProgramTest, SpiderMaterialsBecomeSurfacesAndPositionsKeepTheSourceAxes) {
  SKIP_WITHOUT("spider.obj");
  auto model = export_ok("spider.obj", "spider.3da");
  ASSERT_TRUE(model);
  EXPECT_EQ(model->header.nodeCount, 19u);
  const model3da::NodeView* body = node_named(*model, "HLeib01_0");
  ASSERT_NE(body, nullptr);
  SKIP_WITHOUT_SURFACES(*body);
  // Each material with a texture is one table entry, each surface uses one.
  std::set<uint32_t> used;
  for (const model3da::NodeView& node : model->nodes) {
    for (const model3da::SurfaceView& surface : node.surfaces) {
      used.insert(surface.record.materialIndex);
    }
  }
  EXPECT_GE(used.size(), 2u);
  Assimp::Importer importer;
  const aiScene* source = importer.ReadFile(scene_file("spider.obj").string(), 0);
  ASSERT_NE(source, nullptr);
  const aiMesh* mesh = nullptr;
  for (unsigned m = 0; m < source->mNumMeshes; ++m) {
    if (std::string(source->mMeshes[m]->mName.C_Str()) == "HLeib01") mesh = source->mMeshes[m];
  }
  ASSERT_NE(mesh, nullptr);
  for (const model3da::SurfaceView& surface : body->surfaces) {
    for (uint32_t v = 0; v < surface.record.vertexCount; ++v) {
      const model3da::Vec3 p = model->position(surface, v);
      bool found = false;
      for (unsigned i = 0; i < mesh->mNumVertices && !found; ++i) {
        const aiVector3D& s = mesh->mVertices[i];
        found = std::fabs(p[0] - s.x) < 1e-4f && std::fabs(p[1] - s.y) < 1e-4f &&
                std::fabs(p[2] - s.z) < 1e-4f;
      }
      EXPECT_TRUE(found) << "vertex " << v;
    }
  }
}

TEST_F(ProgramTest, QuadSkinWeightsNameBoneRecordsAndSumToOne) {
  SKIP_WITHOUT("quad_skin.glb");
  auto model = export_ok("quad_skin.glb", "quad.3da");
  ASSERT_TRUE(model);
  const model3da::NodeView* plane = node_named(*model, "Plane_0");
  ASSERT_NE(plane, nullptr);
  SKIP_WITHOUT_SURFACES(*plane);
  EXPECT_EQ(plane->record.nodeType, model3da::MESH_SKINNED_3DA);
  for (const model3da::SurfaceView& surface : plane->surfaces) {
    for (uint32_t v = 0; v < surface.record.vertexCount; ++v) {
      const std::byte* skin = model->block.data() + surface.record.skinOffset + 12 * v;
      for (int b = 0; b < 2; ++b) {
        const uint8_t bone = uint8_t(skin[b]);
        ASSERT_LT(bone, model->nodes.size());
        EXPECT_EQ(model->nodes[bone].record.name.rfind("Bone.00", 0), 0u)
            << model->nodes[bone].record.name;
      }
      const int total = model3da::read_u16(skin + 4) + model3da::read_u16(skin + 6);
      EXPECT_NEAR(total, 32768, 1);
    }
  }
}

TEST_F(ProgramTest, DamagedAndUnsupportedFilesFailWithOneLine) {
  std::ofstream(dir_ / "broken.glb", std::ios::binary) << "glTF\x02garbage";
  std::ofstream(dir_ / "notes.txt") << "not a scene\n";
  for (const char* name : {"broken.glb", "notes.txt", "missing.fbx"}) {
    const ProgramRun r = run({name, "-o", "out/x.3da"});
    EXPECT_EQ(r.exit_code, 1) << name;
    EXPECT_EQ(r.err.rfind(std::string("scenepress: ") + name + ": ", 0), 0u) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir_ / "out"));
}

TEST_F(ProgramTest, UsageErrorsExitWith2) {
  SKIP_WITHOUT("BoxTextured.glb");
  const std::string scene = scene_file("BoxTextured.glb").string();
  EXPECT_EQ(run({scene}).exit_code, 2);  // no output
  EXPECT_EQ(run({scene, "-o", "out/x.3da", "--tcoord", "0,4"}).exit_code, 2);
  EXPECT_EQ(run({scene, "-o", "out/x.3da", "--lighting", "bright"}).exit_code, 2);
  EXPECT_EQ(run({scene, "-o", "out/x.3da", "--selected", "NoSuchNode"}).exit_code, 2);
  // The options dialog has per-pixel lighting disabled.
  const ProgramRun pixel = run({scene, "-o", "out/x.3da", "--lighting", "pixel"});
  EXPECT_EQ(pixel.exit_code, 2);
  EXPECT_NE(pixel.err.find("per-pixel"), std::string::npos) << pixel.err;
  EXPECT_FALSE(std::filesystem::exists(dir_ / "out" / "x.3da"));
  EXPECT_EQ(run({"--help"}).exit_code, 0);
}

// Writes NAME.obj and NAME.mtl into `folder`: one triangle, node "Plate",
// whose material is named `material` and textured with paint.png.
void write_plate_scene(const std::filesystem::path& folder, const std::string& name,
                       const std::string& material) {
  std::ofstream(folder / "paint.png") << "";
  std::ofstream(folder / (name + ".mtl"))
      << "newmtl " << material << "\nKd 1 1 1\nmap_Kd paint.png\n";
  std::ofstream(folder / (name + ".obj")) << "mtllib " << name << ".mtl\no Plate\n"
                                          << "v 0 0 0\nv 1 0 0\nv 0 1 0\n"
                                          << "vt 0 0\nvt 1 0\nvt 0 1\n"
                                          << "usemtl " << material << "\nf 1/1 2/2 3/3\n";
}

TEST_F(ProgramTest, AMissingOutputFolderIsCreatedAndGoesAgainWhenTheExportFails) {
  write_plate_scene(dir_, "plate", "Paint");
  ProgramRun r = run({"plate.obj", "-o", "new/deeper/plate.3da", "--material-scripts"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("created " + (dir_ / "new" / "deeper").string() + "\n"), std::string::npos)
      << r.out;
  for (const char* file : {"plate.3da", "plate.3da.log", "Paint.mat"})
    EXPECT_TRUE(std::filesystem::exists(dir_ / "new" / "deeper" / file)) << file;
  // A folder made for an export that fails goes again; one that cannot be
  // made fails with one line naming it.
  r = run({"plate.obj", "-o", "gone/deeper/x.3da", "--lighting", "pixel"});
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "gone"));
  std::ofstream(dir_ / "broken.glb", std::ios::binary) << "glTF\x02garbage";
  r = run({"broken.glb", "-o", "never/x.3da"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "never"));
  std::ofstream(dir_ / "plain") << "a file\n";
  for (const char* output : {"plain/x.3da", "plain/sub/x.3da"}) {
    r = run({"plate.obj", "-o", output});
    EXPECT_EQ(r.exit_code, 1) << output;
    EXPECT_NE(r.err.find((dir_ / "plain").string()), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
  EXPECT_TRUE(std::filesystem::is_regular_file(dir_ / "plain"));
}

TEST_F(ProgramTest, MaterialScriptsStayInTheOutputFolderWhateverTheMaterialIsNamed) {
  // The import makes "../evil" a plain name; the plug-in refuses a name
  // that is a device on Windows. Nothing lands outside out/.
  write_plate_scene(dir_, "evil", "../evil");
  ProgramRun r = run({"evil.obj", "-o", "out/plate.3da", "--material-scripts"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_TRUE(std::filesystem::exists(dir_ / "out" / ".._evil.mat"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "evil.mat"));
  write_plate_scene(dir_, "device", "NUL");
  r = run({"device.obj", "-o", "out/device.3da", "--material-scripts"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("Material [NUL] of node [Plate"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("rename the material"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(dir_ / "out" / "device.3da"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "out" / "NUL.mat"));
}

TEST_F(ProgramTest, PluginIsCheckedBeforeAnythingIsRead) {
  SKIP_WITHOUT("BoxTextured.glb");
  const std::string scene = scene_file("BoxTextured.glb").string();
  ProgramRun r = run({scene, "-o", "out/x.3da", "--plugin", "no/such/plugin.so"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("cannot load the plug-in"), std::string::npos) << r.err;
  r = run({scene, "-o", "out/x.3da", "--plugin", GM_WRONG_VERSION_PLUGIN});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("is built for host version 0x1234"), std::string::npos) << r.err;
  EXPECT_TRUE(std::filesystem::is_empty(dir_ / "out"));
}

TEST_F(ProgramTest, OptionsScriptTakesPrecedenceAndTheProgramSaysSo) {
  SKIP_WITHOUT("RotatingCube.3DS");
  // A keyword is declared (!) before it is used.
  std::ofstream(dir_ / "plugcfg" / "scenepress.ini") << "!NoAnimation()\nNoAnimation()\n";
  auto model = export_ok("RotatingCube.3DS", "still.3da", {"--type", "normal"});
  ASSERT_TRUE(model);
  EXPECT_NE(last_.err.find("scenepress.ini, which takes precedence"), std::string::npos)
      << last_.err;
  const model3da::NodeView* box = node_named(*model, "Box01_0");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->rotation->key_count(), 1);
}

TEST_F(ProgramTest, DialogAnswersComeFromTheCommandLine) {
  SKIP_WITHOUT("RotatingCube.3DS");
  auto model = export_ok("RotatingCube.3DS", "still.3da", {"--type", "no-animation"});
  ASSERT_TRUE(model);
  EXPECT_EQ(node_named(*model, "Box01_0")->rotation->key_count(), 1);
  model = export_ok("RotatingCube.3DS", "moving.3da");
  ASSERT_TRUE(model);
  EXPECT_EQ(node_named(*model, "Box01_0")->rotation->key_count(), 182);
  EXPECT_EQ(last_.err.find("precedence"), std::string::npos);
}

TEST_F(ProgramTest, SelectedNodesAreExportedWithTheSelectedOnlyOption) {
  SKIP_WITHOUT("huesitos.fbx");
  auto model =
      export_ok("huesitos.fbx", "some.3da", {"--selected", "Armature", "Bone", "Bone.002"});
  ASSERT_TRUE(model);
  // Bone.002's parent Bone.001 is not selected: it goes with it.
  EXPECT_NE(last_.err.find("note: Bone.002 is not exported: its parent Bone.001 is not selected"),
            std::string::npos)
      << last_.err;
  ASSERT_EQ(model->header.nodeCount, 2u);
  EXPECT_EQ(model->nodes[0].record.name, "Armature_0");
  EXPECT_EQ(model->nodes[1].record.name, "Bone_0");
}

}  // namespace
}  // namespace scenepress_app::testing
