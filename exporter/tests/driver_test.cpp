// The export driver: options from the script or the dialog, output names of
// morph exports, selection, cancel, the empty scene and the export log.
#include <filesystem>
#include <fstream>

#include "export_fixture.h"
#include "scenepress/resources.h"
#include "scenepress/scenepress.h"

namespace scenepress::testing {
namespace {

class DriverTest : public ExportTest {
 protected:
  // Tests that look at the exporter's options run one in this process.
  static Scenepress* state(const std::unique_ptr<Scenepress>& e) { return e.get(); }
};

TEST_F(DriverTest, WithoutOptionsScriptTheDialogOpensInItsInitialState) {
  builder_.dummy("A_0");
  auto e = std::make_unique<Scenepress>();
  ui_.dialog_clicks.push_back(
      {IDC_PER_VERTEX, IDC_NO_ANIMATION, IDC_MATERIAL_SCRIPT, IDC_TCOORD2, IDC_TCOORD0, IDOK});
  ASSERT_EQ(e->DoExport("out.3da", nullptr, &scene_, false, 0), 1);
  EXPECT_EQ(state(e)->lightingType, 1);
  EXPECT_EQ(state(e)->noAnimation, 1);
  EXPECT_EQ(state(e)->noGeometry, 0);
  EXPECT_EQ(state(e)->writeMaterialScripts, 0);
  EXPECT_EQ(state(e)->exportTexCoord, (std::array<int32_t, 4>{0, 1, 1, 0}));
  // The second export opens the dialog anew: "No lighting" and "Normal"
  // whatever was chosen, material scripts off, tcoords as chosen.
  ui_.dialog_clicks.push_back({IDOK});
  ASSERT_EQ(e->DoExport("out.3da", nullptr, &scene_, false, 0), 1);
  ASSERT_EQ(ui_.dialogs.size(), 2u);
  for (const auto& d : ui_.dialogs) {
    EXPECT_EQ(d.id, 103);
    EXPECT_EQ(d.checked.at(IDC_NO_LIGHTING), BST_CHECKED);
    EXPECT_EQ(d.checked.at(IDC_PER_VERTEX), BST_UNCHECKED);
    EXPECT_EQ(d.checked.at(IDC_NORMAL), BST_CHECKED);
    EXPECT_EQ(d.checked.at(IDC_NO_ANIMATION), BST_UNCHECKED);
    EXPECT_EQ(d.checked.at(IDC_MATERIAL_SCRIPT), BST_UNCHECKED);
    EXPECT_EQ(d.checked.at(IDC_MORPH_SOURCE), BST_UNCHECKED);
    EXPECT_EQ(d.checked.at(IDC_MORPH_TARGET), BST_UNCHECKED);
    EXPECT_FALSE(d.enabled.at(IDC_PER_PIXEL));
  }
  EXPECT_EQ(ui_.dialogs[0].checked.at(IDC_TCOORD0), BST_CHECKED);
  EXPECT_EQ(ui_.dialogs[0].checked.at(IDC_TCOORD1), BST_CHECKED);
  EXPECT_EQ(ui_.dialogs[0].checked.at(IDC_TCOORD2), BST_UNCHECKED);
  EXPECT_EQ(ui_.dialogs[1].checked.at(IDC_TCOORD0), BST_UNCHECKED);
  EXPECT_EQ(ui_.dialogs[1].checked.at(IDC_TCOORD2), BST_CHECKED);
  EXPECT_EQ(state(e)->lightingType, 0);
  EXPECT_EQ(state(e)->writeMaterialScripts, 1);
  EXPECT_TRUE(messages().empty());
  // The second export holds its own nodes only.
  EXPECT_EQ(load()->nodes.size(), 1u);
}

TEST_F(DriverTest, DialogMorphBoxesExcludeEachOtherAndCancelWritesNothing) {
  builder_.dummy("A_0");
  std::unique_ptr<SceneExport> e = make_exporter();
  // Per-pixel lighting is created disabled; a checked morph box disables
  // the other until it is cleared.
  ui_.dialog_clicks.push_back({IDC_PER_PIXEL, IDC_MORPH_SOURCE, IDC_MORPH_TARGET, IDC_MORPH_SOURCE,
                               IDC_MORPH_TARGET, IDCANCEL});
  EXPECT_EQ(e->DoExport("out.3da", nullptr, &scene_, false, 0), 0);
  EXPECT_EQ(ui_.refused_clicks, (std::vector<int>{IDC_PER_PIXEL, IDC_MORPH_TARGET}));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "out.3da"));
  // A dialog closed without an answer is a cancel too.
  EXPECT_EQ(e->DoExport("out.3da", nullptr, &scene_, false, 0), 0);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "out.3da"));
}

