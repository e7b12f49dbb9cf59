// gm_assetgen: writes the generic car's embedded assets into a folder.
//
//   gm_assetgen OUT_DIR
//
// OUT_DIR/meshes/NAME.3da, OUT_DIR/textures/NAME.dds,
// OUT_DIR/materials/NAME.mat and OUT_DIR/skins/NAME.skn, one file per
// resource. The output depends on nothing but this program: two runs give
// the same bytes. Exit codes: 0 every file written, 1 an asset could not be
// made or written, 2 usage error.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "materials.h"
#include "meshes.h"
#include "textures.h"

namespace {

namespace stdfs = std::filesystem;

bool WriteFile(const stdfs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::cerr << "gm_assetgen: cannot write " << path.string() << "\n";
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App program{
      "gm_assetgen: writes the generic car's meshes, textures, material and skin "
      "scripts (the assets Carwright embeds) into a folder.\n"
      "Exit codes: 0 written, 1 an asset could not be made or written, 2 usage "
      "error."};
  std::string out_dir;
  program
      .add_option("OUT_DIR", out_dir,
                  "folder that receives meshes/, textures/, materials/ "
                  "and skins/")
      ->required();
  try {
    program.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return program.exit(e) == 0 ? 0 : 2;
  }
  const stdfs::path out = out_dir;
  std::error_code ec;
  for (const char* sub : {"meshes", "textures", "materials", "skins"}) {
    stdfs::create_directories(out / sub, ec);
    if (ec) {
      std::cerr << "gm_assetgen: cannot create " << (out / sub).string() << ": " << ec.message()
                << "\n";
      return 1;
    }
  }
  bool ok = true;
  for (const assetgen::TextureSpec& entry : assetgen::TextureCatalogue()) {
    ok &= WriteFile(out / "textures" / (entry.name + ".dds"), assetgen::MakeTextureFile(entry));
  }
  const std::vector<assetgen::TextAsset> materials = assetgen::MakeMaterials();
  const std::vector<assetgen::TextAsset> skins = assetgen::MakeSkins();
  if (std::string error = assetgen::CheckTextTokens(materials, skins); !error.empty()) {
    std::cerr << "gm_assetgen: " << error << "\n";
    return 1;
  }
  for (const assetgen::TextAsset& m : materials) {
    ok &= WriteFile(out / "materials" / (m.name + ".mat"), m.text);
  }
  for (const assetgen::TextAsset& s : skins) {
    ok &= WriteFile(out / "skins" / (s.name + ".skn"), s.text);
  }
  std::vector<assetgen::BinaryAsset> meshes;
  std::string error;
  if (!assetgen::MakeMeshes(meshes, error)) {
    std::cerr << "gm_assetgen: " << error << "\n";
    return 1;
  }
  for (const assetgen::BinaryAsset& mesh : meshes) {
    ok &= WriteFile(out / "meshes" / (mesh.name + ".3da"), mesh.bytes);
  }
  return ok ? 0 : 1;
}
