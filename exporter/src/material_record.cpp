// Building material records from host materials.
#include "scenepress/material_record.h"

#include <fmt/format.h>

#include "host/class_ids.h"

namespace scenepress {
namespace {

std::string no_diffuse(const std::string& name) {
  return fmt::format("Material [{}] has no diffuse texture assigned!", name);
}

std::string no_sub_texture(const std::string& name) {
  return fmt::format("Material [{}] has no sub texture assigned!", name);
}

std::array<float, 4> rgba(const Color& c) {
  return {c.r, c.g, c.b, 1.0f};
}

}  // namespace

FaceMaterial face_material(Mtl* node_material, int face_material_id) {
  FaceMaterial out;
  if (node_material == nullptr) return out;
  const Class_ID id = node_material->ClassID();
  if (id == MULTI_CLASS_ID) {
    const int count = node_material->NumSubMtls();
    Mtl* sub = count > 0 ? node_material->GetSubMtl(face_material_id % count) : nullptr;
    if (sub == nullptr) {
      out.empty_multi = node_material;
      return out;
    }
    out.material = sub;
    out.diffuse = sub->GetSubTexmap(ID_DI);
  } else if (id == DMTL_CLASS_ID) {
    out.material = node_material;
    out.diffuse = node_material->GetSubTexmap(ID_DI);
  }
  return out;
}

std::string texture_file_name(const std::string& path) {
  size_t cut = path.rfind('\\');
  if (cut == std::string::npos) cut = path.rfind('/');
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

MaterialBuild build_material_record(Mtl* material, Texmap* diffuse) {
  MaterialBuild out;
  const std::string name = material->GetName();
  if (diffuse == nullptr) {
    out.warnings.push_back(no_diffuse(name));
    return out;
  }
  // The maps that give the textures, in order.
  std::vector<Texmap*> maps;
  const Class_ID map_class = diffuse->ClassID();
  if (map_class == BMTEX_CLASS_ID) {
    maps = {diffuse};
  } else if (map_class == COMPOSITE_CLASS_ID) {
    const int count = diffuse->NumSubTexmaps();
    if (count > model3da::kMaxTextures) {
      out.error =
          fmt::format("Material [{}]: its composite map has {} sub-maps, at most {} are possible",
                      name, count, model3da::kMaxTextures);
      return out;
    }
    for (int i = 0; i < count; ++i) maps.push_back(diffuse->GetSubTexmap(i));
  } else if (map_class == RGBMULT_CLASS_ID) {
    maps = {diffuse->GetSubTexmap(0), diffuse->GetSubTexmap(1)};
  } else {
    return out;
  }
  model3da::MaterialRecord& r = out.record;
  for (Texmap* map : maps) {
    auto* bitmap = dynamic_cast<BitmapTex*>(map);
    if (bitmap == nullptr) {
      out.warnings.push_back(no_sub_texture(name));
      out.record = model3da::MaterialRecord();
      return out;
    }
    const std::string file = texture_file_name(bitmap->GetMapName());
    if (file.size() >= model3da::kNameSize) {
      out.error = fmt::format("Material [{}]: texture name {} is longer than {} characters", name,
                              file, model3da::kNameSize - 1);
      return out;
    }
    const int slot = r.textureCount++;
    r.textures[size_t(slot)] = file;
    r.textureKinds[size_t(slot)] =
        bitmap->GetUVWSource() != UVWSRC_EXPLICIT ? 1 : bitmap->GetMapChannel();
    if (Bitmap* image = bitmap->GetBitmap(0); image != nullptr && image->HasAlpha()) r.flags |= 2;
  }
  if (r.textureCount == 0) return out;
  if (name.size() > kMaxMaterialNameLength) {
    out.error = fmt::format("Material name [{}] is longer than {} characters", name,
                            kMaxMaterialNameLength);
    return out;
  }
  r.name = name + ".mat";
  if (auto* standard = dynamic_cast<StdMat*>(material); standard && standard->GetTwoSided()) {
    r.flags |= 1;
  }
  const Color specular = material->GetSpecular(0, false);
  const float strength = material->GetShinStr(0, false);
  const Color lit{specular.r * strength, specular.g * strength, specular.b * strength};
  r.ambient = rgba(material->GetAmbient(0, false));
  r.diffuse = rgba(material->GetDiffuse(0, false));
  r.specular = rgba(lit);
  r.emissive = rgba(material->GetSelfIllumColor(0, false));
  const bool shiny = lit.r != 0.0f || lit.g != 0.0f || lit.b != 0.0f;
  r.specularPower = shiny ? material->GetShininess(0, false) * 100.0f : 0.0f;
  return out;
}

}  // namespace scenepress
