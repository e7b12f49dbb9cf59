// A box-projected texture map, as a modeller gives a mesh without texture
// coordinates a UVW map modifier of the box kind: each face is projected
// along the axis its normal is closest to, over the mesh's bounding box, so
// that every side of the box spans the map once.
#pragma once

#include "host/mesh.h"

namespace scene_import {

// True when the mesh has one of the texture channels 1 to 4 as the exporter
// counts them (channel 1 by its map vertices, the others by their faces).
bool has_texture_channel(const Mesh& mesh);

// Sets map channel 1 of `mesh` to the box projection: three map vertices per
// face, u and v in [0, 1].
void apply_box_map(Mesh& mesh);

}  // namespace scene_import
