// A node's source meshes as one host triangle mesh.
//
// Vertices with the same position are welded into one host vertex (for a
// skinned mesh only when their bone weights agree too), so that faces meet
// at shared vertices and smoothing groups decide their normals. Each source
// mesh's faces get its index as material id; texture coordinate sets 0 to 3
// go to map channels 1 to 4, vertex colours to channel 0 and their alpha,
// when any is not opaque, to the alpha channel.
#pragma once

#include <assimp/mesh.h>

#include <memory>
#include <span>
#include <vector>

#include "host/object.h"

namespace scene_import {

struct ImportedMesh {
  std::shared_ptr<TriObject> object;
  // The host vertex of each source vertex: [source mesh][source vertex].
  std::vector<std::vector<uint32_t>> host_vertex;
  // Faces that are not triangles (points, lines) that were left out.
  size_t skipped_faces = 0;
  // Smoothing regions that had to share a group with a neighbour (more
  // than 32 groups would have been needed).
  size_t shared_groups = 0;
};

ImportedMesh import_mesh(std::span<const aiMesh* const> meshes);

}  // namespace scene_import
