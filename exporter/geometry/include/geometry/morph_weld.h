// The welders of morph exports: a source export welds each surface and
// writes its weld map; a target export reads the source's map instead of
// welding.
#pragma once

#include <filesystem>
#include <string>

#include "geometry/geometry_export.h"

namespace geometry {

// Welds as usual and writes the map of surface s to
// "<directory>/<node_name>.<s>" right after the weld. Fails with
// kWeldMapUnwritable, naming the file, when it cannot be written.
Welder morph_source_welder(std::filesystem::path directory, std::string node_name);

// Reads the map of surface s from "<directory>/<node_name>.<s>" and checks it
// against the surface (read_weld_map_file). `detail` receives the file and
// the reason of a failure, for the log; it must outlive the welder.
Welder morph_target_welder(std::filesystem::path directory, std::string node_name,
                           std::string& detail);

}  // namespace geometry
