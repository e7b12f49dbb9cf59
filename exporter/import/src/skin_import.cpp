// Skins: a Physique modifier per skinned mesh, with rigid-blended vertices
// and the bones' transforms in the bind pose.
//
// A source bone's offset matrix takes the mesh's space to the bone's space
// in the bind pose, so the bone's bind transform in the world is the mesh's
// world transform after the offset's inverse. A vertex's offset vector is
// its bind position in the world taken into that bone space, so that the
// weighted sum of offset × bind transform gives the bind position back.
#include <fmt/format.h>

#include "host/memory_objects.h"
#include "import_context.h"
#include "source_axes.h"

namespace scene_import {
namespace {

aiMatrix4x4 source_world(const aiNode* node) {
  aiMatrix4x4 world = node->mTransformation;
  for (const aiNode* p = node->mParent; p != nullptr; p = p->mParent) {
    world = p->mTransformation * world;
  }
  return world;
}

}  // namespace

void import_skins(ImportContext& c) {
  for (auto& [source, imported] : c.meshes) {
    bool skinned = false;
    for (unsigned i = 0; i < source->mNumMeshes; ++i) {
      skinned = skinned || c.source->mMeshes[source->mMeshes[i]]->mNumBones > 0;
    }
    if (!skinned) continue;
    host::SceneNode& node = *c.host_nodes.at(source);
    const std::shared_ptr<TriObject> tri = imported.object;
    const Mesh& mesh = tri->mesh;
    const aiMatrix4x4 mesh_world = source_world(source);
    const Matrix3 mesh_world_host = host_matrix(mesh_world);

    auto physique = std::make_shared<host::PhysiqueModifier>();
    std::vector<host::PhysiqueVertex> vertices(mesh.verts.size());
    std::vector<bool> filled(mesh.verts.size(), false);
    for (unsigned k = 0; k < source->mNumMeshes; ++k) {
      const aiMesh& m = *c.source->mMeshes[source->mMeshes[k]];
      if (m.mNumBones == 0 || imported.host_vertex[k].size() != m.mNumVertices) continue;
      std::vector<std::vector<host::PhysiqueLink>> links(m.mNumVertices);
      for (unsigned b = 0; b < m.mNumBones; ++b) {
        const aiBone& bone = *m.mBones[b];
        const auto named = c.nodes_by_name.find(bone.mName.C_Str());
        const auto found =
            named == c.nodes_by_name.end() ? c.host_nodes.end() : c.host_nodes.find(named->second);
        if (found == c.host_nodes.end()) {
          c.note(fmt::format("node {}: bone {} names no node; its weights are left out", node.name,
                             bone.mName.C_Str()));
          continue;
        }
        INode* bone_node = found->second;
        aiMatrix4x4 offset_inverse = bone.mOffsetMatrix;
        offset_inverse.Inverse();
        const Matrix3 bind = host_matrix(mesh_world * offset_inverse);
        const Matrix3 into_bone = Inverse(bind);
        physique->init_tm[bone_node] = bind;
        for (unsigned w = 0; w < bone.mNumWeights; ++w) {
          const aiVertexWeight& weight = bone.mWeights[w];
          if (weight.mVertexId >= m.mNumVertices || !(weight.mWeight > 0.0f)) continue;
          const uint32_t v = imported.host_vertex[k][weight.mVertexId];
          const Point3 world = mesh.verts[v] * mesh_world_host;
          links[weight.mVertexId].push_back({bone_node, weight.mWeight, world * into_bone});
        }
      }
      // Welded vertices share their weights, so the first source vertex of
      // each host vertex gives them.
      for (unsigned v = 0; v < m.mNumVertices; ++v) {
        const uint32_t hv = imported.host_vertex[k][v];
        if (filled[hv] || links[v].empty()) continue;
        float total = 0.0f;
        for (const auto& link : links[v]) total += link.weight;
        for (auto& link : links[v]) link.weight /= total;
        vertices[hv] = host::PhysiqueVertex{RIGID_BLENDED_TYPE, std::move(links[v])};
        filled[hv] = true;
      }
    }
    // Vertices that no bone holds move with the mesh's own node.
    size_t unbound = 0;
    const Matrix3 node_tm = node.GetNodeTM(0);
    const Matrix3 into_node = Inverse(node_tm);
    for (size_t v = 0; v < vertices.size(); ++v) {
      if (filled[v]) continue;
      const Point3 world = mesh.verts[v] * mesh_world_host;
      vertices[v] = host::PhysiqueVertex{RIGID_BLENDED_TYPE, {{&node, 1.0f, world * into_node}}};
      physique->init_tm[&node] = node_tm;
      ++unbound;
    }
    if (unbound > 0) {
      c.note(fmt::format("node {}: {} vertices without bone weights move with the node itself",
                         node.name, unbound));
    }
    physique->vertices[&node] = std::move(vertices);
    node.object = std::make_shared<host::DerivedObject>(
        tri, std::vector<std::shared_ptr<Modifier>>{physique});
  }
}

}  // namespace scene_import
