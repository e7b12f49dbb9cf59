// The weld map files of morph exports.
//
// A source export writes, for every surface it welds, the weld into
// "<directory>/<node name>.<surface index>"; a target export reads it back in
// place of its own weld, so both files get the same vertices in the same
// order. The file, little-endian:
//   0       u32        corner count C (3 x faces of the surface)
//   4       u32        L = vertex count - 1
//   8       u32 x C    vertex index of each corner
//   8 + 4C  u32 x L+1  for each vertex, the corner whose data it takes
#pragma once

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "geometry/geometry_error.h"
#include "geometry/weld.h"
#include "model3da/byte_io.h"

namespace geometry {

inline constexpr std::string_view kMessageUnableToOpen = "unable to open file!";
inline constexpr std::string_view kMessageSurfacesDoNotMatch =
    "Invalid 3da file specified as a morph source, surfaces do not match!";

// The file of surface `surface_index` of node `node_name` ("%s/%s.%d").
// Refused (kWeldMapUnwritable) when the name holds a path separator, a drive
// colon or a zero byte, so the file always lies inside `directory`.
GeometryError weld_map_path(const std::filesystem::path& directory, std::string_view node_name,
                            std::size_t surface_index, std::filesystem::path& out);

// The file's bytes. The map must have at least one vertex.
model3da::Bytes weld_map_bytes(const WeldMap& weld);

// Reads a map from `bytes` and checks it against a surface of
// `corner_count` corners (check_weld_map); a map whose counts differ from
// the file's length is refused too. Returns an empty text or the reason.
std::string parse_weld_map(std::span<const std::byte> bytes, std::size_t corner_count,
                           WeldMap& out);

// Writes (creates or replaces) the map file. kWeldMapUnwritable, naming the
// file, when it cannot be written; no partial file is left behind.
GeometryError write_weld_map_file(const std::filesystem::path& path, const WeldMap& weld);

// Reads and checks the map file of a surface of `corner_count` corners.
// kWeldMapUnreadable with "unable to open file!" when the file cannot be
// opened; kWeldMapMismatch with "Invalid 3da file specified as a morph
// source, surfaces do not match!" when it cannot be read or does not fit.
// `detail` receives the file name and the reason, for the log.
GeometryError read_weld_map_file(const std::filesystem::path& path, std::size_t corner_count,
                                 WeldMap& out, std::string& detail);

}  // namespace geometry
