// A larger export pinned byte for byte: some 17 000 triangles over static,
// animated, mirrored, skinned, lower-detail and collision-hull meshes, so
// that welding, the strip builder's cache order, the node chain, every kind
// of collision tree and the log all take part. The digests were taken from
// the exporter as it stood before its speed work; any change in the bytes
// written shows up here.
#include <cstdint>
#include <string_view>

#include "export_fixture.h"
#include "mesh_scenes.h"
#include "model3da/byte_io.h"

namespace scenepress::testing {
namespace {

// FNV-1a, 64 bits.
uint64_t digest(std::string_view bytes) {
  uint64_t h = 0xcbf29ce484222325ull;
  for (char c : bytes) {
    h ^= uint8_t(c);
    h *= 0x100000001b3ull;
  }
  return h;
}

class LargeExportTest : public ExportTest {
 protected:
  void SetUp() override {
    ExportTest::SetUp();
    default_options();
    const auto materials = multi_material({"Rock", "Sand", "Snow"});

    host::SceneNode& root = builder_.dummy("Root");
    host::SceneNode& globe = builder_.node("Globe_0", sphere_object(96, 64, 10.0f), &root);
    globe.material = materials;
    globe.controller =
        host::static_transform(Point3(3, -2, 1), Quat(0.0f, 0.0f, 0.38268343f, 0.9238795f));

    host::SceneNode& moon = builder_.node("Moon_0", sphere_object(40, 30, 2.0f), &globe);
    moon.material = materials;
    moon.controller = host::transform(host::keyframes<ILinPoint3Key>(
        {host::linear(0, Point3(14, 0, 0)), host::linear(3200, Point3(0, 14, 2))}));

    host::SceneNode& hull = builder_.node("CollisionHull_0", sphere_object(16, 12, 11.0f));
    hull.material = materials;

    host::SceneNode& mirror = builder_.node("Mirror_0", sphere_object(24, 16, 1.5f), &root);
    mirror.material = materials;
    mirror.offset_scale = ScaleValue{Point3(-1, 1, 2), Quat()};
    mirror.offset_position = Point3(-20, 4, 0);

    host::SceneNode& far = builder_.node("Far_1", sphere_object(12, 8, 30.0f), &root);
    far.material = materials;

    host::SceneNode& lower = builder_.dummy("BoneLower_0", &root);
    host::SceneNode& upper = builder_.dummy("BoneUpper_0", &root);
    auto physique = std::make_shared<host::PhysiqueModifier>();
    std::shared_ptr<TriObject> arm = sphere_object(32, 24, 1.0f);
    host::SceneNode& skinned = builder_.node("Arm_0", with_modifiers(arm, {physique}), &root);
    skinned.material = materials;
    bind_to_two_bones(*physique, skinned, arm->mesh, lower, upper);
  }
};

TEST_F(LargeExportTest, WritesTheSameBytesAsBefore) {
  ASSERT_EQ(export_scene(), 1);
  const std::string file = read_file("out.3da");
  ASSERT_GE(file.size(), 68u);
  const uint32_t collision =
      model3da::read_u32(reinterpret_cast<const std::byte*>(file.data()) + 64);
  ASSERT_LE(collision, file.size());
  const std::string_view bytes(file);
  EXPECT_EQ(file.size(), 2151071u);
  EXPECT_EQ(collision, 1011847u);
  EXPECT_EQ(digest(bytes.substr(0, collision)), 1301942389722712133ull)
      << "header, nodes and materials";
  EXPECT_EQ(digest(bytes.substr(collision)), 11963793715297594557ull) << "collision section";
  // A static tree, a hull tree and one per-node tree (Moon_0) took part.
  ASSERT_GE(file.size(), collision + 16u);
  const auto* section = reinterpret_cast<const std::byte*>(file.data()) + collision;
  EXPECT_GT(model3da::read_u32(section), 0u);
  EXPECT_GT(model3da::read_u32(section + 4), 0u);
  EXPECT_EQ(model3da::read_u32(section + 8), 1u);

  // The log after its two lines of version and build time.
  const std::string log = read_file("out.3da.log");
  const size_t body = log.find('\n', log.find('\n') + 1);
  ASSERT_NE(body, std::string::npos);
  EXPECT_EQ(digest(std::string_view(log).substr(body)), 17841395578907102527ull) << log;
}

}  // namespace
}  // namespace scenepress::testing
