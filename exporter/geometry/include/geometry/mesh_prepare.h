// The working copy of a mesh: the input checked, illegal and degenerate faces
// removed, and the corners in the order they are written.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "geometry/geometry_error.h"
#include "geometry/mesh_input.h"

namespace geometry {

struct PreparedMesh {
  std::vector<Triangle> faces;        // vertex indices, corners in written order
  std::vector<uint32_t> source_face;  // index of each kept face in MeshInput::faces
  // Map faces of the kept faces, corners in written order; empty when the
  // channel is absent.
  std::array<std::vector<Triangle>, kMapChannelCount> map_faces;
  std::vector<Triangle> alpha_faces;
};

// Checks the input and makes the working copy. A face with a vertex index
// outside the positions is illegal, one with two equal indices degenerate;
// both are removed before anything is counted. A mirrored mesh has every
// face's corners, vertex and map faces alike, in the order 2, 1, 0.
// Refused (kInvalidInput, the message naming the node): array sizes that do
// not match (face normals, map faces of a present channel, skin), a map index
// of a kept face outside its channel, a position that is not finite, or a
// texture coordinate of an exported channel, used by a kept face, that is
// not finite. (Colours and alpha are clamped instead.)
GeometryError prepare_mesh(const MeshInput& input, PreparedMesh& out);

}  // namespace geometry
