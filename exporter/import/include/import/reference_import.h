// Assimp's own import of a scene file, the peer the scene import is measured
// against: the same file read with Assimp's vertex welding and cache
// ordering steps, and the size of the model Assimp holds in memory.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace scene_import {

struct ReferenceImport {
  std::string error;  // "" when the file was read
  size_t meshes = 0;
  size_t triangles = 0;
  size_t model_bytes = 0;  // Assimp's count of the scene's memory
};

// Reads `path` with aiProcess_JoinIdenticalVertices |
// aiProcess_ImproveCacheLocality when `join_and_cache`, else with no step.
ReferenceImport reference_import(const std::filesystem::path& path, bool join_and_cache);

}  // namespace scene_import
