// Physique skinning of a mesh node: the bind-pose position of every mesh
// vertex and its skin data (its two strongest bones by record index and
// their weights), and the inverse bind transforms of the node matrix table.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "geometry/mesh_input.h"
#include "host/node.h"
#include "host/object.h"
#include "model3da/math.h"

namespace scenepress {

// The first Physique modifier (class id (0x100, 0)) on the derived objects
// the node's object reference leads through, or null: the mesh is not
// skinned.
Modifier* find_physique_modifier(INode* node);

struct PhysiqueSkin {
  std::vector<Point3> positions;           // host axes, one per mesh vertex
  std::vector<geometry::SkinRecord> skin;  // one per mesh vertex
  int max_bone_index = -1;                 // the largest record index the skin names
};

// Reads the skin of `node`, whose mesh has `vertex_count` vertices, from
// `modifier`. A vertex is the sum of weight x (offset vector through the
// bone's initial transform) over its bones; rigid assignments count with
// weight 1. A bone's index is the index of the first record of `records`
// with its name (without regard to case). Then entry k of `node_matrices`
// becomes the inverse bind transform, in the file's axes, of record k when
// Physique has an initial transform for it (other entries stay).
//
// Returns an empty text, or the message that fails the export: the
// modifier's messages, a bone that is not among `records` or whose index
// passes 254, a bone without an initial transform or with one that cannot
// be inverted. Every interface obtained from Physique is released, on every
// path.
std::string read_physique_skin(Modifier* modifier, INode* node, int vertex_count,
                               std::span<INode* const> records,
                               std::vector<model3da::Matrix4>& node_matrices, PhysiqueSkin& out);

}  // namespace scenepress
