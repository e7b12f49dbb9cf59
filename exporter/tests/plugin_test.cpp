// The plug-in as the host sees it: its entry points, class descriptor and
// exporter operations, and the smallest export byte for byte.
#include <bit>
#include <cstring>

#include "export_fixture.h"
#include "host/class_ids.h"
#include "model3da/records.h"

namespace scenepress::testing {
namespace {

TEST(PluginLoadTest, EntryPointsAnswerAsTheHostExpects) {
  const Plugin& plugin = Plugin::get();
  ASSERT_NE(plugin.handle, nullptr);
  ASSERT_NE(plugin.LibVersion, nullptr);
  EXPECT_EQ(plugin.LibVersion(), 0x17700D00u);
  EXPECT_EQ(plugin.LibNumberClasses(), 1);
  EXPECT_STREQ(plugin.LibDescription(), "blah blah");
  EXPECT_EQ(plugin.LibClassDesc(1), nullptr);
  EXPECT_EQ(plugin.LibClassDesc(-1), nullptr);
  // The attach work ran once, at load: banner, file system, banner.
  EXPECT_EQ(plugin.load_output,
            "*************** FS INIT ********************\n"
            "*************** FS INIT DONE ***************\n");
  EXPECT_GE(CustomControlsInitCount(), 1);

  ClassDesc* desc = plugin.LibClassDesc(0);
  ASSERT_NE(desc, nullptr);
  EXPECT_EQ(desc, plugin.LibClassDesc(0));
  EXPECT_EQ(desc->IsPublic(), 1);
  EXPECT_STREQ(desc->ClassName(), "Scenepress SceneExport");
  EXPECT_EQ(desc->SuperClassID(), SCENE_EXPORT_CLASS_ID);
  EXPECT_EQ(desc->SuperClassID(), 0xA20u);
  EXPECT_EQ(desc->ClassID(), Class_ID(0x1E211639, 0x1EAC4CD1));
  EXPECT_STREQ(desc->Category(), "");
  EXPECT_EQ(desc->BeginCreate(nullptr), 0);
  EXPECT_EQ(desc->EndCreate(nullptr), 0);
  EXPECT_TRUE(desc->OkToCreate(nullptr));
  EXPECT_FALSE(desc->HasClassParams());
  auto* desc2 = dynamic_cast<ClassDesc2*>(desc);
  ASSERT_NE(desc2, nullptr);
  EXPECT_STREQ(desc2->InternalName(), "Scenepress");
  EXPECT_NE(desc2->HInstance(), nullptr);
}

TEST(PluginLoadTest, ExporterDescribesItself) {
  const Plugin& plugin = Plugin::get();
  ASSERT_NE(plugin.LibClassDesc, nullptr);
  std::unique_ptr<SceneExport> e(static_cast<SceneExport*>(plugin.LibClassDesc(0)->Create(false)));
  EXPECT_EQ(e->ExtCount(), 1);
  EXPECT_STREQ(e->Ext(0), "3da");
  EXPECT_STREQ(e->Ext(1), "");
  EXPECT_STREQ(e->LongDesc(), "Scenepress Format, Version 1.0 for use with 3D Studio MAX R3");
  EXPECT_STREQ(e->ShortDesc(), "Scenepress format");
  EXPECT_STREQ(e->AuthorName(), "blah blah");
  EXPECT_NE(std::strlen(e->CopyrightMessage()), 0u);
  EXPECT_STREQ(e->OtherMessage1(), "");
  EXPECT_STREQ(e->OtherMessage2(), "");
  EXPECT_EQ(e->Version(), 0x10010u);
  EXPECT_TRUE(e->SupportsOptions(0, SCENE_EXPORT_SELECTED));
  EXPECT_FALSE(e->SupportsOptions(0, 0));
  EXPECT_FALSE(e->SupportsOptions(0, 3));
  // The About box closes with its OK button.
  host::RecordingUi ui;
  host::ScopedUiSeam seam(&ui);
  ui.dialog_clicks.push_back({1001});
  e->ShowAbout(nullptr);
  ASSERT_EQ(ui.dialogs.size(), 1u);
  EXPECT_EQ(ui.dialogs[0].id, 102);
  EXPECT_TRUE(ui.refused_clicks.empty());
}

// Little-endian byte image builder for expected files.
struct Image {
  std::string bytes;
  void u32(uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes += char((v >> (8 * i)) & 0xFF);
  }
  void i16(int16_t v) {
    bytes += char(uint16_t(v) & 0xFF);
    bytes += char(uint16_t(v) >> 8);
  }
  void f32(float v) { u32(std::bit_cast<uint32_t>(v)); }
  void name(const std::string& n) {
    bytes += n;
    bytes.append(32 - n.size(), '\0');
  }
  void u8(uint8_t v) { bytes += char(v); }
};

// A helper node with three one-key linear tracks, as the file format tables
// lay it out, at `at`.
void static_helper(Image& f, uint32_t at, const std::string& name, float box[6], float pos[3],
                   int16_t parent) {
  f.u32(3);
  f.name(name);
  for (int i = 0; i < 6; ++i) f.f32(box[i]);
  f.i16(parent);
  f.i16(0);
  f.u32(0);  // surfacesOffset
  f.u32(0);  // surfaceCount
  const uint32_t data = at + 152;
  f.u32(data);
  f.u32(data + 45);
  f.u32(data + 98);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) f.f32(r == c ? 1.0f : 0.0f);
  f.u32(data + 143);
  // Position: header 29 + one 16-byte key.
  f.u32(0);
  f.u8(0);
  f.u32(1);
  f.u32(3);
  f.u32(data + 29);
  for (int i = 0; i < 3; ++i) f.f32(0);
  f.u32(0);
  for (int i = 0; i < 3; ++i) f.f32(pos[i]);
  // Rotation: header 33 + one 20-byte key.
  f.u32(0);
  f.u8(0);
  f.u32(1);
  f.u32(3);
  f.u32(data + 45 + 33);
  for (float v : {0.0f, 0.0f, 0.0f, 1.0f}) f.f32(v);
  f.u32(0);
  // The identity turned into file axes: (x, z, -y, w), so z is -0.
  for (float v : {0.0f, 0.0f, -0.0f, 1.0f}) f.f32(v);
  // Scale.
  f.u32(0);
  f.u8(0);
  f.u32(1);
  f.u32(3);
  f.u32(data + 98 + 29);
  for (int i = 0; i < 3; ++i) f.f32(0);
  f.u32(0);
  for (int i = 0; i < 3; ++i) f.f32(1);
}

class SmallestExportTest : public ExportTest {};

TEST_F(SmallestExportTest, TwoStaticDummiesGiveThe674ByteFile) {
  default_options();
  scene_.anim_range = Interval(0, 30 * 160);
  host::SceneNode& a = builder_.dummy("A_0");
  a.controller = host::static_transform(Point3(1, 2, 3));
  host::SceneNode& b = builder_.dummy("B_0");
  b.object = host::dummy_object(Point3(-1, -2, -3), Point3(4, 5, 6));
  ASSERT_EQ(export_scene(), 1);
  EXPECT_TRUE(messages().empty());

  Image f;
  f.u32(0x5F414433);
  f.u32(519);
  f.u32(2);
  f.u32(30);
  f.u32(658);
  f.u32(0);
  f.u32(0);
  f.u32(0);
  f.u32(68);
  for (int i = 0; i < 3; ++i) f.u32(0x7149F2CA);
  for (int i = 0; i < 3; ++i) f.u32(0xF149F2CA);
  f.u32(2);
  f.u32(658);
  // Boxes: the corners (x, y, z) -> (x, z, -y), not re-sorted.
  float box_a[6] = {-1, -1, 1, 1, 1, -1};
  float pos_a[3] = {1, 3, -2};
  static_helper(f, 68, "A_0", box_a, pos_a, -1);
  float box_b[6] = {-1, -3, 2, 4, 6, -5};
  float pos_b[3] = {0, 0, -0.0f};
  static_helper(f, 363, "B_0", box_b, pos_b, -1);
  f.bytes.append(16, '\0');
  ASSERT_EQ(f.bytes.size(), 674u);

  std::string written = read_file("out.3da");
  ASSERT_EQ(written.size(), 674u);
  // The class-marker words are the writer's own; everything else is fixed.
  for (uint32_t marker : {220u, 265u, 318u, 515u, 560u, 613u}) {
    std::memset(written.data() + marker, 0, 4);
  }
  for (size_t i = 0; i < written.size(); ++i) {
    ASSERT_EQ(uint8_t(written[i]), uint8_t(f.bytes[i])) << "byte " << i;
  }
  auto model = load();
  ASSERT_EQ(model->nodes.size(), 2u);
  EXPECT_EQ(model->nodes[1].offset, 363u);
  EXPECT_EQ(model->nodes[1].next_node_offset, 0u);
  EXPECT_EQ(model->header.materialTableOffset, 658u);
}

}  // namespace
}  // namespace scenepress::testing
