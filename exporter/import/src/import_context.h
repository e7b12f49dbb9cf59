// What the steps of one import share: the source scene, the options, the
// chosen clip, the host nodes made so far and the result being filled.
#pragma once

#include <assimp/scene.h>

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "import/scene_import.h"
#include "mesh_import.h"

namespace scene_import {

struct ImportContext {
  const aiScene* source = nullptr;
  // The same scene, owned by the import: mesh arrays are released once
  // every node that uses them has its host mesh. Null: nothing is released.
  aiScene* releasable = nullptr;
  // Per source mesh, the nodes still to be made that use it.
  std::vector<unsigned> mesh_uses;
  const ImportOptions* options = nullptr;
  ImportResult* result = nullptr;
  std::filesystem::path scene_folder;
  std::string scene_stem;

  // The chosen clip (null when the file has none), its ticks per second as
  // Assimp gives them, and its node channels by node name.
  const aiAnimation* clip = nullptr;
  double clip_ticks_per_second = 0.0;
  std::map<std::string, const aiNodeAnim*> channels;

  // Names of the nodes that bones name, and of cameras and lights.
  std::set<std::string> bone_names;
  std::set<std::string> camera_names;
  std::set<std::string> light_names;

  // The host node of each source node (the dropped source root has none).
  std::map<const aiNode*, host::SceneNode*> host_nodes;
  // The first source node of each name, for bones.
  std::map<std::string, const aiNode*> nodes_by_name;

  // Host materials by source material index, made when first used.
  std::map<unsigned, std::shared_ptr<Mtl>> materials;
  // Embedded textures already taken, by texture ("" when they cannot be
  // written), the file names given (lower case) and whether each image has
  // alpha.
  std::map<const aiTexture*, std::string> image_names;
  std::set<std::string> image_file_names;
  std::map<std::string, bool> image_alpha;
  // Material names given so far (lower case).
  std::set<std::string> material_names;
  // The mesh of each node that has one, for the skins.
  std::map<const aiNode*, ImportedMesh> meshes;

  // The channel of a node in the clip, or null.
  const aiNodeAnim* channel(const aiNode* node) const {
    const auto it = channels.find(node->mName.C_Str());
    return it == channels.end() ? nullptr : it->second;
  }
  void note(std::string text) { result->notes.push_back(std::move(text)); }
};

// The steps, in the order the import runs them.
// Picks the clip named by the options; false (the error set) when the file
// has no such clip.
bool choose_animation(ImportContext& context);
// Builds the node tree with transforms, controllers and objects (meshes,
// dummies, cameras, lights).
void import_nodes(ImportContext& context);
// Gives every skinned mesh its Physique modifier.
void import_skins(ImportContext& context);
// Sizes the dummies' boxes from what lies below them.
void size_dummies(ImportContext& context);

// Host ticks of a source key time.
int source_ticks(const ImportContext& context, double time);

}  // namespace scene_import
