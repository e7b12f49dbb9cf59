// Material records: the table entry a face's host material gives, built
// from the material's colours and its diffuse map.
//
// The diffuse map decides the textures: a bitmap gives one, a composite map
// one per sub-map, an RGB multiply map its two sub-maps; other maps give
// none, and a record without textures is no material (0xFFFF).
#pragma once

#include <string>
#include <vector>

#include "host/material.h"
#include "model3da/records.h"

namespace scenepress {

// A material name is at most 27 characters, so that it fits the record's
// name with ".mat" and a terminating zero.
inline constexpr size_t kMaxMaterialNameLength = 27;

// The material and diffuse map a face uses: the node's material, or for a
// multi/sub-object material its sub-material (face material id modulo the
// number of sub-materials).
struct FaceMaterial {
  Mtl* material = nullptr;  // null: the face has no material
  Texmap* diffuse = nullptr;
  // Set when the face has no material because a multi/sub-object material
  // has no sub-material to give.
  Mtl* empty_multi = nullptr;
};

FaceMaterial face_material(Mtl* node_material, int face_material_id);

struct MaterialBuild {
  model3da::MaterialRecord record;    // texture count 0: no material
  std::vector<std::string> warnings;  // shown; the export goes on
  std::string error;                  // set: the export fails
};

// The record of `material` with diffuse map `diffuse` (may be null).
MaterialBuild build_material_record(Mtl* material, Texmap* diffuse);

// The file name of a bitmap path: the part after the last backslash, or
// when there is none after the last slash.
std::string texture_file_name(const std::string& path);

}  // namespace scenepress
