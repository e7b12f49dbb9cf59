// gm_assetgen: writes the generic car's embedded assets into a folder.
//
//   gm_assetgen OUT_DIR
//
// OUT_DIR/meshes/NAME.3da, OUT_DIR/textures/NAME.dds,
// OUT_DIR/materials/NAME.mat and OUT_DIR/skins/NAME.skn, one file per
// resource. The output depends on nothing but this program: two runs give
// the same bytes. Exit code 0 when every file was written, 1 otherwise.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "materials.h"
#include "meshes.h"
#include "textures.h"

namespace {

namespace fs = std::filesystem;

bool WriteFile(const fs::path& path, const std::string& bytes) {
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
  if (argc != 2) {
    std::cerr << "usage: gm_assetgen OUT_DIR\n";
    return 2;
  }
  const fs::path out = argv[1];
  std::error_code ec;
  for (const char* sub : {"meshes", "textures", "materials", "skins"}) {
    fs::create_directories(out / sub, ec);
    if (ec) {
      std::cerr << "gm_assetgen: cannot create " << (out / sub).string() << ": " << ec.message()
                << "\n";
      return 1;
    }
  }
  bool ok = true;
  for (const assetgen::TextureSpec& spec : assetgen::TextureCatalogue()) {
    ok &= WriteFile(out / "textures" / (spec.name + ".dds"), assetgen::MakeTextureFile(spec));
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
