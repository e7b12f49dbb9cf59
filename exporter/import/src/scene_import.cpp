// The import, step by step: read with Assimp, choose the clip, build the
// nodes with their objects and materials, the skins, the dummies' boxes,
// then the modeller's helpers (names, box maps) and the scene's range.
#include "import/scene_import.h"

#include <assimp/config.h>
#include <assimp/postprocess.h>
#include <assimp/Importer.hpp>

#include <functional>
#include <memory>

#include <fmt/format.h>

#include "import_context.h"
#include "name_shortening.h"
#include "uvw_box_map.h"

namespace scene_import {
namespace {

// Assimp's reason on one line.
std::string one_line(std::string text) {
  for (char& ch : text) {
    if (ch == '\n' || ch == '\r' || ch == '\t') ch = ' ';
  }
  const size_t first = text.find_first_not_of(' ');
  const size_t last = text.find_last_not_of(' ');
  return first == std::string::npos ? "unknown error" : text.substr(first, last - first + 1);
}

void each_mesh_node(host::SceneNode& node, const std::function<void(host::SceneNode&, Mesh&)>& f) {
  if (auto* tri = dynamic_cast<TriObject*>(node.EvalWorldState(0).obj)) f(node, tri->mesh);
  for (auto& child : node.children) each_mesh_node(*child, f);
}

}  // namespace

ImportResult import_scene(const std::filesystem::path& path, const ImportOptions& options) {
  ImportResult result;
  const std::string shown = path.string();

  Assimp::Importer importer;
  // Pivots baked into the nodes' transforms, not helper nodes of their own.
  importer.SetPropertyBool(AI_CONFIG_IMPORT_FBX_PRESERVE_PIVOTS, false);
  importer.SetPropertyInteger(AI_CONFIG_PP_SBP_REMOVE,
                              aiPrimitiveType_POINT | aiPrimitiveType_LINE);
  importer.SetPropertyFloat(AI_CONFIG_PP_GSN_MAX_SMOOTHING_ANGLE, 60.0f);
  const unsigned steps = aiProcess_Triangulate | aiProcess_SortByPType |
                         aiProcess_GenSmoothNormals | aiProcess_ValidateDataStructure;
  const aiScene* source = importer.ReadFile(path.string(), steps);
  // Assimp reads to the end once it has begun; a cancel is heard after it.
  if (options.cancelled && options.cancelled()) {
    result.error = shown + ": import cancelled";
    return result;
  }
  if (source == nullptr || source->mRootNode == nullptr) {
    result.error =
        shown + ": " + one_line(source ? "the file holds no scene" : importer.GetErrorString());
    return result;
  }

  // The scene is the import's from here on, so that it can release what it
  // has converted.
  const std::unique_ptr<aiScene> owned(importer.GetOrphanedScene());
  ImportContext c;
  c.source = owned.get();
  c.releasable = owned.get();
  c.options = &options;
  c.result = &result;
  std::error_code ignored;
  const std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
  c.scene_folder = absolute.parent_path();
  c.scene_stem = path.stem().string();
  result.scene = std::make_unique<host::Scene>();
  host::Scene& scene = *result.scene;
  scene.file_name = path.filename().string();
  scene.file_path = absolute.string();

  if (!choose_animation(c)) {
    result.error = shown + ": " + result.error;
    result.scene.reset();
    return result;
  }
  import_nodes(c);
  import_skins(c);
  size_dummies(c);

  if (options.shorten_names) shorten_scene_names(scene, result.renamed);
  each_mesh_node(scene.root(), [&](host::SceneNode& node, Mesh& mesh) {
    if (!options.uvw_map_box || has_texture_channel(mesh)) return;
    apply_box_map(mesh);
    result.box_mapped.push_back(node.name);
  });

  scene.anim_range =
      c.clip != nullptr ? Interval(0, source_ticks(c, c.clip->mDuration)) : Interval(0, 0);
  return result;
}

}  // namespace scene_import
