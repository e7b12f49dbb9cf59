// Imports of the shared test scenes, checked against Assimp's own reading
// of the same files: world transforms at every key, bind poses of skins,
// channels, materials, and the failures.
#include <gtest/gtest.h>

#include <assimp/scene.h>
#include <assimp/types.h>
#include <assimp/Importer.hpp>

#include <cmath>
#include <fstream>
#include <functional>

#include "host/class_ids.h"
#include "host/memory_objects.h"
#include "import/scene_import.h"
#include "source_axes.h"
#include "uvw_box_map.h"

namespace scene_import {
namespace {

// The shared test scenes: GM_TESTDATA from the environment, else the
// folder the build knows.
std::filesystem::path scene_file(const char* name) {
  const char* from_environment = std::getenv("GM_TESTDATA");
  return std::filesystem::path(from_environment ? from_environment : GM_TESTDATA) / "scenes" / name;
}

#define SKIP_WITHOUT(file)                                                           \
  if (!std::filesystem::exists(scene_file(file))) {                                  \
    GTEST_SKIP() << scene_file(file) << " is missing (set GM_TESTDATA to the data)"; \
  }

ImportResult import_ok(const char* file, ImportOptions options = {}) {
  ImportResult r = import_scene(scene_file(file), options);
  EXPECT_TRUE(r.ok()) << r.error;
  return r;
}

host::SceneNode* find(host::SceneNode& node, const std::string& name) {
  if (node.name == name) return &node;
  for (auto& child : node.children) {
    if (host::SceneNode* found = find(*child, name)) return found;
  }
  return nullptr;
}

void each_node(host::SceneNode& node, const std::function<void(host::SceneNode&)>& f) {
  for (auto& child : node.children) {
    f(*child);
    each_node(*child, f);
  }
}

// Equal within `tolerance` relative to the largest entry of `b`.
void expect_near(const Matrix3& a, const Matrix3& b, float tolerance, const std::string& what) {
  float largest = 1.0f;
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 3; ++c) largest = std::max(largest, std::fabs(b[r][c]));
  }
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 3; ++c) {
      EXPECT_NEAR(a[r][c], b[r][c], tolerance * largest) << what << " [" << r << "][" << c << "]";
    }
  }
}

// The same file as Assimp reads it, without any processing.
struct Source {
  Assimp::Importer importer;
  const aiScene* scene = nullptr;
  explicit Source(const char* file) { scene = importer.ReadFile(scene_file(file).string(), 0); }
  const aiNode* node(const std::string& name) const {
    return scene->mRootNode->FindNode(name.c_str());
  }
};

// Linear keys as Assimp's own evaluation takes them.
aiVector3D vector_at(const aiVectorKey* keys, unsigned n, double t) {
  if (t <= keys[0].mTime) return keys[0].mValue;
  for (unsigned i = 0; i + 1 < n; ++i) {
    if (t < keys[i + 1].mTime) {
      const float s = float((t - keys[i].mTime) / (keys[i + 1].mTime - keys[i].mTime));
      const aiVector3D& a = keys[i].mValue;
      const aiVector3D& b = keys[i + 1].mValue;
      return aiVector3D(a.x + (b.x - a.x) * s, a.y + (b.y - a.y) * s, a.z + (b.z - a.z) * s);
    }
  }
  return keys[n - 1].mValue;
}

aiQuaternion rotation_at(const aiQuatKey* keys, unsigned n, double t) {
  if (t <= keys[0].mTime) return keys[0].mValue;
  for (unsigned i = 0; i + 1 < n; ++i) {
    if (t < keys[i + 1].mTime) {
      aiQuaternion out;
      aiQuaternion::Interpolate(out, keys[i].mValue, keys[i + 1].mValue,
                                float((t - keys[i].mTime) / (keys[i + 1].mTime - keys[i].mTime)));
      return out.Normalize();
    }
  }
  return keys[n - 1].mValue;
}

