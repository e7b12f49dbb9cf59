// Source materials as host standard materials with a bitmap diffuse map,
// and the material of a node: the one material of its meshes, or a
// multi/sub-object material with one sub-material per source mesh.
#pragma once

#include <assimp/scene.h>

#include <memory>

#include "host/material.h"
#include "import_context.h"

namespace scene_import {

// The material of a node made of `meshes` (the node's source meshes in
// order); null when it has none.
std::shared_ptr<Mtl> node_material(ImportContext& context, std::span<const aiMesh* const> meshes,
                                   const std::string& node_name);

}  // namespace scene_import
