// The weld of a morph target export, read from the source export's maps.
#include "scenepress/morph_target.h"

#include <fmt/format.h>

#include <fstream>
#include <optional>

#include "geometry/weld_map_file.h"
#include "model3da/byte_io.h"

namespace scenepress {
namespace {

// The corner count a weld map file starts with, or nothing when it cannot
// be read.
std::optional<uint32_t> map_corner_count(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::byte head[4];
  if (!file.read(reinterpret_cast<char*>(head), sizeof head)) return std::nullopt;
  return model3da::read_u32(head);
}

}  // namespace

geometry::Welder morph_target_welder(const model3da::NodeView& source_node,
                                     std::filesystem::path directory, std::string node_name,
                                     ErrBox err_box, std::string& detail) {
  return
      [&source_node, directory = std::move(directory), node_name = std::move(node_name),
       err_box = std::move(err_box), &detail](std::size_t s, const geometry::CornerSurface& surface,
                                              geometry::WeldMap& weld) -> geometry::GeometryError {
        using geometry::GeometryErrorKind;
        const std::string mismatch(geometry::kMessageSurfacesDoNotMatch);
        const std::string unable(geometry::kMessageUnableToOpen);
        if (s >= source_node.surfaces.size()) {
          detail = fmt::format("{}: the source node has no surface {}", node_name, s);
          return {GeometryErrorKind::kWeldMapMismatch, mismatch};
        }
        std::filesystem::path path;
        if (geometry::GeometryError e = geometry::weld_map_path(directory, node_name, s, path)) {
          detail = e.message;
          err_box(unable.c_str());
          return {GeometryErrorKind::kWeldMapUnreadable, unable};
        }
        const size_t corners = surface.corners.size();
        const uint32_t source_list = source_node.surfaces[s].record.listIndexCount;
        if (corners != source_list) {
          const std::optional<uint32_t> map_corners = map_corner_count(path);
          if (corners < source_list || !map_corners || *map_corners != corners) {
            detail = fmt::format("{}, surface {}: {} corners, the source list holds {} indices",
                                 node_name, s, corners, source_list);
            err_box(kMessageTriListsDiffer);
            return {GeometryErrorKind::kWeldMapMismatch, mismatch};
          }
        }
        geometry::GeometryError e = geometry::read_weld_map_file(path, corners, weld, detail);
        if (e.kind == GeometryErrorKind::kWeldMapUnreadable) err_box(unable.c_str());
        return e;
      };
}

bool surfaces_match_source(std::span<const model3da::SurfaceData> surfaces,
                           const model3da::NodeView& source_node) {
  if (surfaces.size() != source_node.surfaces.size()) return false;
  for (size_t s = 0; s < surfaces.size(); ++s) {
    const model3da::SurfaceRecord& record = source_node.surfaces[s].record;
    if (surfaces[s].positions.size() != record.vertexCount ||
        surfaces[s].list_indices.size() != record.listIndexCount) {
      return false;
    }
  }
  return true;
}

}  // namespace scenepress