// The node's source world transform at clip time t.
aiMatrix4x4 source_world(const aiNode* node, const aiAnimation* clip, double t) {
  aiMatrix4x4 world;
  for (const aiNode* n = node; n != nullptr; n = n->mParent) {
    aiMatrix4x4 local = n->mTransformation;
    for (unsigned i = 0; clip != nullptr && i < clip->mNumChannels; ++i) {
      const aiNodeAnim* ch = clip->mChannels[i];
      if (n->mName != ch->mNodeName) continue;
      aiVector3D s, p;
      aiQuaternion q;
      local.Decompose(s, q, p);
      if (ch->mNumScalingKeys) s = vector_at(ch->mScalingKeys, ch->mNumScalingKeys, t);
      if (ch->mNumRotationKeys) q = rotation_at(ch->mRotationKeys, ch->mNumRotationKeys, t);
      if (ch->mNumPositionKeys) p = vector_at(ch->mPositionKeys, ch->mNumPositionKeys, t);
      aiMatrix4x4 scale, move;
      aiMatrix4x4::Scaling(s, scale);
      aiMatrix4x4::Translation(p, move);
      local = move * aiMatrix4x4(q.GetMatrix()) * scale;
    }
    world = local * world;
  }
  return world;
}

// Every imported node's world transform at time `ticks` is the source's.
void expect_source_worlds(host::Scene& scene, const Source& source, double clip_time, int ticks,
                          float tolerance) {
  const aiAnimation* clip = source.scene->mNumAnimations ? source.scene->mAnimations[0] : nullptr;
  each_node(scene.root(), [&](host::SceneNode& node) {
    const aiNode* from = source.node(node.name);
    ASSERT_NE(from, nullptr) << node.name;
    expect_near(node.GetObjectTM(ticks), host_matrix(source_world(from, clip, clip_time)),
                tolerance, node.name + " at tick " + std::to_string(ticks));
  });
}

TEST(SceneImportTest, StaticScenesKeepEverySourceWorldTransform) {
  for (const char* file : {"BoxTextured.glb", "cube_with_2UVs.DAE", "spider.obj",
                           "AnimatedMorphCube.gltf", "quad_skin.glb"}) {
    SKIP_WITHOUT(file);
    SCOPED_TRACE(file);
    ImportResult r = import_ok(file);
    ASSERT_TRUE(r.scene);
    Source source(file);
    ASSERT_NE(source.scene, nullptr);
    expect_source_worlds(*r.scene, source, 0.0, 0, 1e-4f);
  }
}

TEST(SceneImportTest, RotatingCubeKeysGiveTheSourceRotationAtEveryKey) {
  SKIP_WITHOUT("RotatingCube.3DS");
  ImportResult r = import_ok("RotatingCube.3DS");
  ASSERT_TRUE(r.scene);
  Source source("RotatingCube.3DS");
  const aiNodeAnim* channel = source.scene->mAnimations[0]->mChannels[0];
  host::SceneNode* box = find(r.scene->root(), "Box01");
  ASSERT_NE(box, nullptr);
  // The file's root only turns Z-up into Y-up: it is folded away.
  EXPECT_EQ(box->parent, &r.scene->root());
  Control* rotation = box->GetTMController()->GetRotationController();
  ASSERT_EQ(rotation->NumKeys(), int(channel->mNumRotationKeys));
  EXPECT_EQ(rotation->ClassID(), LININTERP_ROTATION_CLASS_ID);
  // Times without a rate are frames at 30 per second: 160 ticks each.
  EXPECT_EQ(r.scene->GetAnimRange().End(), 181 * 160);
  for (unsigned k = 0; k < channel->mNumRotationKeys; ++k) {
    const double time = channel->mRotationKeys[k].mTime;
    EXPECT_EQ(rotation->GetKeyTime(int(k)), int(time * 160));
    expect_source_worlds(*r.scene, source, time, int(time * 160), 1e-4f);
  }
}

TEST(SceneImportTest, SkeletonAnimationFollowsTheSourceBetweenAndAtKeys) {
  SKIP_WITHOUT("huesitos.fbx");
  ImportResult r = import_ok("huesitos.fbx");
  ASSERT_TRUE(r.scene);
  Source source("huesitos.fbx");
  const aiAnimation* clip = source.scene->mAnimations[0];
  EXPECT_EQ(r.animation, clip->mName.C_Str());
  // 25 ticks per second in the file; 4800 ticks per second in the host.
  EXPECT_EQ(r.scene->GetAnimRange().End(), int(std::lround(clip->mDuration / 25.0 * 4800)));
  for (double time = 0.0; time <= clip->mDuration; time += 2.5) {
    SCOPED_TRACE(time);
    expect_source_worlds(*r.scene, source, time, int(std::lround(time / 25.0 * 4800)), 1e-4f);
  }
}

