// The node tree: names, transforms split between controller and object
// offset, and each node's object.
#include <fmt/format.h>

#include "animation_import.h"
#include "host/memory_objects.h"
#include "host/scene_builder.h"
#include "import_context.h"
#include "material_import.h"
#include "name_shortening.h"
#include "source_axes.h"
#include "transform_split.h"

namespace scene_import {
namespace {

bool children_are_static(const ImportContext& c, const aiNode* node) {
  for (unsigned i = 0; i < node->mNumChildren; ++i) {
    if (c.channel(node->mChildren[i]) != nullptr) return false;
  }
  return true;
}

// Frees a source mesh's vertex and face arrays; its counts, material and
// bones stay for the steps after the nodes.
void release_arrays(aiMesh& mesh) {
  delete[] mesh.mVertices;
  delete[] mesh.mNormals;
  delete[] mesh.mTangents;
  delete[] mesh.mBitangents;
  mesh.mVertices = mesh.mNormals = mesh.mTangents = mesh.mBitangents = nullptr;
  for (auto& set : mesh.mTextureCoords) {
    delete[] set;
    set = nullptr;
  }
  for (auto& set : mesh.mColors) {
    delete[] set;
    set = nullptr;
  }
  delete[] mesh.mFaces;
  mesh.mFaces = nullptr;
  mesh.mNumFaces = 0;
}

// The node's source meshes, in order (indices outside the scene left out).
std::vector<const aiMesh*> meshes_of(const aiScene& scene, const aiNode* node) {
  std::vector<const aiMesh*> out;
  for (unsigned i = 0; i < node->mNumMeshes; ++i) {
    if (node->mMeshes[i] < scene.mNumMeshes) out.push_back(scene.mMeshes[node->mMeshes[i]]);
  }
  return out;
}

class NodeBuilder {
 public:
  explicit NodeBuilder(ImportContext& c) : c_(c) {}

  // Makes `source` a child of `parent`; `after` is a transform that follows
  // the source's local transform (a folded root, or a parent's stretch).
  void build(const aiNode* source, host::SceneNode& parent, const Matrix3& after) {
    const std::string source_name = source->mName.C_Str();
    std::string name = file_safe_name(source_name);
    if (name != source_name) {
      c_.note(fmt::format("node {}: '/', '\\' and control characters become '_': {}", source_name,
                          name));
    }
    if (name.empty()) name = fmt::format("Node{}", ++unnamed_);
    host::SceneNode& node = parent.add_child(name);
    c_.host_nodes[source] = &node;
    const aiNodeAnim* channel = c_.channel(source);
    const bool bone = c_.bone_names.count(source->mName.C_Str()) != 0;

    const Matrix3 local = host_matrix(source->mTransformation) * after;
    const TransformSplit split = split_transform(local);
    StaticTransform rest{split.position, split.rotation, split.scale};
    Matrix3 children_after;
    if (split.needs_offset) {
      // The stretch moves the object but not the children, which take it
      // into their own transforms instead; that needs them to be static.
      if (channel == nullptr && !bone && children_are_static(c_, source)) {
        node.offset_scale = split.stretch;
        ApplyScaling(children_after, split.stretch);
      } else {
        rest.scale = split.stretch_in_controller;
        c_.note(fmt::format(
            "node {}: its scale runs along turned axes; the .3da file keeps scale along the "
            "node's own axes only",
            name));
      }
    }
    // The keys take in `after` only when it is a similarity; the callers
    // make sure of that for animated nodes.
    node.controller = node_controller(c_, channel, rest, after);

    attach_object(source, node);
    for (unsigned i = 0; i < source->mNumChildren; ++i) {
      build(source->mChildren[i], node, children_after);
    }
  }

 private:
  void attach_object(const aiNode* source, host::SceneNode& node) {
    const std::vector<const aiMesh*> meshes = meshes_of(*c_.source, source);
    if (!meshes.empty()) {
      ImportedMesh imported = import_mesh(meshes);
      if (imported.skipped_faces > 0) {
        c_.note(fmt::format("node {}: {} faces that are points or lines are left out", node.name,
                            imported.skipped_faces));
      }
      if (imported.shared_groups > 0) {
        c_.note(fmt::format(
            "node {}: {} smooth regions share a smoothing group with a neighbour (more than 32 "
            "were needed)",
            node.name, imported.shared_groups));
      }
      node.object = imported.object;
      node.material = node_material(c_, meshes, node.name);
      c_.meshes.emplace(source, std::move(imported));
      // The source arrays are not needed once the last node using them has
      // its host mesh: the import holds about one copy of the geometry.
      for (unsigned i = 0; c_.releasable != nullptr && i < source->mNumMeshes; ++i) {
        const unsigned m = source->mMeshes[i];
        if (m < c_.mesh_uses.size() && c_.mesh_uses[m] > 0 && --c_.mesh_uses[m] == 0) {
          release_arrays(*c_.releasable->mMeshes[m]);
        }
      }
    } else if (c_.camera_names.count(source->mName.C_Str()) != 0) {
      node.object = host::camera_object();
    } else if (c_.light_names.count(source->mName.C_Str()) != 0) {
      node.object = host::light_object();
    } else {
      node.object = std::make_shared<host::DummyObject>(Box3());  // sized later
    }
  }

  ImportContext& c_;
  int unnamed_ = 0;
};

void index_nodes(ImportContext& c, const aiNode* node) {
  c.nodes_by_name.emplace(node->mName.C_Str(), node);
  for (unsigned i = 0; i < node->mNumMeshes; ++i) {
    if (node->mMeshes[i] < c.mesh_uses.size()) ++c.mesh_uses[node->mMeshes[i]];
  }
  for (unsigned i = 0; i < node->mNumChildren; ++i) index_nodes(c, node->mChildren[i]);
}

}  // namespace

void import_nodes(ImportContext& c) {
  const aiScene& scene = *c.source;
  for (unsigned i = 0; i < scene.mNumCameras; ++i) {
    c.camera_names.insert(scene.mCameras[i]->mName.C_Str());
  }
  for (unsigned i = 0; i < scene.mNumLights; ++i) {
    c.light_names.insert(scene.mLights[i]->mName.C_Str());
  }
  for (unsigned m = 0; m < scene.mNumMeshes; ++m) {
    for (unsigned b = 0; b < scene.mMeshes[m]->mNumBones; ++b) {
      c.bone_names.insert(scene.mMeshes[m]->mBones[b]->mName.C_Str());
    }
  }
  c.mesh_uses.assign(scene.mNumMeshes, 0);
  index_nodes(c, scene.mRootNode);

  // The source root stands for the scene itself unless it is more than a
  // transform: its transform is then folded into its children, which works
  // for static children always and for animated ones when it is a
  // similarity.
  const aiNode* root = scene.mRootNode;
  const std::string root_name = root->mName.C_Str();
  const Matrix3 root_local = host_matrix(root->mTransformation);
  const bool plain = root->mNumMeshes == 0 && c.channel(root) == nullptr &&
                     c.bone_names.count(root_name) == 0 && c.camera_names.count(root_name) == 0 &&
                     c.light_names.count(root_name) == 0;
  const bool foldable = is_similarity(root_local) || children_are_static(c, root);
  NodeBuilder builder(c);
  host::SceneNode& host_root = c.result->scene->root();
  if (plain && foldable) {
    for (unsigned i = 0; i < root->mNumChildren; ++i) {
      builder.build(root->mChildren[i], host_root, root_local);
    }
  } else {
    builder.build(root, host_root, Matrix3());
  }
}

}  // namespace scene_import
