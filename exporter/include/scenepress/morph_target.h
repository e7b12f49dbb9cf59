// The weld of a morph target export: each surface of a mesh takes the weld
// map that the source export wrote for the same surface of the node with
// the same name, so that the two files have the same vertices in the same
// order.
#pragma once

#include <filesystem>
#include <functional>
#include <span>
#include <string>

#include "geometry/geometry_export.h"
#include "model3da/model.h"
#include "model3da/writer.h"

namespace scenepress {

inline constexpr const char* kMessageTriListsDiffer = "src tri list != dest tri list";

// Shows one of the target export's own "Err.." boxes (the error flag is not
// set).
using ErrBox = std::function<void(const char* text)>;

// The welder of surface s: the target's corner count must match the source
// surface's list index count, else "src tri list != dest tri list" (an
// "Err.." box) and kWeldMapMismatch. A list that is shorter than the
// corners only because the strip builder dropped triangles that the weld
// made degenerate or repeated is recognised by the map's own corner count.
// Then the map of surface s is read from `directory` (see
// geometry::read_weld_map_file): a map that cannot be opened shows "unable
// to open file!" (an "Err.." box) and gives kWeldMapUnreadable; one that
// does not fit gives kWeldMapMismatch. `source_node` (and the model it
// belongs to) must outlive the welder, and so must `detail`, which receives
// the file and the reason of a failure.
geometry::Welder morph_target_welder(const model3da::NodeView& source_node,
                                     std::filesystem::path directory, std::string node_name,
                                     ErrBox err_box, std::string& detail);

// True when every surface has the vertex count and list index count of the
// source node's surface with the same index (the same weld map gives the
// same lists; anything else means the maps did not belong to these
// surfaces).
bool surfaces_match_source(std::span<const model3da::SurfaceData> surfaces,
                           const model3da::NodeView& source_node);

}  // namespace scenepress
