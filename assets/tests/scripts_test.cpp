#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources.h"

namespace {

using assets_test::Resource;

struct MaterialRow {
  const char* name;
  std::vector<std::string> textures;
  const char* shader;
};

const std::vector<std::string> kBody = {"TMP1_Body.dds", "TMP_BodyDirtMask.dds",
                                        "TMP_BodyDirtMaskGF2.dds"};
const std::vector<std::string> kBodyR = {"TMP1_Body.dds", "TMP_BodyDirtMask.dds",
                                         "TMP_BodyDirtMaskGF2.dds", "TMP_BodyNormals.dds"};
const std::vector<std::string> kGlass = {"TMP_Glass.dds", "TMP_GlassDirtMask.dds",
                                         "TMP_GlassDirtMaskGF2.dds"};
const std::vector<std::string> kGlassBroken = {"TMP_Glass.dds", "TMP_GlassDirtMask.dds",
                                               "TMP_GlassDirtMaskGF2.dds",
                                               "TMP_GlassBrokenMask.dds"};
const std::vector<std::string> kLight = {"TMP_Light.dds", "TMP_LightDirtMask.dds",
                                         "TMP_LightDirtMaskGF2.dds", "TMP_LightMask.dds"};
const std::vector<std::string> kLightBroken = {"TMP_Light.dds", "TMP_LightDirtMask.dds",
                                               "TMP_LightDirtMaskGF2.dds", "TMP_LightMask.dds",
                                               "TMP_LightBrokenMask.dds"};

// The material catalogue: the textures each binds and the shader it includes.
const MaterialRow kMaterials[] = {
    {"BLOB", {"TMP_Blob.dds"}, "_Blob.mtt"},
    {"BODY", kBody, "_CAR_Body.mtt"},
    {"BODY_1", kBody, "_CAR_Body_1.mtt"},
    {"BODY_2", kBody, "_CAR_Body_2.mtt"},
    {"BODYOPACITY", kBody, "_CAR_Body.mtt"},
    {"BODYOPACITY_1", kBody, "_CAR_Body_1.mtt"},
    {"BODYOPACITY_2", kBody, "_CAR_Body_2.mtt"},
    {"BODY_MENU", {"TMP1_Body.dds"}, "_CAR_Body_MENU.mtt"},
    {"BODYOPACITY_MENU", {"TMP1_Body.dds"}, "_CAR_Body_MENU.mtt"},
    {"BODY_GHOST", {"TMP1_Body.dds"}, "_CAR_Ghost.mtt"},
    {"BODYREFLECTION", kBodyR, "_CAR_BodyR.mtt"},
    {"BODYREFLECTION_1", kBodyR, "_CAR_BodyR_1.mtt"},
    {"BODYREFLECTION_2", kBodyR, "_CAR_BodyR_2.mtt"},
    {"BODYREFLECTION_MENU", kBodyR, "_CAR_BodyR_MENU.mtt"},
    {"GLASSREFLECTION", kGlass, "_CAR_GlassR.mtt"},
    {"GLASSREFLECTION_1", kGlass, "_CAR_GlassR_1.mtt"},
    {"GLASSREFLECTION_2", kGlass, "_CAR_GlassR_2.mtt"},
    {"GLASSREFLECTION_INSIDE",
     {"TMP_Glass_Inside.dds", "TMP_GlassDirtMask_Inside.dds"},
     "_CAR_GlassR_Inside.mtt"},
    {"GLASSREFLECTION_MENU", {"TMP_Glass.dds"}, "_CAR_GlassR_MENU.mtt"},
    {"GLASS_GHOST", {"TMP_Glass.dds"}, "_CAR_Ghost.mtt"},
    {"GLASSREFLECTIONBROKEN", kGlassBroken, "_CAR_GlassRBroken.mtt"},
    {"GLASSREFLECTIONBROKEN_1", kGlassBroken, "_CAR_GlassRBroken_1.mtt"},
    {"GLASSREFLECTIONBROKEN_2", kGlassBroken, "_CAR_GlassRBroken_2.mtt"},
    {"GLASSREFLECTIONBROKEN_INSIDE",
     {"TMP_Glass_Inside.dds", "TMP_GlassDirtMask_Inside.dds", "TMP_GlassBroken_Inside.dds",
      "TMP_GlassBrokenNormals_Inside.dds"},
     "_CAR_GlassRBroken_Inside.mtt"},
    {"GLASSREFLECTIONBROKEN_MENU",
     {"TMP_Glass.dds", "TMP_GlassDirtMask.dds", "TMP_GlassBrokenMask.dds"},
     "_CAR_GlassRBroken_MENU.mtt"},
    {"LIGHT", kLight, "_CAR_Light.mtt"},
    {"LIGHT_1", kLight, "_CAR_Light_1.mtt"},
    {"LIGHT_2", kLight, "_CAR_Light_2.mtt"},
    {"LIGHT_MENU", {"TMP_Light.dds"}, "_CAR_Light_MENU.mtt"},
    {"LIGHT_GHOST", {"TMP_Light.dds"}, "_CAR_Ghost.mtt"},
    {"LIGHTBROKEN", kLightBroken, "_CAR_LightBroken.mtt"},
    {"LIGHTBROKEN_1", kLightBroken, "_CAR_LightBroken_1.mtt"},
    {"LIGHTBROKEN_2", kLightBroken, "_CAR_LightBroken_2.mtt"},
    {"LIGHTBROKEN_MENU", kLightBroken, "_CAR_LightBroken_MENU.mtt"},
};

// The quoted names of `keyword` lines, e.g. every texture a $TEXTUREn binds.
std::vector<std::string> QuotedAfter(const std::string& text, const std::string& keyword) {
  std::vector<std::string> out;
  for (std::size_t at = text.find(keyword); at != std::string::npos;
       at = text.find(keyword, at + 1)) {
    const std::size_t open = text.find('"', at);
    const std::size_t close = text.find('"', open + 1);
    out.push_back(text.substr(open + 1, close - open - 1));
  }
  return out;
}

TEST(material_scripts, bind_their_textures_and_include_their_shader) {
  EXPECT_EQ(std::size(kMaterials), 34u);
  for (const MaterialRow& row : kMaterials) {
    SCOPED_TRACE(row.name);
    const std::string text = Resource("MATERIALS", row.name);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.size() % 4, 0u);  // stored with NUL padding
    EXPECT_EQ(QuotedAfter(text, "$TEXTURE"), row.textures);
    const std::string include =
        std::string("!include(\"..\\\\..\\\\..\\\\Shaders\\\\") + row.shader + "\")\r\n";
    EXPECT_NE(text.find(include), std::string::npos);
    EXPECT_EQ(text.find("!include", text.find("!include") + 1), std::string::npos);
    // Only the BODY family depends on the painting.
    EXPECT_EQ(text.find("TMP1") != std::string::npos, std::string(row.name).starts_with("BODY"));
    // Lines end in CR LF: no bare line feed.
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
      ASSERT_GT(at, 0u);
      EXPECT_EQ(text[at - 1], '\r');
    }
  }
}