TEST_F(DriverTest, OptionsScriptSetsOnlyItsKeywords) {
  builder_.dummy("A_0");
  write_options("!NoGeometry()\nNoGeometry()\n");
  auto e = std::make_unique<Scenepress>();
  ASSERT_EQ(e->DoExport("out.3da", nullptr, &scene_, false, 0), 1);
  EXPECT_TRUE(ui_.dialogs.empty());
  EXPECT_EQ(state(e)->noGeometry, 1);
  EXPECT_EQ(state(e)->lightingType, 0);
  EXPECT_EQ(state(e)->exportTexCoord, (std::array<int32_t, 4>{1, 1, 0, 0}));
  EXPECT_EQ(state(e)->writeMaterialScripts, 1);

  write_options(
      "!lightingtype(s)\n!Morphing(s)\n!NoAnimation()\n"
      "LightingType(\"Per Vertex\")\nLIGHTINGTYPE(\"bright\")\nMorphing(\"sideways\")\n"
      "NoAnimation()\n");
  auto f = std::make_unique<Scenepress>();
  ASSERT_EQ(f->DoExport("out.3da", nullptr, &scene_, false, 0), 1);
  EXPECT_EQ(state(f)->lightingType, 1);
  EXPECT_EQ(state(f)->noAnimation, 1);
  EXPECT_EQ(state(f)->noGeometry, 0);
  EXPECT_EQ(state(f)->morphSource + state(f)->morphTarget, 0);

  // A script with an error, or without any statement, gives way to the dialog.
  for (const char* script : {"!A()\nB()\n", "// nothing\n"}) {
    write_options(script);
    ui_.dialog_clicks.push_back({IDCANCEL});
    EXPECT_EQ(make_exporter()->DoExport("out.3da", nullptr, &scene_, false, 0), 0) << script;
  }
  EXPECT_EQ(ui_.dialogs.size(), 2u);
}

TEST_F(DriverTest, MorphExportsNameTheirFilesAfterTheOutput) {
  builder_.dummy("A_0");
  write_options("!Morphing(s)\nMorphing(\"dst\")\n");
  EXPECT_EQ(export_scene("scene.3da"), 0);
  EXPECT_EQ(messages(), (std::vector<std::string>{"Export source data first!"}));
  for (const char* name : {"scene.3da", "scene.3da_1.3da", "scene.3da_0.3da"}) {
    EXPECT_FALSE(std::filesystem::exists(dir_ / name)) << name;
  }

  write_options("!Morphing(s)\nMorphing(\"src\")\n");
  ASSERT_EQ(export_scene("scene.3da"), 1);
  EXPECT_TRUE(std::filesystem::is_regular_file(dir_ / "scene.3da_0.3da"));
  EXPECT_TRUE(std::filesystem::is_directory(dir_ / "scene.3da_0.3da_dir"));
  EXPECT_TRUE(std::filesystem::is_regular_file(dir_ / "scene.3da_0.3da.log"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "scene.3da"));
  // A second source export finds its directory already there.
  ASSERT_EQ(export_scene("scene.3da"), 1);

  write_options("!Morphing(s)\nMorphing(\"dst\")\n");
  ASSERT_EQ(export_scene("scene.3da"), 1);
  EXPECT_TRUE(std::filesystem::is_regular_file(dir_ / "scene.3da_1.3da"));
  EXPECT_TRUE(std::filesystem::is_regular_file(dir_ / "scene.3da_1.3da.log"));

  ui_.messages.clear();
  EXPECT_EQ(export_scene("scene"), 0);
  EXPECT_EQ(messages(), (std::vector<std::string>{"Invalid export name: scene"}));
}

TEST_F(DriverTest, EmptySceneGivesHeaderAndEmptyCollisionSection) {
  default_options();
  builder_.light("Lamp");
  ASSERT_EQ(export_scene(), 1);
  const std::string bytes = read_file("out.3da");
  ASSERT_EQ(bytes.size(), 84u);
  EXPECT_EQ(bytes.substr(68), std::string(16, '\0'));
  auto model = load();
  EXPECT_EQ(model->header.nodeCount, 0u);
  EXPECT_EQ(model->header.materialCount, 0u);
  EXPECT_EQ(model->header.collisionOffset, 68u);
}

TEST_F(DriverTest, SelectionLeavesOutUnselectedSubtrees) {
  default_options();
  host::SceneNode& a = builder_.dummy("A_0");
  host::SceneNode& child = builder_.dummy("Child_0", &a);
  child.selected = true;
  host::SceneNode& b = builder_.dummy("B_0");
  b.selected = true;
  ASSERT_EQ(export_scene("out.3da", SCENE_EXPORT_SELECTED), 1);
  auto model = load();
  ASSERT_EQ(model->nodes.size(), 1u);
  EXPECT_EQ(model->nodes[0].record.name, "B_0");
  // The marker file does the same as the option.
  ASSERT_EQ(export_scene("all.3da"), 1);
  EXPECT_EQ(load("all.3da")->nodes.size(), 3u);
  std::ofstream(dir_ / "exportselected") << "";
  ASSERT_EQ(export_scene("marked.3da"), 1);
  EXPECT_EQ(load("marked.3da")->nodes.size(), 1u);
}

