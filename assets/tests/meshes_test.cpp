#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "model3da/model.h"
#include "ops/car_assets.h"
#include "resources.h"

namespace {

using assets_test::Resource;

std::unique_ptr<model3da::Model> Load(const std::string& bytes) {
  model3da::Bytes block(reinterpret_cast<const std::byte*>(bytes.data()),
                        reinterpret_cast<const std::byte*>(bytes.data()) + bytes.size());
  auto loaded = model3da::load_model(std::move(block));
  EXPECT_TRUE(loaded.ok()) << loaded.message;
  return std::move(loaded.model);
}

std::set<std::string> NodeNames(const model3da::Model& model) {
  std::set<std::string> names;
  for (const auto& node : model.nodes) names.insert(node.record.name);
  return names;
}

std::set<std::string> MaterialNames(const model3da::Model& model) {
  std::set<std::string> names;
  for (const auto& m : model.materials) names.insert(m.name);
  return names;
}

std::set<std::string> AtLevels(const std::vector<std::string>& bases) {
  std::set<std::string> names;
  for (const std::string& base : bases) {
    for (const char* level : {"", "_1", "_2"}) names.insert(base + level + ".mat");
  }
  return names;
}

// The nodes each separate part adds to the body (at level of detail 0).
struct PartNodes {
  unsigned bit;
  std::vector<std::string> nodes;
};
const PartNodes kParts[] = {
    {1, {"Exhaust_0"}},
    {2, {"Bonnet_0"}},
    {4, {"Spoiler_0"}},
    {8, {"BumperF_0", "BumperR_0"}},
    {16, {"DoorL_0", "WindowDoorL_0", "DoorR_0", "WindowDoorR_0"}},
};

// What the game's scripts name in the body: mounting dummies of the part
// pieces, reflectors and glasses of the model script's light blocks.
const char* kAlwaysInBody[] = {
    "DExhaust_0",
    "DBonnet_0",
    "DSpoiler_0",
    "DBumperF_0",
    "DBumperR_0",
    "DDoorL_0",
    "DDoorR_0",
    "DAntennaF_0",
    "DWiperL_0",
    "DWiperR_0",
    "ReflectorFL_0",
    "ReflectorFL_1",
    "ReflectorFL_2",
    "ReflectorFR_0",
    "ReflectorFrontLeft_0",
    "ReflectorFrontRight_0",
    "ReflectorGlassRL_0",
    "ReflectorGlassRR_0",
    "ReflectorRL_0",
    "ReflectorRR_0",
    "Body_0",
    "CollisionHull_0",
};

TEST(body_meshes, each_lacks_exactly_the_parts_cut_away) {
  for (unsigned bits = 0; bits < 32; ++bits) {
    SCOPED_TRACE(bits);
    const auto model = Load(Resource("MESHES", std::to_string(100 + bits)));
    ASSERT_TRUE(model);
    const std::set<std::string> names = NodeNames(*model);
    for (const char* name : kAlwaysInBody) EXPECT_TRUE(names.contains(name)) << name;
    for (const PartNodes& part : kParts) {
      for (const std::string& node : part.nodes) {
        EXPECT_EQ(names.contains(node), (bits & part.bit) == 0) << node;
        // The lower levels of detail follow the first.
        const std::string level2 = node.substr(0, node.size() - 1) + "2";
        EXPECT_EQ(names.contains(level2), (bits & part.bit) == 0) << level2;
      }
    }
    EXPECT_EQ(MaterialNames(*model),
              AtLevels({"TMP1_Body", "TMP1_BodyReflection", "TMP1_BodyOpacity",
                        "TMP_GlassReflection", "TMP_Light"}));
  }
}

TEST(body_meshes, dummies_sit_where_their_parts_were) {
  // The bonnet mesh is drawn at its dummy, so its vertices put back at the
  // dummy's position give the bonnet of the whole body.
  const auto body = Load(Resource("MESHES", "100"));
  const auto bonnet = Load(Resource("MESHES", "BONNET"));
  ASSERT_TRUE(body && bonnet);
  const auto* dummy = model3da::find_node_by_name(*body, "DBonnet_0");
  const auto* in_body = model3da::find_node_by_name(*body, "Bonnet_0");
  const auto* separate = model3da::find_node_by_name(*bonnet, "Bonnet_0");
  ASSERT_TRUE(dummy && in_body && separate);
  const model3da::Matrix4 at = model3da::node_world_matrix(*body, *dummy);
  const auto& s0 = in_body->surfaces.at(0);
  const auto& s1 = separate->surfaces.at(0);
  ASSERT_EQ(s0.record.vertexCount, s1.record.vertexCount);
  for (uint32_t v = 0; v < s0.record.vertexCount; ++v) {
    const model3da::Vec3 moved = model3da::transform_point(bonnet->position(s1, v), at);
    const model3da::Vec3 original = body->position(s0, v);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(moved[k], original[k], 1e-3);
  }
}

TEST(part_meshes, hold_their_part_with_the_body_materials) {
  const std::pair<const char*, std::vector<std::string>> kMeshes[] = {
      {"EXHAUST", {"Exhaust_0"}},
      {"BONNET", {"Bonnet_0"}},
      {"SPOILER", {"Spoiler_0"}},
      {"BUMPERF", {"BumperF_0"}},
      {"BUMPERR", {"BumperR_0"}},
      {"DOORL", {"DoorL_0", "WindowDoorL_0"}},
      {"DOORR", {"DoorR_0", "WindowDoorR_0"}},
      {"ANTENNAF", {"AntennaF_0"}},
      {"WIPERL", {"WiperL_0"}},
      {"WIPERR", {"WiperR_0"}},
  };
  for (const auto& [resource, nodes] : kMeshes) {
    SCOPED_TRACE(resource);
    const auto model = Load(Resource("MESHES", resource));
    ASSERT_TRUE(model);
    const std::set<std::string> names = NodeNames(*model);
    for (const std::string& node : nodes) EXPECT_TRUE(names.contains(node)) << node;
    for (const std::string& material : MaterialNames(*model)) {
      EXPECT_TRUE(material.starts_with("TMP1_Body") || material.starts_with("TMP_GlassReflection"))
          << material;
    }
    EXPECT_FALSE(model->materials.empty());
  }
}

TEST(part_meshes, exhaust_dummy_names_no_material) {
  const std::string bytes = Resource("MESHES", "EXHAUSTDUMMY");
  const auto model = Load(bytes);
  ASSERT_TRUE(model);
  EXPECT_TRUE(model->materials.empty());
  EXPECT_EQ(NodeNames(*model), std::set<std::string>{"Exhaust_0"});
  EXPECT_EQ(bytes.find("TMP"), std::string::npos);
}

TEST(wheel_meshes, thirteen_wheels_with_body_and_reflection_materials_only) {
  const char* kWheels[] = {"WHEEL_CONTACTSPORT", "WHEEL_FULLGRIP356",  "WHEEL_GRAVEL",
                           "WHEEL_HYPERGRIP200", "WHEEL_ICE",          "WHEEL_INTERMEDIATE",
                           "WHEEL_MUD",          "WHEEL_PROSPORT400S", "WHEEL_PROSPORTWINTER",
                           "WHEEL_SLICK",        "WHEEL_SNOW",         "WHEEL_WET",
                           "WHEEL_WINTEREVO3"};
  std::set<std::string> distinct;
  for (const char* wheel : kWheels) {
    SCOPED_TRACE(wheel);
    const std::string bytes = Resource("MESHES", wheel);
    const auto model = Load(bytes);
    ASSERT_TRUE(model);
    EXPECT_EQ(MaterialNames(*model), AtLevels({"TMP1_Body", "TMP1_BodyReflection"}));
    EXPECT_TRUE(NodeNames(*model).contains("Wheel_0"));
    distinct.insert(bytes);
  }
  EXPECT_EQ(distinct.size(), std::size(kWheels));  // each type has its own tread
}

// Filling in a car ID must leave every mesh a valid file: "TMP" may occur
// only inside the material table's names.
TEST(meshes, tokens_lie_only_in_material_names_and_filled_meshes_load) {
  std::vector<std::string> names;
  for (unsigned n = 100; n <= 131; ++n) names.push_back(std::to_string(n));
  for (const char* n : {"EXHAUST", "BONNET", "SPOILER", "BUMPERF", "BUMPERR", "DOORL", "DOORR",
                        "ANTENNAF", "WIPERL", "WIPERR", "WHEEL_MUD", "WHEEL_SLICK"}) {
    names.push_back(n);
  }
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const std::string bytes = Resource("MESHES", name);
    const auto model = Load(bytes);
    ASSERT_TRUE(model);
    const std::size_t table = model->header.materialTableOffset;
    const std::size_t table_end = table + 252 * model->materials.size();
    for (std::size_t at = bytes.find("TMP"); at != std::string::npos;
         at = bytes.find("TMP", at + 1)) {
      ASSERT_TRUE(at >= table && at + 3 <= table_end) << "TMP at " << at;
      EXPECT_LT((at - table) % 252, 160u) << "TMP at " << at << " is not in a name";
    }
    const auto filled = wizard::MakeGRMesh(name, "AB1");
    ASSERT_TRUE(filled.has_value());
    const auto loaded = Load(*filled);
    ASSERT_TRUE(loaded);
    for (const auto& m : loaded->materials) {
      EXPECT_TRUE(m.name.starts_with("AB11_") || m.name.starts_with("AB1_")) << m.name;
      for (int t = 0; t < m.textureCount; ++t) {
        EXPECT_TRUE(m.textures[t].starts_with("AB1")) << m.textures[t];
      }
    }
  }
}

}  // namespace
