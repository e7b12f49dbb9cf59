// The plain description of one mesh that the geometry core turns into
// surfaces. The plug-in fills it from the host's triangle mesh at time 0;
// nothing in it refers to the host.
//
// Positions arrive transformed (object offset or skinning) and in the file's
// axes; face normals arrive as the host gives them, in the host's axes, and
// are converted here. Map channel 0 holds vertex colours (r, g, b), channels
// 1 to 4 texture coordinates (u, v, w); the alpha channel holds vertex alpha
// in x.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model3da/math.h"
#include "model3da/records.h"

namespace geometry {

using model3da::Vec2;
using model3da::Vec3;

// A 3x3 matrix, row-major, for row vectors: v' = v * M.
using Matrix3 = std::array<float, 9>;

inline constexpr Matrix3 kIdentity3{1, 0, 0, 0, 1, 0, 0, 0, 1};

inline constexpr int kMapChannelCount = 5;  // 0 vertex colour, 1..4 texture coordinates
inline constexpr int kColorChannel = 0;
inline constexpr uint32_t kNoMaterial = model3da::kNoMaterial;
// Vertex numbers are 16-bit; 0xFFFF is left unused.
inline constexpr std::size_t kMaxSurfaceVertices = 65535;

// Three vertex (or map vertex) indices.
using Triangle = std::array<uint32_t, 3>;

// The 12 bytes of skin data of one vertex: two bone indices, two 255 bytes,
// two 16-bit weights, four zero bytes.
using SkinRecord = std::array<std::byte, 12>;

struct Face {
  Triangle v{};
  uint32_t smoothing_groups = 0;  // bit mask, 0 = no group
  uint32_t material_index = 0;    // index into the exporter's material table
};

// One map channel: its map vertices and one map face per mesh face. A channel
// without map faces is absent.
struct MapChannel {
  std::vector<Vec3> vertices;
  std::vector<Triangle> faces;

  bool present() const { return !faces.empty(); }
};

struct MeshInput {
  std::string node_name;        // for messages (and weld map file names)
  bool bone = false;            // a bone: no material, and no mapping needed
  bool mirrored = false;        // negative-scale node: corners are taken 2, 1, 0
  std::vector<Vec3> positions;  // transformed, in the file's axes
  std::vector<Face> faces;
  std::vector<Vec3> face_normals;  // one per face, host axes, as the host gives them
  std::array<MapChannel, kMapChannelCount> channels;
  MapChannel alpha;  // vertex alpha in x
  // The exporter's four "Export tcoord" switches: [0] channel 1 and the vertex
  // colours, [1..3] channels 2..4.
  std::array<bool, 4> export_tex_coord{true, true, false, false};
  // Multiplies the face normals (file axes); see normal_matrix_from_object_offset.
  Matrix3 normal_matrix = kIdentity3;
  std::vector<SkinRecord> skin;  // empty, or one per position for a skinned mesh
  // The exporter's material names by table index, for messages only.
  std::vector<std::string> material_names;
};

}  // namespace geometry
