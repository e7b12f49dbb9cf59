// Material records from host materials, the material table, and the .mat
// scripts byte for byte.
#include <algorithm>
#include <filesystem>

#include "export_fixture.h"
#include "mesh_scenes.h"
#include "scenepress/material_file_name.h"
#include "scenepress/material_record.h"
#include "scenepress/resources.h"
#include "scenepress/scenepress.h"
#include "scenepress/text_output.h"

namespace scenepress::testing {
namespace {

std::shared_ptr<host::StandardMaterial> standard(const std::string& name,
                                                 std::shared_ptr<Texmap> diffuse) {
  auto m = std::make_shared<host::StandardMaterial>(name);
  m->ambient = {0.1f, 0.2f, 0.3f};
  m->diffuse = {0.5f, 0.5f, 0.5f};
  m->specular = {1.0f, 0.5f, 0.0f};
  m->shine_strength = 0.5f;
  m->shininess = 0.25f;
  m->self_illum = {0.0f, 0.0f, 0.125f};
  m->maps[ID_DI] = std::move(diffuse);
  return m;
}

std::shared_ptr<host::BitmapMap> bitmap(const std::string& path, bool alpha = false) {
  return std::make_shared<host::BitmapMap>(path, alpha);
}

TEST(MaterialRecordTest, RecordFromABitmap) {
  auto m = standard("Paint", bitmap("C:\\cars\\maps\\paint.tga"));
  const MaterialBuild b = build_material_record(m.get(), m->GetSubTexmap(ID_DI));
  EXPECT_TRUE(b.warnings.empty());
  EXPECT_TRUE(b.error.empty());
  const model3da::MaterialRecord& r = b.record;
  EXPECT_EQ(r.name, "Paint.mat");
  EXPECT_EQ(r.textureCount, 1);
  EXPECT_EQ(r.textures[0], "paint.tga");
  EXPECT_EQ(r.textureKinds[0], 1);
  EXPECT_EQ(r.ambient, (std::array<float, 4>{0.1f, 0.2f, 0.3f, 1.0f}));
  EXPECT_EQ(r.specular, (std::array<float, 4>{0.5f, 0.25f, 0.0f, 1.0f}));
  EXPECT_EQ(r.emissive, (std::array<float, 4>{0.0f, 0.0f, 0.125f, 1.0f}));
  EXPECT_EQ(r.specularPower, 25.0f);
  EXPECT_EQ(r.flags, 0u);
  // No specular light: no specular power.
  m->shine_strength = 0.0f;
  EXPECT_EQ(build_material_record(m.get(), m->GetSubTexmap(ID_DI)).record.specularPower, 0.0f);
}

TEST(MaterialRecordTest, TextureNamesKindsAndFlags) {
  EXPECT_EQ(texture_file_name("maps/cars/body.dds"), "body.dds");
  EXPECT_EQ(texture_file_name("C:\\maps/odd\\body.dds"), "body.dds");
  EXPECT_EQ(texture_file_name("plain.dds"), "plain.dds");
  auto second = bitmap("b.tga", true);
  second->map_channel = 3;
  auto planar = bitmap("c.tga");
  planar->uvw_source = UVWSRC_WORLDXYZ;
  planar->map_channel = 2;
  auto composite = std::make_shared<host::MapWithSubs>(
      COMPOSITE_CLASS_ID, std::vector<std::shared_ptr<Texmap>>{bitmap("a.tga"), second, planar});
  auto m = standard("Layered", composite);
  m->two_sided = true;
  const model3da::MaterialRecord r = build_material_record(m.get(), composite.get()).record;
  EXPECT_EQ(r.textureCount, 3);
  EXPECT_EQ(r.textures[1], "b.tga");
  EXPECT_EQ(r.textureKinds[1], 3);
  EXPECT_EQ(r.textureKinds[2], 1);  // not explicit UVW: kind 1
  EXPECT_EQ(r.flags, 3u);           // two-sided, alpha
  auto multiply = std::make_shared<host::MapWithSubs>(
      RGBMULT_CLASS_ID, std::vector<std::shared_ptr<Texmap>>{bitmap("x.tga"), bitmap("y.tga")});
  EXPECT_EQ(build_material_record(m.get(), multiply.get()).record.textures[1], "y.tga");
}

TEST(MaterialRecordTest, WarningsGiveNoMaterial) {
  auto m = standard("Bare", nullptr);
  MaterialBuild b = build_material_record(m.get(), nullptr);
  EXPECT_EQ(b.warnings,
            (std::vector<std::string>{"Material [Bare] has no diffuse texture assigned!"}));
  EXPECT_EQ(b.record.textureCount, 0);
  EXPECT_EQ(b.record.name, "");
  auto half = std::make_shared<host::MapWithSubs>(
      RGBMULT_CLASS_ID, std::vector<std::shared_ptr<Texmap>>{bitmap("x.tga"), nullptr});
  b = build_material_record(m.get(), half.get());
  EXPECT_EQ(b.warnings, (std::vector<std::string>{"Material [Bare] has no sub texture assigned!"}));
  EXPECT_EQ(b.record.textureCount, 0);
  auto checker = std::make_shared<host::MapWithSubs>(CHECKER_CLASS_ID);
  b = build_material_record(m.get(), checker.get());
  EXPECT_TRUE(b.warnings.empty());
  EXPECT_EQ(b.record.textureCount, 0);
}

TEST(MaterialRecordTest, WhatDoesNotFitTheRecordFails) {
  auto long_name = standard(std::string(28, 'L'), bitmap("a.tga"));
  MaterialBuild b = build_material_record(long_name.get(), long_name->GetSubTexmap(ID_DI));
  EXPECT_EQ(b.error, "Material name [" + std::string(28, 'L') + "] is longer than 27 characters");
  auto fits = standard(std::string(27, 'L'), bitmap("a.tga"));
  b = build_material_record(fits.get(), fits->GetSubTexmap(ID_DI));
  EXPECT_TRUE(b.error.empty());
  EXPECT_EQ(b.record.name.size(), 31u);
  std::vector<std::shared_ptr<Texmap>> five(5, bitmap("a.tga"));
  auto composite = std::make_shared<host::MapWithSubs>(COMPOSITE_CLASS_ID, five);
  b = build_material_record(fits.get(), composite.get());
  EXPECT_EQ(b.error, "Material [" + std::string(27, 'L') +
                         "]: its composite map has 5 sub-maps, at most 4 are possible");
  auto long_texture = bitmap("maps\\" + std::string(32, 't'));
  b = build_material_record(fits.get(), long_texture.get());
  EXPECT_NE(b.error.find("longer than 31 characters"), std::string::npos);
}

class MaterialTableTest : public ExportTest {
 protected:
  void SetUp() override {
    ExportTest::SetUp();
    exporter_.ip = &scene_;
  }
  Scenepress exporter_;
};

TEST_F(MaterialTableTest, FacesShareEqualRecordsAndMultiMaterialsPickById) {
  auto paint = standard("Paint", bitmap("paint.tga"));
  auto same = standard("PaintCopy", bitmap("D:/other/folder/paint.tga"));
  auto glass = standard("Glass", bitmap("glass.tga", true));
  auto multi = std::make_shared<host::MaterialWithSubs>(
      MULTI_CLASS_ID, "Car", std::vector<std::shared_ptr<Mtl>>{paint, glass});
  EXPECT_EQ(exporter_.MaterialIndex(paint.get(), 0), 0);
  EXPECT_EQ(exporter_.MaterialIndex(same.get(), 7), 0);
  EXPECT_EQ(exporter_.MaterialIndex(multi.get(), 3), 1);  // 3 mod 2 = 1: glass
  EXPECT_EQ(exporter_.MaterialIndex(multi.get(), 4), 0);
  ASSERT_EQ(exporter_.materials.size(), 2u);
  EXPECT_EQ(exporter_.materials[0].name, "Paint.mat");
  EXPECT_EQ(exporter_.MaterialIndex(nullptr, 0), 0xFFFF);
  auto other = std::make_shared<host::MaterialWithSubs>(Class_ID(0x999, 0), "Shell");
  EXPECT_EQ(exporter_.MaterialIndex(other.get(), 0), 0xFFFF);
  auto checker = standard("Check", std::make_shared<host::MapWithSubs>(CHECKER_CLASS_ID));
  EXPECT_EQ(exporter_.MaterialIndex(checker.get(), 0), 0xFFFF);
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(exporter_.errorFlag, 0u);
}

TEST_F(MaterialTableTest, EmptyMultiMaterialGivesNoMaterialWithAWarning) {
  auto empty = std::make_shared<host::MaterialWithSubs>(MULTI_CLASS_ID, "Nothing");
  EXPECT_EQ(exporter_.MaterialIndex(empty.get(), 2), 0xFFFF);
  EXPECT_EQ(messages(),
            (std::vector<std::string>{"Material [Nothing] has no diffuse texture assigned!"}));
  auto long_name = standard(std::string(30, 'x'), bitmap("a.tga"));
  EXPECT_EQ(exporter_.MaterialIndex(long_name.get(), 0), -1);
}

TEST_F(MaterialTableTest, TheTableHolds1024Materials) {
  for (int i = 0; i < 1024; ++i) {
    auto m = standard("M" + std::to_string(i), bitmap("t" + std::to_string(i) + ".tga"));
    ASSERT_EQ(exporter_.MaterialIndex(m.get(), 0), i);
  }
  auto extra = standard("Extra", bitmap("extra.tga"));
  EXPECT_EQ(exporter_.MaterialIndex(extra.get(), 0), -1);
  EXPECT_EQ(messages(), (std::vector<std::string>{
                            "Too many materials: material [Extra] does not fit the table of 1024 "
                            "entries"}));
  EXPECT_EQ(exporter_.materials.size(), 1024u);
  // An equal record still finds its entry.
  auto again = standard("Again", bitmap("t5.tga"));
  EXPECT_EQ(exporter_.MaterialIndex(again.get(), 0), 5);
}

TEST_F(MaterialTableTest, MaterialScriptsByteForByte) {
  model3da::MaterialRecord one;
  one.name = "Paint.mat";
  one.textureCount = 1;
  one.textures[0] = "paint.tga";
  one.ambient = {0.1f, 0.2f, 0.3f, 1.0f};
  one.diffuse = {0.5f, 0.5f, 0.5f, 1.0f};
  one.specular = {0.5f, 0.25f, 0.0f, 1.0f};
  one.emissive = {0.0f, 0.0f, 0.125f, 1.0f};
  one.specularPower = 25.0f;
  model3da::MaterialRecord two = one;
  two.name = "Glass.mat";
  two.textureCount = 2;
  two.textures[1] = "dirt.tga";
  two.flags = 3;
  exporter_.materials = {one, two};
  exporter_.lightingType = 1;
  scene_.file_name = "rally.max";
  exporter_.WriteMaterialScripts();
  const std::string colours =
      "\r\n"
      "\t\tAmbientColor(0.100, 0.200, 0.300, 1.000)\r\n"
      "\t\tDiffuseColor(0.500, 0.500, 0.500, 1.000)\r\n"
      "\t\tSpecularColor(0.500, 0.250, 0.000, 1.000)\r\n"
      "\t\tEmissiveColor(0.000, 0.000, 0.125, 1.000)\r\n"
      "\t\tSpecularPow(25.000)\r\n";
  const std::string head =
      "// generated file - max export plugin\r\n"
      "// origin: rally.max\r\n"
      "\r\n"
      "Shader()\r\n"
      "{\r\n"
      "\tPass()\r\n"
      "\t{\r\n";
  auto stage = [](const std::string& image) {
    return "\t\ttmu()\r\n\t\t{\r\n\t\t\tTexture()\r\n\t\t\t{\r\n\t\t\t\tImage(\"" + image +
           "\")\r\n\t\t\t}\r\n\t\t}\r\n";
  };
  EXPECT_EQ(read_file("Paint.mat"), head + "\t\tLighting()\r\n" + stage("paint.tga") + colours +
                                        "\t}\r\n\r\n\tCull(\"cw\")\r\n}\r\n\r\n\r\n");
  EXPECT_EQ(read_file("Glass.mat"), head + "\t\tLighting()\r\n" + stage("paint.tga") +
                                        stage("dirt.tga") + colours +
                                        "\r\n\t\tAlphaFunc(\"gequal\", 128)\r\n"
                                        "\t}\r\n\r\n\tCull(\"none\")\r\n}\r\n\r\n\r\n");
  // Per-pixel lighting writes no Lighting() line.
  exporter_.lightingType = 2;
  exporter_.materials = {one};
  exporter_.WriteMaterialScripts();
  EXPECT_EQ(read_file("Paint.mat"),
            head + stage("paint.tga") + colours + "\t}\r\n\r\n\tCull(\"cw\")\r\n}\r\n\r\n\r\n");
  // A script that cannot be created is skipped, and one whose name leads out
  // of the folder is never written.
  exporter_.materials[0].name = "missing/Paint.mat";
  exporter_.WriteMaterialScripts();
  EXPECT_FALSE(std::filesystem::exists(dir_ / "missing"));
  const std::string escaped = dir_.filename().string() + "_Escaped.mat";
  exporter_.materials[0].name = "../" + escaped;
  exporter_.WriteMaterialScripts();
  EXPECT_FALSE(std::filesystem::exists(dir_.parent_path() / escaped));
  std::filesystem::remove(dir_.parent_path() / escaped);
  EXPECT_TRUE(messages().empty());
}

TEST(MaterialFileName, NamesThatLeaveTheFolderOrNameADeviceAreRefused) {
  for (const char* name :
       {"../evil",   "../../x", "/tmp/abs", "sub/dir", "a\\b",   "C:evil",
        "x:y",       "what?",   "star*",    "pipe|",   "<in>",   "quote\"",
        "tab\there", "line\n",  "del\x7f",  "NUL",     "nul",    "Con",
        "aux.body",  "PRN ",    "COM1",     "lpt9.x",  "CONIN$", "Com\xC2\xB9"}) {
    EXPECT_NE(material_file_name_fault(name), "") << name;
  }
  for (const char* name : {"Paint", "Material.001", "Material #25", "", "..", ".", "Console",
                           "nul_body", "COM10", "COM0", "LPT", "\xC3\x96lfarbe", "Body.mat"}) {
    EXPECT_EQ(material_file_name_fault(name), "") << name;
  }
  EXPECT_EQ(material_file_name_fault("../evil"), "it holds '/'");
  EXPECT_EQ(material_file_name_fault("a\nb"), "it holds the control character 0x0A");
  EXPECT_EQ(material_file_name_fault("com3.mat"), "com3 is a device name on Windows");
}

// A scene whose material names come from a file nobody checked: with .mat
// scripts on, a name that is no plain file name fails the export before
// anything is written, naming the material and the node.
class MaterialScriptExport : public ExportTest {
 protected:
  int export_with_scripts() {
    ui_.dialog_clicks.push_back({IDC_MATERIAL_SCRIPT, IDOK});
    return export_scene();
  }
};

TEST_F(MaterialScriptExport, AHostileMaterialNameFailsBeforeAnythingIsWritten) {
  // Names that fit the record; where they lead must stay free of scripts.
  const std::vector<std::filesystem::path> outside = {
      dir_.parent_path() / "sp_evil1.mat", dir_.parent_path().parent_path() / "sp_evil2.mat",
      "/tmp/sp_evil3.mat"};
  for (const auto& file : outside) std::filesystem::remove(file);
  for (const std::string name : {"../sp_evil1", "../../sp_evil2", "/tmp/sp_evil3", "D:evil",
                                 "bad\rname", "NUL", "Lpt1.body"}) {
    SCOPED_TRACE(name);
    builder_.scene.root().children.clear();
    ui_.messages.clear();
    builder_.mesh("Plain_0").material = textured_material("Paint", "paint.tga");
    builder_.mesh("Top_0").material = textured_material(name, "top.tga");  // after Plain_0
    EXPECT_EQ(export_with_scripts(), 0);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_NE(messages()[0].find("Material [" + name + "] of node [Top_0]"), std::string::npos)
        << messages()[0];
    EXPECT_NE(messages()[0].find("rename the material"), std::string::npos);
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir_))
      files.push_back(entry.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{"plugcfg"});
    for (const auto& file : outside) EXPECT_FALSE(std::filesystem::exists(file)) << file;
  }
}

TEST_F(MaterialScriptExport, PlainNamesAreWrittenAndWithoutScriptsNamesAreNotChecked) {
  builder_.mesh("Plain_0").material = textured_material("\xC3\x96lfarbe.v2", "paint.tga");
  ASSERT_EQ(export_with_scripts(), 1);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "\xC3\x96lfarbe.v2.mat"));
  // Without scripts the name only names the material in the model.
  builder_.mesh("Hull_0").material = textured_material("ns:hull", "hull.tga");
  ui_.dialog_clicks.push_back({IDOK});
  ASSERT_EQ(export_scene(), 1);
  EXPECT_TRUE(messages().empty());
  const auto materials = load()->materials;
  EXPECT_TRUE(std::any_of(materials.begin(), materials.end(),
                          [](const auto& m) { return m.name == "ns:hull.mat"; }));
}

}  // namespace
}  // namespace scenepress::testing
