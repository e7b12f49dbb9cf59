// Random meshes through the plug-in: each export either fails with a
// message and writes nothing, or writes a file that loads with finite
// vertex data.
#include <filesystem>
#include <random>

#include "export_fixture.h"
#include "random_scene.h"

namespace scenepress::testing {
namespace {

class RandomSceneTest : public ExportTest {};

TEST_F(RandomSceneTest, RandomMeshesExportOrAreRefused) {
  default_options();
  std::mt19937 rng(20);
  int exported = 0, refused = 0, skinned = 0;
  for (int i = 0; i < 1000; ++i) {
    SCOPED_TRACE(i);
    builder_.scene.root().children.clear();
    ui_.messages.clear();
    std::vector<uint8_t> bytes(200);
    for (uint8_t& b : bytes) b = uint8_t(rng());
    ByteSource in(bytes);
    build_random_scene(in, builder_);
    std::filesystem::remove(dir_ / "random.3da");
    if (export_scene("random.3da") == 1) {
      ++exported;
      auto model = load("random.3da");
      ASSERT_NE(model, nullptr);
      EXPECT_EQ(check_exported_surfaces(*model), "");
      for (const auto& node : model->nodes)
        skinned += node.record.nodeType == model3da::MESH_SKINNED_3DA ? 1 : 0;
    } else {
      ++refused;
      EXPECT_FALSE(ui_.messages.empty());
      EXPECT_FALSE(std::filesystem::exists(dir_ / "random.3da"));
    }
  }
  // Both ways are taken often, skinned meshes among the exports.
  EXPECT_GT(exported, 100);
  EXPECT_GT(refused, 100);
  EXPECT_GT(skinned, 25);
  RecordProperty("exported", exported);
  RecordProperty("skinned", skinned);
  RecordProperty("refused", refused);
}

}  // namespace
}  // namespace scenepress::testing
