// From the host's triangle mesh to the geometry core's mesh description:
// the node's object offset and its mirroring, the map channels a mesh
// counts, the normal matrix, and the faces with their normals and maps.
#pragma once

#include <array>
#include <span>
#include <string>

#include "geometry/mesh_input.h"
#include "host/matrix3.h"
#include "host/mesh.h"
#include "host/node.h"

namespace scenepress {

// The node's object-offset transform: the identity, then the object-offset
// translation, rotation and scale.
Matrix3 object_offset_matrix(INode* node);

// True when the node's object transform at time 0 mirrors: (row 0 x row 1)
// . row 2 < 0.
bool is_mirrored(INode* node);

// The normal matrix of an object offset (see
// geometry::normal_matrix_from_object_offset). A singular offset, which
// flattens the mesh, gives its cofactor matrix instead: the same directions
// up to scale where they are defined, so flattened faces face along the
// flattened axis (and fully collapsed ones get the fallback normal).
geometry::Matrix3 normal_matrix(const Matrix3& object_offset);

// The mesh's vertices through `transform`, in the file's axes.
std::vector<geometry::Vec3> file_positions(const Mesh& mesh, const Matrix3& transform);

// Points in the host's axes to the file's.
std::vector<geometry::Vec3> file_positions(std::span<const Point3> points);

// Fills the faces (vertex indices and smoothing groups; material indices are
// left 0), the host's face normals, and the map channels that `channels`
// marks (see present_map_channels) plus the alpha channel when the mesh has
// it. Returns an empty text, or what is wrong with a marked channel whose
// map faces do not match the faces (the message names the node).
std::string gather_mesh(const Mesh& mesh, const std::array<bool, 5>& channels,
                        geometry::MeshInput& out);

}  // namespace scenepress