TEST(skin_scripts, define_the_three_skins_of_their_painting) {
  const std::pair<const char*, std::vector<std::string>> kSkins[] = {
      {"CAR1", {"TMP1", "TMP1_GHOST", "TMP1_MENU"}},
      {"CAR2", {"TMP2", "TMP2_GHOST", "TMP2_MENU"}},
      {"WHEEL1", {"TMP1", "TMP1_GHOST", "TMP1_MENU"}},
      {"WHEEL2", {"TMP2", "TMP2_GHOST", "TMP2_MENU"}},
  };
  for (const auto& [name, skins] : kSkins) {
    SCOPED_TRACE(name);
    const std::string text = Resource("SKINS", name);
    EXPECT_EQ(QuotedAfter(text, "Skin("), skins);
    const bool wheel = std::string(name).starts_with("WHEEL");
    EXPECT_EQ(text.find("Glass") == std::string::npos, wheel);
    EXPECT_EQ(text.find("Light") == std::string::npos, wheel);
  }
  // The second painting's skin draws its own body materials.
  const std::string car2 = Resource("SKINS", "CAR2");
  EXPECT_NE(car2.find("\tReplace( \"TMP1_Body.mat\", \"TMP2_Body.mat\" )\r\n"), std::string::npos);
  EXPECT_NE(car2.find("\"TMP1_BodyReflection_2.mat\", \"TMP2_BodyReflection_2.mat\""),
            std::string::npos);
  const std::string car1 = Resource("SKINS", "CAR1");
  EXPECT_NE(car1.find("\"TMP1_Body_1.mat\", \"TMP1_Body_GHOST.mat\""), std::string::npos);
  EXPECT_NE(car1.find("\"TMP_Light.mat\", \"TMP_Light_GHOST.mat\""), std::string::npos);
  EXPECT_NE(car1.find("\"TMP_GlassReflection.mat\", \"TMP_Glass_GHOST.mat\""), std::string::npos);
  EXPECT_NE(car1.find("\"TMP1_BodyReflection.mat\", \"TMP1_BodyReflection_MENU.mat\""),
            std::string::npos);
}

}  // namespace
