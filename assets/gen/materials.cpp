#include "materials.h"

#include <string_view>

namespace assetgen {
namespace {

constexpr std::string_view kEol = "\r\n";

struct MaterialSpec {
  const char* name;
  const char* comment;
  std::vector<const char*> textures;
  std::vector<const char*> options;
  const char* shader;
};

const std::vector<const char*> kBodyTextures = {"TMP1_Body.dds", "TMP_BodyDirtMask.dds",
                                                "TMP_BodyDirtMaskGF2.dds"};
const std::vector<const char*> kBodyReflectionTextures = {
    "TMP1_Body.dds", "TMP_BodyDirtMask.dds", "TMP_BodyDirtMaskGF2.dds", "TMP_BodyNormals.dds"};
const std::vector<const char*> kGlassTextures = {"TMP_Glass.dds", "TMP_GlassDirtMask.dds",
                                                 "TMP_GlassDirtMaskGF2.dds"};
const std::vector<const char*> kGlassBrokenTextures = {"TMP_Glass.dds", "TMP_GlassDirtMask.dds",
                                                       "TMP_GlassDirtMaskGF2.dds",
                                                       "TMP_GlassBrokenMask.dds"};
const std::vector<const char*> kLightTextures = {"TMP_Light.dds", "TMP_LightDirtMask.dds",
                                                 "TMP_LightDirtMaskGF2.dds", "TMP_LightMask.dds"};
const std::vector<const char*> kLightBrokenTextures = {
    "TMP_Light.dds", "TMP_LightDirtMask.dds", "TMP_LightDirtMaskGF2.dds", "TMP_LightMask.dds",
    "TMP_LightBrokenMask.dds"};

const char* kOpaque = "$BLEND(s,\"none\")";
const char* kAlphaTest = "$ALPHATEST(i,128)";
const char* kAlphaBlend = "$BLEND(s,\"alpha\")";
const char* kCullBack = "$CULL(s,\"cw\")";
const char* kCullNone = "$CULL(s,\"none\")";
const char* kLod1 = "$LOD(i,1)";
const char* kLod2 = "$LOD(i,2)";
const char* kMenu = "$MENU(i,1)";
const char* kGhost = "$GHOSTALPHA(f,0.35)";

std::vector<MaterialSpec> Specs() {
  return {
      {"BLOB",
       "Shadow blob under the car",
       {"TMP_Blob.dds"},
       {"$BLEND(s,\"multiply\")", kCullBack},
       "_Blob.mtt"},
      {"BODY", "Body paint of painting TMP1", kBodyTextures, {kOpaque, kCullBack}, "_CAR_Body.mtt"},
      {"BODY_1",
       "Body paint of painting TMP1, detail level 1",
       kBodyTextures,
       {kOpaque, kCullBack, kLod1},
       "_CAR_Body_1.mtt"},
      {"BODY_2",
       "Body paint of painting TMP1, detail level 2",
       kBodyTextures,
       {kOpaque, kCullBack, kLod2},
       "_CAR_Body_2.mtt"},
      {"BODY_GHOST",
       "Ghost car body of painting TMP1",
       {"TMP1_Body.dds"},
       {kAlphaBlend, kCullBack, kGhost},
       "_CAR_Ghost.mtt"},
      {"BODY_MENU",
       "Body paint of painting TMP1 in the menus",
       {"TMP1_Body.dds"},
       {kOpaque, kCullBack, kMenu},
       "_CAR_Body_MENU.mtt"},
      {"BODYOPACITY",
       "See-through body parts of painting TMP1",
       kBodyTextures,
       {kAlphaTest, kCullNone},
       "_CAR_Body.mtt"},
      {"BODYOPACITY_1",
       "See-through body parts of painting TMP1, detail level 1",
       kBodyTextures,
       {kAlphaTest, kCullNone, kLod1},
       "_CAR_Body_1.mtt"},
      {"BODYOPACITY_2",
       "See-through body parts of painting TMP1, detail level 2",
       kBodyTextures,
       {kAlphaTest, kCullNone, kLod2},
       "_CAR_Body_2.mtt"},
      {"BODYOPACITY_MENU",
       "See-through body parts of painting TMP1 in the menus",
       {"TMP1_Body.dds"},
       {kAlphaTest, kCullNone, kMenu},
       "_CAR_Body_MENU.mtt"},
      {"BODYREFLECTION",
       "Glossy body paint of painting TMP1",
       kBodyReflectionTextures,
       {kOpaque, kCullBack, "$REFLECTION(f,0.35)"},
       "_CAR_BodyR.mtt"},
      {"BODYREFLECTION_1",
       "Glossy body paint of painting TMP1, detail level 1",
       kBodyReflectionTextures,
       {kOpaque, kCullBack, "$REFLECTION(f,0.35)", kLod1},
       "_CAR_BodyR_1.mtt"},
      {"BODYREFLECTION_2",
       "Glossy body paint of painting TMP1, detail level 2",
       kBodyReflectionTextures,
       {kOpaque, kCullBack, "$REFLECTION(f,0.35)", kLod2},
       "_CAR_BodyR_2.mtt"},
      {"BODYREFLECTION_MENU",
       "Glossy body paint of painting TMP1 in the menus",
       kBodyReflectionTextures,
       {kOpaque, kCullBack, "$REFLECTION(f,0.5)", kMenu},
       "_CAR_BodyR_MENU.mtt"},
      {"GLASS_GHOST",
       "Ghost car glass",
       {"TMP_Glass.dds"},
       {kAlphaBlend, kCullNone, kGhost},
       "_CAR_Ghost.mtt"},
      {"GLASSREFLECTION",
       "Windows",
       kGlassTextures,
       {kAlphaBlend, kCullNone, "$REFLECTION(f,0.6)"},
       "_CAR_GlassR.mtt"},
      {"GLASSREFLECTION_1",
       "Windows, detail level 1",
       kGlassTextures,
       {kAlphaBlend, kCullNone, "$REFLECTION(f,0.6)", kLod1},
       "_CAR_GlassR_1.mtt"},
      {"GLASSREFLECTION_2",
       "Windows, detail level 2",
       kGlassTextures,
       {kAlphaBlend, kCullNone, "$REFLECTION(f,0.6)", kLod2},
       "_CAR_GlassR_2.mtt"},
      {"GLASSREFLECTION_INSIDE",
       "Windows seen from inside the car",
       {"TMP_Glass_Inside.dds", "TMP_GlassDirtMask_Inside.dds"},
       {kAlphaBlend, kCullNone},
       "_CAR_GlassR_Inside.mtt"},
      {"GLASSREFLECTION_MENU",
       "Windows in the menus",
       {"TMP_Glass.dds"},
       {kAlphaBlend, kCullNone, kMenu},
       "_CAR_GlassR_MENU.mtt"},
      {"GLASSREFLECTIONBROKEN",
       "Broken windows",
       kGlassBrokenTextures,
       {kAlphaBlend, kCullNone, "$REFLECTION(f,0.4)"},
       "_CAR_GlassRBroken.mtt"},
      {"GLASSREFLECTIONBROKEN_1",
       "Broken windows, detail level 1",
       kGlassBrokenTextures,
       {kAlphaBlend, kCullNone, "$REFLECTION(f,0.4)", kLod1},
       "_CAR_GlassRBroken_1.mtt"},
      {"GLASSREFLECTIONBROKEN_2",
       "Broken windows, detail level 2",
       kGlassBrokenTextures,
       {kAlphaBlend, kCullNone, "$REFLECTION(f,0.4)", kLod2},
       "_CAR_GlassRBroken_2.mtt"},
      {"GLASSREFLECTIONBROKEN_INSIDE",
       "Broken windows seen from inside the car",
       {"TMP_Glass_Inside.dds", "TMP_GlassDirtMask_Inside.dds", "TMP_GlassBroken_Inside.dds",
        "TMP_GlassBrokenNormals_Inside.dds"},
       {kAlphaBlend, kCullNone},
       "_CAR_GlassRBroken_Inside.mtt"},
      {"GLASSREFLECTIONBROKEN_MENU",
       "Broken windows in the menus",
       {"TMP_Glass.dds", "TMP_GlassDirtMask.dds", "TMP_GlassBrokenMask.dds"},
       {kAlphaBlend, kCullNone, kMenu},
       "_CAR_GlassRBroken_MENU.mtt"},
      {"LIGHT",
       "Lamps",
       kLightTextures,
       {kOpaque, kCullBack, "$EMISSIVE(f,1.0)"},
       "_CAR_Light.mtt"},
      {"LIGHT_1",
       "Lamps, detail level 1",
       kLightTextures,
       {kOpaque, kCullBack, "$EMISSIVE(f,1.0)", kLod1},
       "_CAR_Light_1.mtt"},
      {"LIGHT_2",
       "Lamps, detail level 2",
       kLightTextures,
       {kOpaque, kCullBack, "$EMISSIVE(f,1.0)", kLod2},
       "_CAR_Light_2.mtt"},
      {"LIGHT_GHOST",
       "Ghost car lamps",
       {"TMP_Light.dds"},
       {kAlphaBlend, kCullBack, kGhost},
       "_CAR_Ghost.mtt"},
      {"LIGHT_MENU",
       "Lamps in the menus",
       {"TMP_Light.dds"},
       {kOpaque, kCullBack, kMenu},
       "_CAR_Light_MENU.mtt"},
      {"LIGHTBROKEN",
       "Broken lamps",
       kLightBrokenTextures,
       {kAlphaTest, kCullBack},
       "_CAR_LightBroken.mtt"},
      {"LIGHTBROKEN_1",
       "Broken lamps, detail level 1",
       kLightBrokenTextures,
       {kAlphaTest, kCullBack, kLod1},
       "_CAR_LightBroken_1.mtt"},
      {"LIGHTBROKEN_2",
       "Broken lamps, detail level 2",
       kLightBrokenTextures,
       {kAlphaTest, kCullBack, kLod2},
       "_CAR_LightBroken_2.mtt"},
      {"LIGHTBROKEN_MENU",
       "Broken lamps in the menus",
       kLightBrokenTextures,
       {kAlphaTest, kCullBack, kMenu},
       "_CAR_LightBroken_MENU.mtt"},
  };
}

std::string MaterialText(const MaterialSpec& entry) {
  std::string text = "// ";
  text += entry.comment;
  text += kEol;
  int n = 1;
  for (const char* texture : entry.textures) {
    text += "$TEXTURE" + std::to_string(n++) + "(s,\"" + texture + "\")";
    text += kEol;
  }
  for (const char* option : entry.options) {
    text += option;
    text += kEol;
  }
  // Backslashes are doubled inside the game's script strings.
  text += "!include(\"..\\\\..\\\\..\\\\Shaders\\\\";
  text += entry.shader;
  text += "\")";
  text += kEol;
  return text;
}

struct Replacement {
  std::string from, to;
};

void AppendSkin(std::string& text, const std::string& name, const std::vector<Replacement>& rs) {
  text += "Skin( \"" + name + "\" )";
  text += kEol;
  text += "{";
  text += kEol;
  for (const Replacement& r : rs) {
    text += "\tReplace( \"" + r.from + "\", \"" + r.to + "\" )";
    text += kEol;
  }
  text += "}";
  text += kEol;
  text += kEol;
}

// The skins of one painting. `painting` is the token of the painting the
// skins define ("TMP1" or "TMP2"); the meshes always name the painting-1
// materials, so the first painting's normal skin replaces nothing.
std::string SkinText(const std::string& painting, bool with_glass_and_lights) {
  const std::vector<std::string> body_families =
      with_glass_and_lights ? std::vector<std::string>{"Body", "BodyReflection", "BodyOpacity"}
                            : std::vector<std::string>{"Body", "BodyReflection"};
  const char* levels[] = {"", "_1", "_2"};
  std::string text;

  std::vector<Replacement> normal;
  if (painting != "TMP1") {
    for (const std::string& family : body_families) {
      for (const char* level : levels) {
        normal.push_back(
            {"TMP1_" + family + level + ".mat", painting + "_" + family + level + ".mat"});
      }
    }
  }
  AppendSkin(text, painting, normal);

  std::vector<Replacement> ghost;
  for (const std::string& family : body_families) {
    for (const char* level : levels) {
      // See-through parts vanish in the ghost car; the rest turns into the ghost paint.
      const std::string to =
          family == "BodyOpacity" ? std::string("Null.mat") : painting + "_Body_GHOST.mat";
      ghost.push_back({"TMP1_" + family + level + ".mat", to});
    }
  }
  if (with_glass_and_lights) {
    for (const char* level : levels) {
      ghost.push_back({std::string("TMP_GlassReflection") + level + ".mat", "TMP_Glass_GHOST.mat"});
      ghost.push_back(
          {std::string("TMP_GlassReflectionBroken") + level + ".mat", "TMP_Glass_GHOST.mat"});
    }
    for (const char* level : levels) {
      ghost.push_back({std::string("TMP_Light") + level + ".mat", "TMP_Light_GHOST.mat"});
      ghost.push_back({std::string("TMP_LightBroken") + level + ".mat", "TMP_Light_GHOST.mat"});
    }
  }
  AppendSkin(text, painting + "_GHOST", ghost);

  std::vector<Replacement> menu;
  for (const std::string& family : body_families) {
    for (const char* level : levels) {
      menu.push_back({"TMP1_" + family + level + ".mat", painting + "_" + family + "_MENU.mat"});
    }
  }
  if (with_glass_and_lights) {
    for (const char* level : levels) {
      menu.push_back(
          {std::string("TMP_GlassReflection") + level + ".mat", "TMP_GlassReflection_MENU.mat"});
      menu.push_back({std::string("TMP_GlassReflectionBroken") + level + ".mat",
                      "TMP_GlassReflectionBroken_MENU.mat"});
    }
    for (const char* level : levels) {
      menu.push_back({std::string("TMP_Light") + level + ".mat", "TMP_Light_MENU.mat"});
      menu.push_back({std::string("TMP_LightBroken") + level + ".mat", "TMP_LightBroken_MENU.mat"});
    }
  }
  AppendSkin(text, painting + "_MENU", menu);
  return text;
}

}  // namespace

std::vector<TextAsset> MakeMaterials() {
  std::vector<TextAsset> out;
  for (const MaterialSpec& entry : Specs()) out.push_back({entry.name, MaterialText(entry)});
  return out;
}

std::vector<TextAsset> MakeSkins() {
  return {
      {"CAR1", SkinText("TMP1", true)},
      {"CAR2", SkinText("TMP2", true)},
      {"WHEEL1", SkinText("TMP1", false)},
      {"WHEEL2", SkinText("TMP2", false)},
  };
}

std::string CheckTextTokens(const std::vector<TextAsset>& materials,
                            const std::vector<TextAsset>& skins) {
  for (const TextAsset& m : materials) {
    const bool body = m.name.starts_with("BODY");
    if (body != (m.text.find("TMP1") != std::string::npos)) {
      return "material " + m.name + (body ? " lacks" : " holds") + " the token TMP1";
    }
    if (m.text.find("TMP2") != std::string::npos) return "material " + m.name + " holds TMP2";
  }
  for (const TextAsset& s : skins) {
    const bool further = s.name.ends_with("2");
    if (further != (s.text.find("TMP2") != std::string::npos)) {
      return "skin " + s.name + (further ? " lacks" : " holds") + " the token TMP2";
    }
  }
  return {};
}

}  // namespace assetgen
