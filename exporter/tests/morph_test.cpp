// Morph pairs through the plug-in: a source export writes a weld map per
// surface, a target export reuses them and checks that its nodes match.
#include <filesystem>
#include <fstream>

#include "export_fixture.h"
#include "host/class_ids.h"
#include "mesh_scenes.h"
#include "model3da/byte_io.h"

namespace scenepress::testing {
namespace {

constexpr const char* kSurfacesDoNotMatch =
    "Invalid 3da file specified as a morph source, surfaces do not match!";

// A flat quad of two triangles with unshared corners, the second
// triangle's copies of the shared corners moved by d.
std::shared_ptr<TriObject> split_quad(float d) {
  return mesh_object({Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 1, 0), Point3(d, d, 0),
                      Point3(1 + d, 1 + d, 0), Point3(0, 1, 0)},
                     {{0, 1, 2}, {3, 4, 5}});
}

class MorphTest : public ExportTest {
 protected:
  void SetUp() override {
    ExportTest::SetUp();
    body = &builder_.node("Body_0", cube_object(false));
    body->material = multi_material({"Paint", "Glass", "Chrome"});
    quad = &builder_.node("Quad_0", split_quad(0.001f));
  }
  int export_source() {
    write_options("!Morphing(s)\nMorphing(\"src\")\n");
    return export_scene("car.3da");
  }
  int export_target() {
    write_options("!Morphing(s)\nMorphing(\"dst\")\n");
    return export_scene("car.3da");
  }
  Mesh& body_mesh() { return std::dynamic_pointer_cast<TriObject>(body->object)->mesh; }
  std::filesystem::path map_file(const std::string& name) {
    return dir_ / "car.3da_0.3da_dir" / name;
  }
  std::vector<uint32_t> map_words(const std::string& name) {
    const std::string bytes = read_file("car.3da_0.3da_dir/" + name);
    std::vector<uint32_t> words;
    for (size_t i = 0; i + 4 <= bytes.size(); i += 4)
      words.push_back(model3da::read_u32(reinterpret_cast<const std::byte*>(bytes.data() + i)));
    return words;
  }
  // Expects the target export to fail with these message boxes (text and
  // caption) and to write no file.
  void expect_target_failure(const std::vector<std::pair<std::string, std::string>>& boxes) {
    ui_.messages.clear();
    EXPECT_EQ(export_target(), 0);
    std::vector<std::pair<std::string, std::string>> shown;
    for (const auto& m : ui_.messages) shown.push_back({m.text, m.caption});
    EXPECT_EQ(shown, boxes);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "car.3da_1.3da"));
  }

  host::SceneNode* body = nullptr;
  host::SceneNode* quad = nullptr;
};

TEST_F(MorphTest, ASourceExportWritesOneWeldMapPerSurface) {
  ASSERT_EQ(export_source(), 1);
  auto model = load("car.3da_0.3da");
  ASSERT_EQ(model->nodes.size(), 2u);
  // Body_0 (the name after the postfix): two surfaces of 18 corners, 12
  // vertices each.
  const model3da::NodeView& cube = model->nodes[0];
  ASSERT_EQ(cube.surfaces.size(), 2u);
  for (const char* name : {"Body_0.0", "Body_0.1", "Quad_0.0"}) {
    EXPECT_TRUE(std::filesystem::is_regular_file(map_file(name))) << name;
  }
  EXPECT_FALSE(std::filesystem::exists(map_file("Body_0.2")));
  const std::vector<uint32_t> words = map_words("Body_0.0");
  ASSERT_EQ(words.size(), 2u + 18u + 12u);
  EXPECT_EQ(words[0], 18u);
  EXPECT_EQ(words[1], 11u);
  for (size_t k = 0; k < 18; ++k) EXPECT_LT(words[2 + k], 12u);
}

