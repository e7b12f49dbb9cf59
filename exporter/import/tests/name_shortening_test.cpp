// Shortening names that the exporter cannot store.
#include <gtest/gtest.h>

#include "host/scene_builder.h"
#include "name_shortening.h"

namespace scene_import {
namespace {

TEST(NameShorteningTest, NamesFitWithRoomForThePostfix) {
  EXPECT_TRUE(node_name_fits(std::string(29, 'a')));
  EXPECT_FALSE(node_name_fits(std::string(30, 'a')));  // "_0" would make 32
  EXPECT_TRUE(node_name_fits(std::string(29, 'a') + "_3"));
  EXPECT_FALSE(node_name_fits(std::string(30, 'a') + "_3"));
  EXPECT_TRUE(has_lod_postfix("Body_1"));
  EXPECT_FALSE(has_lod_postfix("Body_"));
  EXPECT_FALSE(has_lod_postfix("Body1"));
}

TEST(NameShorteningTest, NamesFromFilesNameNoFolder) {
  EXPECT_EQ(file_safe_name("../../etc/evil"), ".._.._etc_evil");
  EXPECT_EQ(file_safe_name("C:\\maps\\wood"), "C:_maps_wood");
  EXPECT_EQ(file_safe_name("tab\there"), "tab_here");  // a tab
  EXPECT_EQ(file_safe_name("Armature|Bone.001"), "Armature|Bone.001");
}

TEST(NameShorteningTest, ShortenedNamesKeepStartAndPostfixAndAreUnique) {
  std::set<std::string> taken{"wheel_front_left_suspension~1"};
  const std::string name = "Wheel_Front_Left_Suspension_Arm";  // 31, no postfix
  const std::string first = shorten_name(name, kMaxNodeNameWithoutPostfix, true, taken);
  EXPECT_EQ(first, "Wheel_Front_Left_Suspension~2");  // ~1 is taken, in any case
  EXPECT_EQ(first.size(), kMaxNodeNameWithoutPostfix);
  const std::string lod = shorten_name(name + "_2", kMaxNodeName, true, taken);
  EXPECT_EQ(lod, "Wheel_Front_Left_Suspension~1_2");  // a name of its own
  EXPECT_EQ(lod.size(), kMaxNodeName);
  EXPECT_EQ(shorten_name("ChromeAndRubberMaterialForWheels", kMaxMaterialName, false, taken),
            "ChromeAndRubberMaterialFo~1");
}

TEST(NameShorteningTest, SceneNamesThatDoNotFitAreShortenedAndListed) {
  host::SceneBuilder b;
  host::SceneNode& group = b.dummy("A_group_node_with_a_long_long_name");
  host::SceneNode& fits = b.mesh("Body_0", &group);
  host::SceneNode& also_long = b.mesh("A_group_node_with_a_long_long_name_1", &group);
  auto material = std::make_shared<host::StandardMaterial>("Material_with_a_name_of_30_chr");
  fits.material = material;
  also_long.material = material;
  std::vector<Rename> renamed;
  shorten_scene_names(b.scene, renamed);
  EXPECT_EQ(group.name, "A_group_node_with_a_long_lo~1");
  EXPECT_EQ(fits.name, "Body_0");
  EXPECT_EQ(also_long.name, "A_group_node_with_a_long_lo~1_1");
  EXPECT_EQ(material->name, "Material_with_a_name_of_3~1");
  ASSERT_EQ(renamed.size(), 3u);
  EXPECT_EQ(renamed[0].kind, "node");
  EXPECT_EQ(renamed[0].from, "A_group_node_with_a_long_long_name");
  EXPECT_EQ(renamed[2].kind, "material");
  EXPECT_EQ(renamed[2].to, "Material_with_a_name_of_3~1");
}

}  // namespace
}  // namespace scene_import