// The weighted bind positions of every skinned vertex are its place in the
// world; bones are the nodes the source names, bound where they stand.
void expect_skin(host::Scene& scene, const std::string& mesh_name, size_t bones) {
  host::SceneNode* node = find(scene.root(), mesh_name);
  ASSERT_NE(node, nullptr);
  auto* derived = dynamic_cast<host::DerivedObject*>(node->GetObjectRef());
  ASSERT_NE(derived, nullptr);
  ASSERT_EQ(derived->NumModifiers(), 1);
  auto* physique = dynamic_cast<host::PhysiqueModifier*>(derived->GetModifier(0));
  ASSERT_NE(physique, nullptr);
  EXPECT_EQ(physique->ClassID(), PHYSIQUE_CLASS_ID);
  const Mesh& mesh = dynamic_cast<TriObject*>(node->EvalWorldState(0).obj)->mesh;
  const auto& vertices = physique->vertices[node];
  ASSERT_EQ(vertices.size(), mesh.verts.size());
  const Matrix3 world = node->GetObjectTM(0);
  for (size_t v = 0; v < vertices.size(); ++v) {
    EXPECT_EQ(vertices[v].type, RIGID_BLENDED_TYPE);
    float total = 0.0f;
    Point3 bound;
    for (const host::PhysiqueLink& link : vertices[v].links) {
      total += link.weight;
      Matrix3 bind;
      ASSERT_EQ(physique->GetInitNodeTM(link.bone, bind), MATRIX_RETURNED);
      bound += (link.offset * bind) * link.weight;
    }
    EXPECT_NEAR(total, 1.0f, 1e-5f);
    const Point3 expected = mesh.verts[v] * world;
    EXPECT_NEAR((bound - expected).Length(), 0.0f, 1e-3f * (1.0f + expected.Length())) << v;
  }
  EXPECT_EQ(physique->init_tm.size(), bones);
  for (const auto& [bone, bind] : physique->init_tm) {
    expect_near(bind, bone->GetNodeTM(0), 1e-4f, bone->GetName());
  }
}

TEST(SceneImportTest, SkinnedMeshesGetPhysiqueWithTheirBindPose) {
  for (const char* file : {"quad_skin.glb", "huesitos.fbx"}) SKIP_WITHOUT(file);
  ImportResult quad = import_ok("quad_skin.glb");
  ASSERT_TRUE(quad.scene);
  expect_skin(*quad.scene, "Plane", 10);
  ImportResult bones = import_ok("huesitos.fbx");
  ASSERT_TRUE(bones.scene);
  // Bone.005 holds no vertex but is bound all the same.
  expect_skin(*bones.scene, "Cylinder", 9);
}

TEST(SceneImportTest, CamerasAndLightsAreObjectsTheExporterLeavesOut) {
  SKIP_WITHOUT("huesitos.fbx");
  ImportResult r = import_ok("huesitos.fbx");
  ASSERT_TRUE(r.scene);
  host::SceneNode* lamp = find(r.scene->root(), "Lamp");
  host::SceneNode* camera = find(r.scene->root(), "Camera");
  ASSERT_TRUE(lamp && camera);
  EXPECT_EQ(lamp->EvalWorldState(0).obj->SuperClassID(), LIGHT_CLASS_ID);
  EXPECT_EQ(camera->EvalWorldState(0).obj->SuperClassID(), CAMERA_CLASS_ID);
  // A bone is a dummy with a box from its child.
  auto* bone = dynamic_cast<host::DummyObject*>(find(r.scene->root(), "Bone.008")->object.get());
  ASSERT_NE(bone, nullptr);
  EXPECT_NEAR(bone->box.pmax.z, 0.763947f, 1e-4f);
}

