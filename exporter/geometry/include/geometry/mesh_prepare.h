// The working copy of a mesh: the input checked, illegal and degenerate faces
// removed, and the corners in the order they are written.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "geometry/geometry_error.h"
#include "geometry/mesh_input.h"

namespace geometry {

struct PreparedMesh {
  std::vector<Triangle> faces;        // vertex indices, corners in written order
  std::vector<uint32_t> source_face;  // index of each kept face in MeshInput::faces
  // Map faces of the kept faces, corners in written order; empty when the
  // channel is absent. When every face is kept and the mesh is not
  // mirrored they are the input's own map faces, else copies held below;
  // so the input must outlive them.
  std::array<std::span<const Triangle>, kMapChannelCount> map_faces;
  std::span<const Triangle> alpha_faces;
  std::array<std::vector<Triangle>, kMapChannelCount + 1> map_face_copies;  // alpha last

  PreparedMesh() = default;
  PreparedMesh(PreparedMesh&&) = default;
  PreparedMesh& operator=(PreparedMesh&&) = default;
  // A copy would name the original's copies.
  PreparedMesh(const PreparedMesh&) = delete;
  PreparedMesh& operator=(const PreparedMesh&) = delete;
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
