// The geometry of one mesh node, from the plain mesh description to the
// surfaces as they are written: colours and UVs, face normals and tangents,
// smoothing, one surface per material, the weld, the vertex cache order, and
// the surfaces' bytes in file layout.
//
// The plug-in fills a MeshInput from the host and calls export_geometry; a
// morph export passes a Welder that writes or reads weld map files
// (weld_map_file.h). Nothing here prints: warnings and the strip builder's
// messages come back in the result.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/corners.h"
#include "geometry/geometry_error.h"
#include "geometry/mesh_input.h"
#include "geometry/weld.h"
#include "model3da/writer.h"

namespace geometry {

inline constexpr std::string_view kMessageFaceNormal =
    "FaceNormal not correct!!! degenerate face -> try to weld vertices!";

// The mesh as corners: steps up to the split by material.
struct CornerGeometry {
  Vec3 box_min{};                       // per-axis minimum and maximum of the positions;
  Vec3 box_max{};                       // (1e30, ...) and (-1e30, ...) for a mesh without vertices
  std::vector<CornerSurface> surfaces;  // by material index, ascending
  // Messages to show without failing the export: kMessageFaceNormal once
  // when any face normal was not finite.
  std::vector<std::string> warnings;
  std::size_t bad_face_normals = 0;  // how many
};

// Steps from the mesh to its corner surfaces: the working copy (illegal and
// degenerate faces dropped, mirrored corners 2, 1, 0), the map channels and
// "No mapping applied for mesh: %s" (a mesh that is not a bone and has none of
// channels 1 to 4), the box, colours (white without vertex colours and alpha)
// and UVs (u, 1 - v), face normals and tangents, smoothing, and the faces
// split by material (bones: 0xFFFF for every face).
GeometryError build_corner_geometry(const MeshInput& input, CornerGeometry& out);

// Gives the weld of surface `surface_index`: welds its corners, or, in a
// morph target export, reads the map the source export wrote.
using Welder = std::function<GeometryError(std::size_t surface_index, const CornerSurface& surface,
                                           WeldMap& weld)>;

// The plain weld (weld_corners).
GeometryError weld_surface(std::size_t surface_index, const CornerSurface& surface, WeldMap& weld);

struct GeometryResult {
  GeometryError error;  // kind kNone on success
  Vec3 box_min{};
  Vec3 box_max{};
  std::vector<model3da::SurfaceData> surfaces;  // welded, cache-ordered
  std::vector<std::string> warnings;            // see CornerGeometry
  // The strip builder's messages, each once with its count, for the log.
  std::vector<std::string> notes;

  bool ok() const { return !error; }
};

// The whole geometry of one mesh: build_corner_geometry, then for each
// surface the weld from `welder` (weld_surface when empty), checked, and the
// cache order (ordered_surface). A surface that welds to more than 65535
// vertices fails with kTooManyVertices and a message naming the node, the
// material and the count; a weld map that does not fit fails with
// kWeldMapMismatch.
GeometryResult export_geometry(const MeshInput& input, const Welder& welder = {});

// Step 14: the surfaces' arrays (positions, normals, tangents, colours,
// skin, pair, uv 0 to 3, list indices) and then their contiguous
// SurfaceRecords, appended to `data`, whose first byte lies at absolute file
// offset `base`. Sets `surfaces_offset` to the first record's offset (0
// without surfaces). Returns an empty text or the reason nothing was appended.
std::string append_surface_bytes(model3da::Bytes& data, uint32_t base,
                                 std::span<const model3da::SurfaceData> surfaces,
                                 uint32_t& surfaces_offset);

}  // namespace geometry
