// Cache order and first-use numbering of a welded surface.
#include "geometry/surface_order.h"

#include <cassert>

#include "model3da/vertex_order.h"

namespace geometry {

model3da::SurfaceData ordered_surface(const CornerSurface& surface, const WeldMap& weld,
                                      const model3da::StripMessageSink& sink) {
  const size_t vertex_count = weld.corner_of_vertex.size();
  std::vector<uint16_t> welded(weld.vertex_of_corner.begin(), weld.vertex_of_corner.end());
  std::vector<model3da::PrimitiveGroup> groups =
      model3da::generate_strips(welded, model3da::kExporterStripSettings, sink);
  assert(groups.size() == 1 && groups[0].type == model3da::PrimitiveType::kList);
  std::vector<uint16_t>& list = groups[0].indices;
  const std::optional<std::vector<uint32_t>> old_of_new =
      model3da::renumber_in_first_use_order(list, vertex_count);
  assert(old_of_new);  // the list holds only welded vertex numbers

  model3da::SurfaceData out;
  out.material_index = surface.material_index;
  out.positions.reserve(vertex_count);
  out.normals.reserve(vertex_count);
  out.tangents.reserve(vertex_count);
  out.colors.reserve(vertex_count);
  out.skin.reserve(vertex_count);
  for (auto& uv : out.uv) uv.reserve(vertex_count);
  for (uint32_t old : *old_of_new) {
    const Corner& c = surface.corners[weld.corner_of_vertex[old]];
    out.positions.push_back(c.position);
    out.normals.push_back(c.normal);
    out.tangents.push_back(c.tangent);
    out.colors.push_back(c.color);
    out.skin.push_back(c.skin);
    for (int t = 0; t < 4; ++t) out.uv[t].push_back(c.uv[t]);
  }
  out.list_indices = std::move(list);
  return out;
}

}  // namespace geometry