TEST_F(MorphTest, MovedVerticesKeepTheSourceVerticesAndLists) {
  ASSERT_EQ(export_source(), 1);
  body_mesh().verts[7] = Point3(1.5f, 1.2f, 1.1f);
  // Welded afresh, the quad's corners would now become 4 vertices.
  quad->object = split_quad(0.00005f);
  ASSERT_EQ(export_target(), 1);
  EXPECT_TRUE(messages().empty());
  auto source = load("car.3da_0.3da");
  auto target = load("car.3da_1.3da");
  ASSERT_EQ(target->nodes.size(), source->nodes.size());
  bool moved = false;
  for (size_t n = 0; n < source->nodes.size(); ++n) {
    ASSERT_EQ(target->nodes[n].surfaces.size(), source->nodes[n].surfaces.size());
    for (size_t s = 0; s < source->nodes[n].surfaces.size(); ++s) {
      const model3da::SurfaceView& a = source->nodes[n].surfaces[s];
      const model3da::SurfaceView& b = target->nodes[n].surfaces[s];
      EXPECT_EQ(b.record.vertexCount, a.record.vertexCount);
      EXPECT_EQ(list_of(*target, b), list_of(*source, a));
      for (uint32_t v = 0; v < a.record.vertexCount; ++v)
        moved = moved || target->position(b, v) != source->position(a, v);
    }
  }
  EXPECT_TRUE(moved);
  EXPECT_EQ(target->nodes[1].surfaces[0].record.vertexCount, 6u);
}

TEST_F(MorphTest, ARenamedMeshFailsTheTarget) {
  ASSERT_EQ(export_source(), 1);
  quad->name = "Panel_0";
  expect_target_failure(
      {{"Invalid 3da file specified as a morph source, node not found: Panel_0", "Error..."}});
}

TEST_F(MorphTest, AnAddedMaterialFailsTheTarget) {
  ASSERT_EQ(export_source(), 1);
  body_mesh().faces[0].matID = 2;
  expect_target_failure(
      {{"Invalid 3da file specified as a morph source, surface not found!", "Error..."}});
}

TEST_F(MorphTest, ADeletedWeldMapFolderFailsWithUnableToOpenFile) {
  ASSERT_EQ(export_source(), 1);
  std::filesystem::remove_all(dir_ / "car.3da_0.3da_dir");
  expect_target_failure({{"unable to open file!", "Err.."}, {kSurfacesDoNotMatch, "Error..."}});
}

TEST_F(MorphTest, MoreCornersInASurfaceFailWithTheTriListBox) {
  ASSERT_EQ(export_source(), 1);
  // Both triangles of the -x side get material 0: surface 0 grows by 6
  // corners, surface 1 shrinks, the count of surfaces stays.
  body_mesh().faces[6].matID = 0;
  body_mesh().faces[7].matID = 0;
  expect_target_failure(
      {{"src tri list != dest tri list", "Err.."}, {kSurfacesDoNotMatch, "Error..."}});
}

TEST_F(MorphTest, AWeldMapThatDoesNotFitIsRefusedBeforeUse) {
  ASSERT_EQ(export_source(), 1);
  // Corner 0 names vertex 40 of a map of 12 vertices.
  std::vector<uint32_t> words = map_words("Body_0.0");
  words[2] = 40;
  {
    std::ofstream out(map_file("Body_0.0"), std::ios::binary | std::ios::trunc);
    for (uint32_t w : words) {
      const char bytes[4] = {char(w), char(w >> 8), char(w >> 16), char(w >> 24)};
      out.write(bytes, 4);
    }
  }
  expect_target_failure({{kSurfacesDoNotMatch, "Error..."}});
  // A map cut short.
  std::filesystem::resize_file(map_file("Body_0.0"), 20);
  expect_target_failure({{kSurfacesDoNotMatch, "Error..."}});
}

TEST_F(MorphTest, TrianglesTheStripBuilderDropsDoNotBreakThePair) {
  // The same triangle twice: the strip builder keeps one, so the list holds
  // 3 indices for 6 corners.
  quad->object =
      mesh_object({Point3(0, 0, 0), Point3(1, 0, 0), Point3(0, 1, 0)}, {{0, 1, 2}, {0, 1, 2}});
  ASSERT_EQ(export_source(), 1);
  EXPECT_EQ(load("car.3da_0.3da")->nodes[1].surfaces.at(0).record.listIndexCount, 3u);
  ASSERT_EQ(export_target(), 1);
  EXPECT_EQ(load("car.3da_1.3da")->nodes[1].surfaces.at(0).record.listIndexCount, 3u);
}

TEST_F(MorphTest, AWeldMapThatCannotBeWrittenFailsTheSourceNamingTheFile) {
  // A file where the map folder should be.
  std::ofstream(dir_ / "car.3da_0.3da_dir") << "in the way";
  EXPECT_EQ(export_source(), 0);
  const std::string file = (std::filesystem::path("car.3da_0.3da_dir") / "Body_0.0").string();
  EXPECT_EQ(messages(), (std::vector<std::string>{"Unable to write the weld map file " + file}));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "car.3da_0.3da"));
}

}  // namespace
}  // namespace scenepress::testing
