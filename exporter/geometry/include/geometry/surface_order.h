// A welded surface put in vertex cache order: the triangle list through the
// strip builder in the exporter's mode (lists only, stitching on, minimum
// strip length 0, cache size 24), then the vertices renumbered in the order
// of their first use in the returned list.
#pragma once

#include "geometry/corners.h"
#include "geometry/weld.h"
#include "model3da/strip_builder.h"
#include "model3da/writer.h"

namespace geometry {

// The surface as written: each vertex takes the data of its corner in
// `weld`, the list is `weld`'s vertex of each corner, reordered by the strip
// builder (degenerate and repeated triangles left out), and the vertices
// follow first use in that list, unused ones last. `weld` must fit the
// surface (check_weld_map). The builder's messages go to `sink`.
model3da::SurfaceData ordered_surface(const CornerSurface& surface, const WeldMap& weld,
                                      const model3da::StripMessageSink& sink);

}  // namespace geometry
