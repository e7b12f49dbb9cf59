// Assimp's own import, for comparison.
#include "import/reference_import.h"

#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <assimp/Importer.hpp>

namespace scene_import {

ReferenceImport reference_import(const std::filesystem::path& path, bool join_and_cache) {
  ReferenceImport out;
  Assimp::Importer importer;
  const unsigned steps =
      join_and_cache ? aiProcess_JoinIdenticalVertices | aiProcess_ImproveCacheLocality : 0u;
  const aiScene* scene = importer.ReadFile(path.string(), steps);
  if (scene == nullptr) {
    out.error = importer.GetErrorString();
    return out;
  }
  out.meshes = scene->mNumMeshes;
  for (unsigned m = 0; m < scene->mNumMeshes; ++m) out.triangles += scene->mMeshes[m]->mNumFaces;
  aiMemoryInfo memory;
  importer.GetMemoryRequirements(memory);
  out.model_bytes = memory.total;
  return out;
}

}  // namespace scene_import
