#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/file_attributes.h"
#include "base/resource_store.h"
#include "base/string_table.h"
#include "ops/car_assets.h"
#include "scripts_test_support.h"

namespace {

using gm_test::ReadFile;
using gm_test::ScratchFolder;
using gm_test::WriteFile;
using wizard_test::ProgressLog;

std::string Resource(std::string_view type, std::string_view name) {
  const auto bytes = wizard::FindEmbeddedResource(type, name);
  EXPECT_TRUE(bytes.has_value()) << type << " " << name;
  if (!bytes) return {};
  return std::string(reinterpret_cast<const char*>(bytes->data()), bytes->size());
}

std::size_t Count(const std::string& text, std::string_view what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// The quoted names of the skins a skin file defines, in order.
std::vector<std::string> SkinNames(const std::string& text) {
  std::vector<std::string> names;
  for (std::size_t at = text.find("Skin("); at != std::string::npos;
       at = text.find("Skin(", at + 1)) {
    const std::size_t open = text.find('"', at);
    names.push_back(text.substr(open + 1, text.find('"', open + 1) - open - 1));
  }
  return names;
}

class AssetWriters : public ::testing::Test {
 protected:
  std::string folder() const { return scratch_.path().string(); }
  std::string file(std::string_view name) const { return ReadFile(scratch_.path() / name); }
  ScratchFolder scratch_;
  ProgressLog log_;
};

TEST_F(AssetWriters, MeshKeepsItsLengthAndNamesTheCar) {
  const std::string stored = Resource("MESHES", "102");
  ASSERT_TRUE(wizard::WriteGRMesh(folder(), "AB1.3da", 102, "AB1", log_.step()));
  const std::string written = file("AB1.3da");
  ASSERT_EQ(written.size(), stored.size());
  EXPECT_GT(Count(stored, "TMP"), 0u);
  EXPECT_EQ(Count(written, "TMP"), 0u);
  EXPECT_EQ(Count(written, "AB11_Body.mat"), 1u);
  EXPECT_EQ(Count(written, "AB1_GlassReflection.mat"), 1u);
  // Only the token bytes changed.
  for (std::size_t i = 0; i < stored.size(); ++i) {
    if (stored.compare(i, 3, "TMP") == 0) {
      EXPECT_EQ(written.substr(i, 3), "AB1");
      i += 2;
    } else {
      ASSERT_EQ(written[i], stored[i]) << "offset " << i;
    }
  }
  EXPECT_EQ(log_.files, std::vector<std::string>{"AB1.3da"});
}

TEST_F(AssetWriters, MeshByNameEqualsMeshByNumber) {
  ASSERT_TRUE(wizard::WriteGRMesh(folder(), "a.3da", "131", "XY7"));
  ASSERT_TRUE(wizard::WriteGRMesh(folder(), "b.3da", 131, "XY7"));
  EXPECT_EQ(file("a.3da"), file("b.3da"));
}

TEST_F(AssetWriters, ExhaustDummyIsWrittenByteForByte) {
  ASSERT_TRUE(
      wizard::WriteGRMesh(folder(), "AB1_ExhaustDummy.3da", "EXHAUSTDUMMY", "AB1", log_.step()));
  EXPECT_EQ(file("AB1_ExhaustDummy.3da"), Resource("MESHES", "EXHAUSTDUMMY"));
  EXPECT_EQ(log_.files, std::vector<std::string>{"AB1_ExhaustDummy.3da"});
}

TEST_F(AssetWriters, TexturesAreTheResourcesByteForByte) {
  const char* kTextures[] = {
      "BLOB",         "BODY",  "BODYDIRTMASK",    "BODYDIRTMASKGF2", "EMPTY",
      "EMPTYNORMALS", "GLASS", "GLASSBROKENMASK", "GLASSDIRTMASK",   "GLASSDIRTMASKGF2",
      "ICON",         "LIGHT", "LIGHTBROKENMASK", "LIGHTDIRTMASK",   "LIGHTDIRTMASKGF2",
      "LIGHTMASK",    "VIS"};
  for (const char* name : kTextures) {
    SCOPED_TRACE(name);
    const std::string target = std::string("AB1_") + name + ".dds";
    ASSERT_TRUE(wizard::WriteGRTexture(folder(), target, name, log_.step()));
    EXPECT_EQ(file(target), Resource("TEXTURES", name));
  }
  EXPECT_EQ(log_.files.size(), std::size(kTextures));
}

TEST_F(AssetWriters, BodyMaterialNamesThePainting) {
  const std::string stored = Resource("MATERIALS", "BODY");
  ASSERT_TRUE(wizard::WriteGRMaterial(folder(), "AB12_Body.mat", "BODY", "AB1", 2, log_.step()));
  const std::string written = file("AB12_Body.mat");
  EXPECT_EQ(written.size(), stored.size());  // nothing appended, padding became blanks
  EXPECT_NE(written.find("$TEXTURE1(s,\"AB12_Body.dds\")\r\n"), std::string::npos);
  EXPECT_NE(written.find("$TEXTURE2(s,\"AB1_BodyDirtMask.dds\")\r\n"), std::string::npos);
  EXPECT_NE(written.find("!include(\"..\\\\..\\\\..\\\\Shaders\\\\_CAR_Body.mtt\")"),
            std::string::npos);
  EXPECT_EQ(written.find("TMP"), std::string::npos);
  EXPECT_EQ(written.find('\0'), std::string::npos);
  EXPECT_EQ(written.find_first_not_of(' ', written.rfind("\r\n") + 2), std::string::npos);
  EXPECT_EQ(log_.files, std::vector<std::string>{"AB12_Body.mat"});
}

TEST_F(AssetWriters, MaterialWithoutPaintingNumberUsesZero) {
  ASSERT_TRUE(wizard::WriteGRMaterial(folder(), "x.mat", "BODY_GHOST", "AB1"));
  EXPECT_NE(file("x.mat").find("\"AB10_Body.dds\""), std::string::npos);
}

TEST_F(AssetWriters, EveryMaterialKeepsItsLength) {
  const char* kMaterials[] = {"BLOB",
                              "BODY",
                              "BODY_1",
                              "BODY_2",
                              "BODY_GHOST",
                              "BODY_MENU",
                              "BODYOPACITY",
                              "BODYOPACITY_1",
                              "BODYOPACITY_2",
                              "BODYOPACITY_MENU",
                              "BODYREFLECTION",
                              "BODYREFLECTION_1",
                              "BODYREFLECTION_2",
                              "BODYREFLECTION_MENU",
                              "GLASS_GHOST",
                              "GLASSREFLECTION",
                              "GLASSREFLECTION_1",
                              "GLASSREFLECTION_2",
                              "GLASSREFLECTION_INSIDE",
                              "GLASSREFLECTION_MENU",
                              "GLASSREFLECTIONBROKEN",
                              "GLASSREFLECTIONBROKEN_1",
                              "GLASSREFLECTIONBROKEN_2",
                              "GLASSREFLECTIONBROKEN_INSIDE",
                              "GLASSREFLECTIONBROKEN_MENU",
                              "LIGHT",
                              "LIGHT_1",
                              "LIGHT_2",
                              "LIGHT_GHOST",
                              "LIGHT_MENU",
                              "LIGHTBROKEN",
                              "LIGHTBROKEN_1",
                              "LIGHTBROKEN_2",
                              "LIGHTBROKEN_MENU"};
  for (const char* name : kMaterials) {
    SCOPED_TRACE(name);
    for (int painting : {1, 5, 9}) {
      const auto text = wizard::MakeGRMaterial(name, "Q_7", painting);
      ASSERT_TRUE(text.has_value());
      EXPECT_EQ(text->size(), Resource("MATERIALS", name).size());
      // The painting shows only in the body family.
      const std::string painted = "Q_7" + std::to_string(painting) + "_";
      EXPECT_EQ(text->find(painted) != std::string::npos, std::string(name).starts_with("BODY"));
    }
  }
}

TEST_F(AssetWriters, SkinWithThreePaintingsDefinesNineSkins) {
  ASSERT_TRUE(wizard::WriteGRSkin(folder(), "AB1.skn", "CAR", "AB1", 3, log_.step()));
  const std::string written = file("AB1.skn");
  EXPECT_EQ(SkinNames(written),
            (std::vector<std::string>{"AB11", "AB11_GHOST", "AB11_MENU", "AB12", "AB12_GHOST",
                                      "AB12_MENU", "AB13", "AB13_GHOST", "AB13_MENU"}));
  // The templates, each token the same length as its value, plus one CR LF.
  EXPECT_EQ(written.size(),
            Resource("SKINS", "CAR1").size() + 2 * Resource("SKINS", "CAR2").size() + 2);
  EXPECT_TRUE(written.ends_with("\r\n"));
  EXPECT_NE(written.find("\"AB11_Body.mat\", \"AB13_Body.mat\""), std::string::npos);
  EXPECT_NE(written.find("\"AB11_Body_2.mat\", \"AB12_Body_2.mat\""), std::string::npos);
  EXPECT_EQ(written.find("TMP"), std::string::npos);
  EXPECT_EQ(written.find('\0'), std::string::npos);
  EXPECT_EQ(log_.files, std::vector<std::string>{"AB1.skn"});
}

TEST_F(AssetWriters, SkinOfOnePaintingHoldsOnlyTheFirstTemplate) {
  const auto one = wizard::MakeGRSkin("WHEEL", "AB1", 1);
  ASSERT_TRUE(one.has_value());
  EXPECT_EQ(SkinNames(*one), (std::vector<std::string>{"AB11", "AB11_GHOST", "AB11_MENU"}));
  const auto five = wizard::MakeGRSkin("WHEEL", "AB1", 5);
  ASSERT_TRUE(five.has_value());
  const std::vector<std::string> names = SkinNames(*five);
  ASSERT_EQ(names.size(), 15u);
  EXPECT_EQ(names[12], "AB15");
  EXPECT_EQ(five->find("Glass"), std::string::npos);
}

TEST_F(AssetWriters, OlderFileIsReplacedCompletely) {
  WriteFile(scratch_.path() / "AB1_Blob.mat", std::string(20000, 'x'));
  ASSERT_TRUE(wizard::WriteGRMaterial(folder(), "AB1_Blob.mat", "BLOB", "AB1"));
  EXPECT_EQ(file("AB1_Blob.mat"), *wizard::MakeGRMaterial("BLOB", "AB1"));
}

TEST_F(AssetWriters, MissingResourceFailsWithoutReportOrFile) {
  EXPECT_FALSE(wizard::WriteGRMesh(folder(), "m.3da", "NOSUCHMESH", "AB1", log_.step()));
  EXPECT_FALSE(wizard::WriteGRMesh(folder(), "n.3da", 99, "AB1", log_.step()));
  EXPECT_FALSE(wizard::WriteGRTexture(folder(), "t.dds", "NOSUCHTEXTURE", log_.step()));
  EXPECT_FALSE(wizard::WriteGRMaterial(folder(), "x.mat", "NOSUCH", "AB1", 1, log_.step()));
  EXPECT_FALSE(wizard::WriteGRSkin(folder(), "s.skn", "TRUCK", "AB1", 2, log_.step()));
  EXPECT_TRUE(log_.files.empty());
  EXPECT_EQ(gm_test::ListFolder(scratch_.path()), "");
}

TEST_F(AssetWriters, UnwritableTargetFailsWithoutReport) {
  const std::string missing = (scratch_.path() / "no" / "such").string();
  EXPECT_FALSE(wizard::WriteGRMesh(missing, "AB1.3da", 100, "AB1", log_.step()));
  EXPECT_FALSE(wizard::WriteGRTexture(missing, "AB1_Blob.dds", "BLOB", log_.step()));
  EXPECT_FALSE(wizard::WriteGRMaterial(missing, "AB1_Blob.mat", "BLOB", "AB1", 0, log_.step()));
  EXPECT_FALSE(wizard::WriteGRSkin(missing, "AB1.skn", "CAR", "AB1", 1, log_.step()));
  // A read-only file keeps its bytes.
  WriteFile(scratch_.path() / "AB1.skn", "old");
  ASSERT_TRUE(wizard::SetFileAttributes(folder() + "/AB1.skn", wizard::kAttrReadOnly));
  EXPECT_FALSE(wizard::WriteGRSkin(folder(), "AB1.skn", "CAR", "AB1", 1, log_.step()));
  EXPECT_EQ(file("AB1.skn"), "old");
  EXPECT_TRUE(log_.files.empty());
}

TEST_F(AssetWriters, CarIdOfOtherLengthIsRefused) {
  // A longer ID would move every offset behind a material name.
  EXPECT_FALSE(wizard::WriteGRMesh(folder(), "m.3da", 100, "ABCD", log_.step()));
  EXPECT_FALSE(wizard::MakeGRMesh("BONNET", "AB").has_value());
  EXPECT_FALSE(wizard::MakeGRMaterial("BODY", "AB", 1).has_value());
  EXPECT_TRUE(log_.files.empty());
}

}  // namespace
