// Materials: colours, two-sided, the diffuse bitmap (embedded or on disk).
#include "material_import.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include <fmt/format.h>

#include "embedded_images.h"
#include "filesystem/ascii_case.h"
#include "host/class_ids.h"
#include "host/memory_objects.h"
#include "image_alpha.h"
#include "name_shortening.h"

namespace scene_import {
namespace {

// The host's default grey of a new material.
constexpr Color kDefaultDiffuse{0.588f, 0.588f, 0.588f};

Color color_of(const aiColor3D& c) {
  return Color{c.r, c.g, c.b};
}

using ascii::lower;

// The first bytes of a file (enough for any image header); empty when it
// cannot be read.
std::vector<uint8_t> file_head(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::vector<uint8_t> bytes(64 * 1024);
  in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
  bytes.resize(size_t(in.gcount()));
  return bytes;
}

// The texture file a material names, found beside the scene: the path as
// written (separators of either kind), then its file name alone.
std::filesystem::path find_texture(const ImportContext& c, const std::string& written) {
  std::string portable = written;
  std::replace(portable.begin(), portable.end(), '\\', '/');
  const std::filesystem::path as_written(portable);
  std::error_code ignored;
  const std::filesystem::path candidates[] = {
      as_written.is_absolute() ? as_written : c.scene_folder / as_written,
      c.scene_folder / as_written.filename()};
  for (const auto& candidate : candidates) {
    if (std::filesystem::is_regular_file(candidate, ignored)) return candidate;
  }
  return {};
}

std::string extension_of(const std::string& file) {
  const std::string ext = std::filesystem::path(file).extension().string();
  return ext.empty() ? ext : ext.substr(1);
}

// The diffuse bitmap of a source material, or null when it has none.
std::shared_ptr<host::BitmapMap> diffuse_map(ImportContext& c, const aiMaterial& m,
                                             const std::string& material_name) {
  aiString path;
  aiTextureMapping mapping = aiTextureMapping_UV;
  unsigned uv_index = 0;
  if (m.GetTexture(aiTextureType_DIFFUSE, 0, &path, &mapping, &uv_index) != AI_SUCCESS &&
      m.GetTexture(aiTextureType_BASE_COLOR, 0, &path, &mapping, &uv_index) != AI_SUCCESS) {
    return nullptr;
  }
  std::shared_ptr<host::BitmapMap> map;
  if (const aiTexture* embedded = c.source->GetEmbeddedTexture(path.C_Str())) {
    auto known = c.image_names.find(embedded);
    if (known == c.image_names.end()) {
      const unsigned index = unsigned(
          std::find(c.source->mTextures, c.source->mTextures + c.source->mNumTextures, embedded) -
          c.source->mTextures);
      std::string name = embedded_image_name(*embedded, index, c.scene_stem, c.image_file_names);
      std::vector<uint8_t> bytes = embedded_image_bytes(*embedded);
      if (bytes.empty()) {
        c.note(fmt::format("the embedded texture {} of material {} cannot be written", name,
                           material_name));
        name.clear();
      } else {
        c.image_alpha[name] = image_has_alpha(bytes, extension_of(name));
        c.result->images.push_back(EmbeddedImage{name, std::move(bytes)});
      }
      known = c.image_names.emplace(embedded, name).first;
    }
    if (known->second.empty()) return nullptr;
    map = std::make_shared<host::BitmapMap>(known->second, c.image_alpha[known->second]);
  } else {
    const std::string written = path.C_Str();
    map = std::make_shared<host::BitmapMap>(written);
    const std::filesystem::path found = find_texture(c, written);
    if (found.empty()) {
      map->bitmap.reset();  // the host cannot load it
      c.note(fmt::format("the texture {} of material {} was not found", written, material_name));
    } else {
      map->bitmap = std::make_unique<host::PlainBitmap>(
          image_has_alpha(file_head(found), extension_of(found.string())));
    }
  }
  map->name = "Diffuse";
  map->map_channel = int(uv_index) + 1;
  map->uvw_source = mapping == aiTextureMapping_UV ? UVWSRC_EXPLICIT : UVWSRC_OBJXYZ;
  return map;
}

// A name not used yet by another material (without regard to case), so that
// no two materials write the same .mat script.
std::string unique_material_name(ImportContext& c, const std::string& source_name, unsigned index) {
  std::string name = file_safe_name(source_name);
  if (name != source_name) {
    c.note(fmt::format("material {}: '/', '\\' and control characters become '_': {}", source_name,
                       name));
  }
  if (name.empty()) name = "Material" + std::to_string(index);
  std::string candidate = name;
  for (int n = 2; !c.material_names.insert(lower(candidate)).second; ++n) {
    candidate = name + "_" + std::to_string(n);
  }
  if (candidate != name) {
    c.note(fmt::format("two materials are named {}; the second is renamed {}", name, candidate));
  }
  return candidate;
}

std::shared_ptr<Mtl> standard_material(ImportContext& c, unsigned index) {
  if (const auto it = c.materials.find(index); it != c.materials.end()) return it->second;
  const aiMaterial& m = *c.source->mMaterials[index];
  aiString source_name;
  m.Get(AI_MATKEY_NAME, source_name);
  auto material =
      std::make_shared<host::StandardMaterial>(unique_material_name(c, source_name.C_Str(), index));

  aiColor3D colour;
  aiColor4D base;
  if (m.Get(AI_MATKEY_COLOR_DIFFUSE, colour) == AI_SUCCESS) {
    material->diffuse = color_of(colour);
  } else if (m.Get(AI_MATKEY_BASE_COLOR, base) == AI_SUCCESS) {
    material->diffuse = Color{base.r, base.g, base.b};
  } else {
    material->diffuse = kDefaultDiffuse;
  }
  // The host locks ambient to diffuse unless the file says otherwise.
  material->ambient =
      m.Get(AI_MATKEY_COLOR_AMBIENT, colour) == AI_SUCCESS ? color_of(colour) : material->diffuse;
  if (m.Get(AI_MATKEY_COLOR_SPECULAR, colour) == AI_SUCCESS) material->specular = color_of(colour);
  if (m.Get(AI_MATKEY_COLOR_EMISSIVE, colour) == AI_SUCCESS)
    material->self_illum = color_of(colour);
  // The source's specular exponent; the exporter writes shininess × 100.
  float exponent = 0.0f;
  if (m.Get(AI_MATKEY_SHININESS, exponent) == AI_SUCCESS && exponent > 0.0f) {
    material->shininess = exponent / 100.0f;
  }
  float strength = 1.0f;
  m.Get(AI_MATKEY_SHININESS_STRENGTH, strength);
  material->shine_strength = strength;
  int two_sided = 0;
  m.Get(AI_MATKEY_TWOSIDED, two_sided);
  material->two_sided = two_sided != 0;
  material->maps[ID_DI] = diffuse_map(c, m, material->name);
  c.materials.emplace(index, material);
  return material;
}

}  // namespace

std::shared_ptr<Mtl> node_material(ImportContext& c, std::span<const aiMesh* const> meshes,
                                   const std::string& node_name) {
  std::vector<unsigned> indices;
  for (const aiMesh* mesh : meshes) {
    if (mesh->mMaterialIndex < c.source->mNumMaterials) indices.push_back(mesh->mMaterialIndex);
  }
  if (indices.empty()) return nullptr;
  if (indices.size() == meshes.size() &&
      std::all_of(indices.begin(), indices.end(), [&](unsigned i) { return i == indices[0]; })) {
    return standard_material(c, indices[0]);
  }
  // One sub-material per source mesh, in the order of the material ids.
  std::vector<std::shared_ptr<Mtl>> subs;
  for (const aiMesh* mesh : meshes) {
    subs.push_back(mesh->mMaterialIndex < c.source->mNumMaterials
                       ? standard_material(c, mesh->mMaterialIndex)
                       : nullptr);
  }
  return std::make_shared<host::MaterialWithSubs>(MULTI_CLASS_ID, node_name + " materials",
                                                  std::move(subs));
}

}  // namespace scene_import
