// Writing the embedded generic car's meshes, textures, materials and skins.
#include <span>
#include <string>

#include "base/atomic_file.h"
#include "base/file_attributes.h"
#include "base/file_routines.h"
#include "base/game_paths.h"
#include "base/resource_store.h"
#include "base/text_routines.h"
#include "ops/car_assets.h"
#include "ops/template_text.h"

namespace wizard {
namespace {

constexpr std::string_view kMeshes = "MESHES";
constexpr std::string_view kTextures = "TEXTURES";
constexpr std::string_view kMaterials = "MATERIALS";
constexpr std::string_view kSkins = "SKINS";

// Car IDs are exactly three characters; a mesh's offsets rely on it.
constexpr std::size_t kCarIdLength = 3;

std::string AsText(std::span<const unsigned char> bytes) {
  return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

std::optional<std::string> FillMesh(std::optional<std::span<const unsigned char>> bytes,
                                    std::string_view car_id) {
  if (!bytes || car_id.size() != kCarIdLength) return std::nullopt;
  std::string mesh = AsText(*bytes);
  for (std::size_t at = mesh.find("TMP"); at != std::string::npos;
       at = mesh.find("TMP", at + kCarIdLength)) {
    mesh.replace(at, kCarIdLength, car_id);
  }
  return mesh;
}

// Replaces the file `folder` + `file_name` by `bytes` and reports it.
bool WriteAsset(std::string_view folder, std::string_view file_name, std::string_view bytes,
                const ProgressStep& progress) {
  const std::string path = AddBackslash(folder) + std::string(file_name);
  if (IsFileReadOnly(path)) return false;
  if (!ReplaceFileAtomically(ResolveGamePath(path), bytes)) return false;
  if (progress) progress(file_name);
  return true;
}

}  // namespace

std::optional<std::string> MakeGRMesh(std::string_view resource, std::string_view car_id) {
  return FillMesh(FindEmbeddedResource(kMeshes, resource), car_id);
}

std::optional<std::string> MakeGRMesh(unsigned resource_number, std::string_view car_id) {
  return FillMesh(FindEmbeddedResource(kMeshes, resource_number), car_id);
}

std::optional<std::string> MakeGRMaterial(std::string_view resource, std::string_view car_id,
                                          int painting) {
  const auto bytes = FindEmbeddedResource(kMaterials, resource);
  if (!bytes || car_id.size() != kCarIdLength || painting < 0) return std::nullopt;
  const std::string id(car_id);
  const Substitution passes[] = {{"TMP1", id + std::to_string(painting)}, {"TMP", id}};
  std::string text = ApplySubstitutions(AsText(*bytes), passes);
  ReplaceNuls(text);
  return text;
}

std::optional<std::string> MakeGRSkin(std::string_view kind, std::string_view car_id,
                                      int paintings_count) {
  const std::string first_name = std::string(kind) + "1";
  const std::string further_name = std::string(kind) + "2";
  const auto first = FindEmbeddedResource(kSkins, first_name);
  const auto further = FindEmbeddedResource(kSkins, further_name);
  if (!first || !further || car_id.size() != kCarIdLength) return std::nullopt;
  std::string text = AsText(*first);
  const std::string further_text = AsText(*further);
  for (int p = 2; p <= paintings_count; ++p) {
    const Substitution pass[] = {{"TMP2", "TMP" + std::to_string(p)}};
    text += ApplySubstitutions(further_text, pass);
  }
  const Substitution id_pass[] = {{"TMP", std::string(car_id)}};
  text = ApplySubstitutions(text, id_pass);
  ReplaceNuls(text);
  text += "\r\n";
  return text;
}

bool WriteGRMesh(std::string_view folder, std::string_view file_name, std::string_view resource,
                 std::string_view car_id, const ProgressStep& progress) {
  const std::optional<std::string> mesh = MakeGRMesh(resource, car_id);
  return mesh && WriteAsset(folder, file_name, *mesh, progress);
}

bool WriteGRMesh(std::string_view folder, std::string_view file_name, unsigned resource_number,
                 std::string_view car_id, const ProgressStep& progress) {
  const std::optional<std::string> mesh = MakeGRMesh(resource_number, car_id);
  return mesh && WriteAsset(folder, file_name, *mesh, progress);
}

bool WriteGRTexture(std::string_view folder, std::string_view file_name, std::string_view resource,
                    const ProgressStep& progress) {
  const auto bytes = FindEmbeddedResource(kTextures, resource);
  return bytes && WriteAsset(folder, file_name, AsText(*bytes), progress);
}

bool WriteGRMaterial(std::string_view folder, std::string_view file_name, std::string_view resource,
                     std::string_view car_id, int painting, const ProgressStep& progress) {
  const std::optional<std::string> text = MakeGRMaterial(resource, car_id, painting);
  return text && WriteAsset(folder, file_name, *text, progress);
}

bool WriteGRSkin(std::string_view folder, std::string_view file_name, std::string_view kind,
                 std::string_view car_id, int paintings_count, const ProgressStep& progress) {
  const std::optional<std::string> text = MakeGRSkin(kind, car_id, paintings_count);
  return text && WriteAsset(folder, file_name, *text, progress);
}

}  // namespace wizard