TEST_F(DriverTest, CancelBetweenTopLevelNodesKeepsTheNodesSoFar) {
  default_options();
  builder_.dummy("A_0");
  builder_.dummy("B_0");
  // Polls: loop before A, walk of A (before and after), loop before B.
  scene_.cancel_after_polls = 3;
  ASSERT_EQ(export_scene(), 1);
  EXPECT_EQ(load()->nodes.size(), 1u);
  // A cancel inside a node's walk stops the export without a file.
  scene_.cancel_polls = 0;
  scene_.cancel_after_polls = 1;
  EXPECT_EQ(export_scene("cancelled.3da"), 0);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "cancelled.3da"));
  EXPECT_EQ(scene_.progress.front(), "start node ");
  EXPECT_EQ(scene_.progress.back(), "end");
}

TEST_F(DriverTest, AShownMessageMakesLaterExportsFailAtOnce) {
  default_options();
  builder_.dummy("Root");
  std::unique_ptr<SceneExport> e = make_exporter();
  // The LOD warning does not stop this export ...
  ASSERT_EQ(e->DoExport("out.3da", nullptr, &scene_, false, 0), 1);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].caption, "Error...");
  EXPECT_EQ(ui_.messages[0].type, MB_OK | MB_ICONERROR);
  // ... but the error flag stays set on this exporter.
  EXPECT_EQ(e->DoExport("again.3da", nullptr, &scene_, false, 0), 0);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "again.3da"));
}

TEST_F(DriverTest, ExportLogLines) {
  default_options();
  scene_.anim_range = Interval(160, 160 * 31);
  scene_.file_path = "C:\\scenes\\rally car.max";
  host::SceneNode& body = builder_.dummy("Body_0");
  builder_.dummy("Wheel_0", &body);
  builder_.dummy("Door_0", &body);
  builder_.dummy("Antenna_0");
  ASSERT_EQ(export_scene("car.3da"), 1);
  const std::string log = read_file("car.3da.log");
  const size_t build = log.find("build date: ");
  ASSERT_NE(build, std::string::npos);
  const size_t build_end = log.find("\r\n", build);
  const std::string build_line = log.substr(build, build_end - build);
  EXPECT_EQ(build_line, std::string("build date: ") + "" + build_line.substr(12));
  EXPECT_NE(build_line.find(", "), std::string::npos);
  const std::string expected_rest =
      "log started : 1.3.2005,  9:5\r\n"
      "computer name : BUILDBOX\r\n"
      "user name : modeller\r\n"
      "max file: C:\\scenes\\rally car.max\r\n"
      "\r\n"
      "anim frames: 30\r\n"
      "num elements: 4\r\n"
      "anim data size: 0\r\n"
      "\r\n"
      "HELPER_3DA: Antenna_0, idx: 0\r\n"
      " surfaces: 0\r\n"
      "HELPER_3DA: Body_0, idx: 1\r\n"
      " surfaces: 0\r\n"
      "\tHELPER_3DA: Wheel_0, idx: 3\r\n"
      "\t surfaces: 0\r\n"
      "\tHELPER_3DA: Door_0, idx: 2\r\n"
      "\t surfaces: 0\r\n";
  EXPECT_EQ(log.substr(0, build), "exporter version : 10010\r\n");
  EXPECT_EQ(log.substr(build_end + 2), expected_rest);
}

// An object that is not a helper when the export counts nodes but is one
// when the walk reaches it: the walk then has more records than counted.
class LateHelper final : public HelperObject {
 public:
  Class_ID ClassID() override { return POINTHELP_CLASS_ID; }
  SClass_ID SuperClassID() override { return calls_++ == 0 ? LIGHT_CLASS_ID : HELPER_CLASS_ID; }

 private:
  int calls_ = 0;
};

TEST_F(DriverTest, MoreRecordsThanCountedFailTheExport) {
  default_options();
  builder_.node("Late_0", std::make_shared<LateHelper>());
  EXPECT_EQ(export_scene(), 0);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0],
            "Node Late_0: more nodes to export than the 0 counted before the export");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "out.3da"));
}

// The chain is written to "<output>.partial" during the walk; the output is
// replaced only by an export that succeeds.
TEST_F(DriverTest, AFailedExportKeepsTheEarlierFileAndLeavesNoPartialFile) {
  default_options();
  builder_.dummy("A_0");
  ASSERT_EQ(export_scene(), 1);
  const std::string earlier = read_file("out.3da");
  ASSERT_FALSE(earlier.empty());
  EXPECT_FALSE(std::filesystem::exists(dir_ / "out.3da.partial"));
  // A second export of the same name fails in the walk.
  builder_.node("Late_0", std::make_shared<LateHelper>());
  EXPECT_EQ(export_scene(), 0);
  EXPECT_EQ(read_file("out.3da"), earlier);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "out.3da.partial"));
  // An output that cannot be created fails before the walk.
  ui_.messages.clear();
  EXPECT_EQ(export_scene("missing/out.3da"), 0);
  EXPECT_EQ(messages(), std::vector<std::string>{"Unable to create file missing/out.3da"});
}

}  // namespace
}  // namespace scenepress::testing