TEST(SceneImportTest, TextureSetsColoursAndMaterialsReachTheHost) {
  for (const char* file : {"cube_with_2UVs.DAE", "spider.obj", "quad_skin.glb"}) {
    SKIP_WITHOUT(file);
  }
  ImportResult cube = import_ok("cube_with_2UVs.DAE");
  ASSERT_TRUE(cube.scene);
  const Mesh& two =
      dynamic_cast<TriObject*>(find(cube.scene->root(), "node-Quader01")->EvalWorldState(0).obj)
          ->mesh;
  EXPECT_TRUE(two.mapSupport(1));
  EXPECT_TRUE(two.mapSupport(2));
  EXPECT_FALSE(two.mapSupport(3));
  bool differ = false;
  for (int f = 0; f < two.getNumFaces(); ++f) {
    for (int c = 0; c < 3; ++c) {
      differ = differ ||
               two.mapVerts(1)[two.mapFaces(1)[f].t[c]] != two.mapVerts(2)[two.mapFaces(2)[f].t[c]];
    }
  }
  EXPECT_TRUE(differ);

  ImportResult quad = import_ok("quad_skin.glb");
  ASSERT_TRUE(quad.scene);
  const Mesh& coloured =
      dynamic_cast<TriObject*>(find(quad.scene->root(), "Plane")->EvalWorldState(0).obj)->mesh;
  EXPECT_TRUE(coloured.mapSupport(0));

  ImportResult spider = import_ok("spider.obj");
  ASSERT_TRUE(spider.scene);
  std::set<std::string> materials;
  int meshes = 0;
  each_node(spider.scene->root(), [&](host::SceneNode& node) {
    ++meshes;
    ASSERT_TRUE(node.material);
    EXPECT_EQ(node.material->ClassID(), DMTL_CLASS_ID);
    materials.insert(node.material->GetName());
  });
  EXPECT_EQ(meshes, 19);
  EXPECT_EQ(materials, (std::set<std::string>{"Augentex", "BeinTex", "HLeibTex", "Skin"}));
  auto* body = find(spider.scene->root(), "HLeib01")->material.get();
  auto* map = dynamic_cast<BitmapTex*>(body->GetSubTexmap(ID_DI));
  ASSERT_NE(map, nullptr);
  EXPECT_EQ(map->GetMapName(), ".\\SpiderTex.jpg");
  EXPECT_EQ(map->GetMapChannel(), 1);
  ASSERT_NE(map->GetBitmap(0), nullptr);  // beside the scene
  EXPECT_FALSE(map->GetBitmap(0)->HasAlpha());
}

