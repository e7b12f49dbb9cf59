// Mesh geometry built on a second thread beside the scene walk: the file,
// the log, the messages and their order must be those of the walk on one
// thread, also when a node fails while another one is being built.
#include <stdlib.h>

#include "export_fixture.h"
#include "mesh_scenes.h"

namespace scenepress::testing {
namespace {

// Sets the exporter's thread setting, or removes it for "".
void set_threads(const char* value) {
#if defined(_WIN32)
  ::_putenv_s("SCENEPRESS_THREADS", value);
#else
  if (*value != 0) {
    ::setenv("SCENEPRESS_THREADS", value, 1);
  } else {
    ::unsetenv("SCENEPRESS_THREADS");
  }
#endif
}

// What one export showed and wrote.
struct Outcome {
  int result = 0;
  std::vector<std::string> messages;
  std::string file;
  std::string log;
};

class GeometryPipelineTest : public ExportTest {
 protected:
  void SetUp() override {
    ExportTest::SetUp();
    default_options();
  }
  void TearDown() override {
    set_threads("");
    ExportTest::TearDown();
  }

  // Exports the scene to `name` with the geometry on one thread or two.
  Outcome run(const std::string& name, bool one_thread) {
    set_threads(one_thread ? "1" : "2");
    ui_.messages.clear();
    Outcome out;
    std::unique_ptr<SceneExport> exporter = make_exporter();
    out.result = exporter->DoExport(name.c_str(), nullptr, &scene_, false, 0);
    for (const auto& m : ui_.messages) out.messages.push_back(m.caption + ": " + m.text);
    out.file = read_file(name);
    out.log = read_file(name + ".log");
    return out;
  }

  void expect_same(const Outcome& one, const Outcome& two) {
    EXPECT_EQ(one.result, two.result);
    EXPECT_EQ(one.messages, two.messages);
    EXPECT_TRUE(one.file == two.file) << "the files differ";
    EXPECT_EQ(one.log, two.log);
  }

  // Exports the scene on one thread and on two, expects the same outcome,
  // and gives the one of two threads.
  Outcome run_on_one_and_two() {
    const Outcome one = run("one.3da", true);
    const Outcome two = run("two.3da", false);
    expect_same(one, two);
    return two;
  }
};

// A mesh with a map channel 1 holding nothing, so that its node fails
// before its geometry is built.
std::shared_ptr<TriObject> unmapped_mesh() {
  auto unmapped = host::triangle_mesh();
  unmapped->mesh.setNumMaps(1);
  return unmapped;
}

// A mesh whose face normal overflows, so that its geometry warns.
std::shared_ptr<TriObject> overflowing_mesh() {
  return mesh_object({Point3(0, 0, 0), Point3(3e38f, 0, 0), Point3(0, 3e38f, 0), Point3(0, 0, 1)},
                     {{0, 1, 2}, {0, 3, 1}});
}

// A mesh of separate triangles with more vertices than a surface holds.
std::shared_ptr<TriObject> oversized_mesh() {
  std::vector<Point3> verts;
  std::vector<TestFace> faces;
  for (uint32_t t = 0; t < 21846; ++t) {
    const float x = float(t);
    verts.insert(verts.end(), {Point3(x, 0, 0), Point3(x, 1, 0), Point3(x, 0, 1)});
    faces.push_back({3 * t, 3 * t + 1, 3 * t + 2});
  }
  return mesh_object(verts, faces);
}

TEST_F(GeometryPipelineTest, TwoThreadsWriteAndShowWhatOneThreadDoes) {
  // Meshes one after another and under helpers and meshes, with renames
  // (no LOD postfix), a geometry warning and strip notes between them.
  host::SceneNode& a = builder_.node("A", cube_object(true));
  builder_.node("A1_0", cube_object(false), &a);
  builder_.node("A2", overflowing_mesh(), &a);
  host::SceneNode& d = builder_.dummy("D");
  builder_.node("Fin_0",
                mesh_object({Point3(0, 0, 0), Point3(1, 0, 0), Point3(0, 1, 0), Point3(0, -1, 0),
                             Point3(1, 1, 0)},
                            {{0, 1, 2}, {1, 0, 3}, {0, 1, 4}}),
                &d);
  builder_.node("Huge", overflowing_mesh());
  builder_.node("Z_0", cube_object(false));
  const Outcome two = run_on_one_and_two();
  ASSERT_EQ(two.result, 1);
  // Each renamed mesh's warning follows its rename and comes before the
  // next node's messages.
  const std::vector<std::string> expected = {
      "Error...: Scenepress::ExportGeomData(..): No LOD postfix '_x'. Changing node name A -> A_0",
      "Error...: Scenepress::ExportGeomData(..): No LOD postfix '_x'. Changing node name A2 -> "
      "A2_0",
      "Error...: FaceNormal not correct!!! degenerate face -> try to weld vertices!",
      "Error...: Scenepress::ExportHelperData(..): No LOD postfix '_x'. Changing node name D -> "
      "D_0",
      "Error...: Scenepress::ExportGeomData(..): No LOD postfix '_x'. Changing node name Huge -> "
      "Huge_0",
      "Error...: FaceNormal not correct!!! degenerate face -> try to weld vertices!"};
  EXPECT_EQ(two.messages, expected);
  EXPECT_NE(two.log.find("Fin_0: BuildStripifyInfo"), std::string::npos);
  EXPECT_EQ(load("two.3da")->nodes.size(), 7u);
}

TEST_F(GeometryPipelineTest, ANodeFailingInTheCoreStopsTheWalkThere) {
  // Big_0's surface holds too many vertices, which only the core finds out;
  // the walk has gone on to Next_0 meanwhile, whose mapping is missing. The
  // export fails with Big_0's message alone, as the walk stops at Big_0.
  builder_.node("Big_0", oversized_mesh());
  builder_.node("Next_0", unmapped_mesh());
  const Outcome two = run_on_one_and_two();
  EXPECT_EQ(two.result, 0);
  ASSERT_EQ(two.messages.size(), 1u);
  EXPECT_NE(two.messages[0].find("Mesh 'Big_0': the surface of material"), std::string::npos)
      << two.messages[0];
  EXPECT_TRUE(two.file.empty());
}

TEST_F(GeometryPipelineTest, ANodeFailingBesideAPendingOneFailsAfterIt) {
  // Next_0 fails before its geometry is built, while Mid_0's is pending:
  // Mid_0's warning comes first, then Next_0's message.
  builder_.node("Mid_0", overflowing_mesh());
  builder_.node("Next_0", unmapped_mesh());
  const Outcome two = run_on_one_and_two();
  EXPECT_EQ(two.result, 0);
  EXPECT_EQ(two.messages,
            (std::vector<std::string>{
                "Error...: FaceNormal not correct!!! degenerate face -> try to weld vertices!",
                "Error...: No mapping applied for mesh: Next_0"}));
}

}  // namespace
}  // namespace scenepress::testing