TEST(SceneImportTest, EmbeddedTextureIsNamedAndWrittenBesideTheOutput) {
  SKIP_WITHOUT("BoxTextured.glb");
  ImportResult r = import_ok("BoxTextured.glb");
  ASSERT_TRUE(r.scene);
  EXPECT_EQ(scene_tree(*r.scene),
            "Scene Root  animation from tick 0 to 0\n"
            "  nodes[1]  mesh: 8 vertices, 12 faces, material ids 0, map channels 1, 3 smoothing "
            "groups\n"
            "      material Texture  standard, diffuse colour (1, 1, 1), diffuse "
            "BoxTextured_0.png on channel 1\n"
            "      position (0, 0, 0)\n"
            "      rotation (0.707107, 0, 0, 0.707107)\n"
            "      scale (1, 1, 1)\n");
  ASSERT_EQ(r.images.size(), 1u);
  EXPECT_EQ(r.images[0].file_name, "BoxTextured_0.png");
  const auto folder = std::filesystem::temp_directory_path() / "scene_import_test_images";
  std::filesystem::create_directories(folder);
  ASSERT_EQ(write_embedded_images(r.images, folder), "");
  std::ifstream in(folder / "BoxTextured_0.png", std::ios::binary);
  const std::vector<uint8_t> written((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
  EXPECT_EQ(written, r.images[0].bytes);
  EXPECT_EQ(written.size(), 2433u);
  // A name that would leave the folder is refused.
  EXPECT_NE(write_embedded_images({{"../escape.png", {1}}}, folder), "");
  EXPECT_FALSE(std::filesystem::exists(folder.parent_path() / "escape.png"));
  std::filesystem::remove_all(folder);
}

TEST(SceneImportTest, MeshesWithoutTextureCoordinatesGetABoxMapWhenAsked) {
  SKIP_WITHOUT("AnimatedMorphCube.gltf");
  ImportResult plain = import_ok("AnimatedMorphCube.gltf");
  ASSERT_TRUE(plain.scene);
  auto mesh_of = [](ImportResult& r) -> Mesh& {
    return dynamic_cast<TriObject*>(
               find(r.scene->root(), "AnimatedMorphCube")->EvalWorldState(0).obj)
        ->mesh;
  };
  EXPECT_FALSE(has_texture_channel(mesh_of(plain)));
  EXPECT_TRUE(plain.box_mapped.empty());
  ImportOptions options;
  options.uvw_map_box = true;
  ImportResult mapped = import_ok("AnimatedMorphCube.gltf", options);
  ASSERT_TRUE(mapped.scene);
  EXPECT_TRUE(mesh_of(mapped).mapSupport(1));
  EXPECT_EQ(mapped.box_mapped, (std::vector<std::string>{"AnimatedMorphCube"}));
  // The morph animation is not carried, and the note says so.
  ASSERT_FALSE(mapped.notes.empty());
  EXPECT_NE(mapped.notes[0].find("morph"), std::string::npos);
}

TEST(SceneImportTest, AnimationIsChosenByNameOrIndex) {
  SKIP_WITHOUT("huesitos.fbx");
  ImportOptions options;
  options.animation = "Armature|Action";
  EXPECT_TRUE(import_scene(scene_file("huesitos.fbx"), options).ok());
  options.animation = "0";
  EXPECT_EQ(import_scene(scene_file("huesitos.fbx"), options).animation, "Armature|Action");
  options.animation = "Walk";
  const ImportResult missing = import_scene(scene_file("huesitos.fbx"), options);
  EXPECT_EQ(missing.error, scene_file("huesitos.fbx").string() +
                               ": no animation Walk (the file has 0 \"Armature|Action\")");
  EXPECT_FALSE(missing.scene);
}

TEST(SceneImportTest, UnreadableFilesFailWithOneLineNamingTheFile) {
  const auto folder = std::filesystem::temp_directory_path() / "scene_import_test_broken";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "broken.glb", std::ios::binary) << "glTF\x02\0\0\0garbage";
  std::ofstream(folder / "notes.xyz") << "not a scene\n";
  for (const char* name : {"broken.glb", "notes.xyz", "missing.obj"}) {
    const ImportResult r = import_scene(folder / name, {});
    EXPECT_FALSE(r.ok()) << name;
    EXPECT_EQ(r.error.rfind((folder / name).string() + ": ", 0), 0u) << r.error;
    EXPECT_EQ(r.error.find('\n'), std::string::npos) << r.error;
    EXPECT_GT(r.error.size(), (folder / name).string().size() + 2);
    EXPECT_FALSE(r.scene);
  }
  std::filesystem::remove_all(folder);
}

TEST(SceneImportTest, AMeshSharedByTwoNodesReachesBoth) {
  // One triangle mesh used by two nodes: the source arrays are released only
  // after the second has its host mesh.
  const auto folder = std::filesystem::temp_directory_path() / "scene_import_test_shared";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "shared.gltf")
      << R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0,1]}],
"nodes":[{"name":"Left","mesh":0},{"name":"Right","mesh":0,"translation":[2,0,0]}],
"meshes":[{"primitives":[{"attributes":{"POSITION":0}}]}],
"accessors":[{"bufferView":0,"componentType":5126,"count":3,"type":"VEC3",
"min":[0,0,0],"max":[1,1,0]}],"bufferViews":[{"buffer":0,"byteLength":36}],
"buffers":[{"byteLength":36,
"uri":"data:application/octet-stream;base64,AAAAAAAAAAAAAAAAAACAPwAAAAAAAAAAAAAAAAAAgD8AAAAA"}]})";
  ImportResult r = import_scene(folder / "shared.gltf", {});
  ASSERT_TRUE(r.ok()) << r.error;
  for (const char* name : {"Left", "Right"}) {
    host::SceneNode* node = find(r.scene->root(), name);
    ASSERT_NE(node, nullptr) << name;
    const Mesh& mesh = dynamic_cast<TriObject*>(node->EvalWorldState(0).obj)->mesh;
    EXPECT_EQ(mesh.getNumVerts(), 3) << name;
    EXPECT_EQ(mesh.getNumFaces(), 1) << name;
    EXPECT_EQ(mesh.verts[1], Point3(1, 0, 0)) << name;
  }
  std::filesystem::remove_all(folder);
}

TEST(SceneImportTest, ACancelStopsTheImport) {
  SKIP_WITHOUT("spider.obj");
  ImportOptions options;
  options.cancelled = [] { return true; };
  const ImportResult r = import_scene(scene_file("spider.obj"), options);
  EXPECT_EQ(r.error, scene_file("spider.obj").string() + ": import cancelled");
}

}  // namespace
}  // namespace scene_import
