// Welders that write and read weld map files.
#include "geometry/morph_weld.h"

#include "geometry/weld_map_file.h"

namespace geometry {

Welder morph_source_welder(std::filesystem::path directory, std::string node_name) {
  return [directory = std::move(directory), node_name = std::move(node_name)](
             std::size_t s, const CornerSurface& surface, WeldMap& weld) -> GeometryError {
    std::filesystem::path path;
    if (GeometryError e = weld_map_path(directory, node_name, s, path)) return e;
    weld = weld_corners(surface.corners);
    return write_weld_map_file(path, weld);
  };
}

Welder morph_target_welder(std::filesystem::path directory, std::string node_name,
                           std::string& detail) {
  return [directory = std::move(directory), node_name = std::move(node_name), &detail](
             std::size_t s, const CornerSurface& surface, WeldMap& weld) -> GeometryError {
    std::filesystem::path path;
    if (GeometryError e = weld_map_path(directory, node_name, s, path)) {
      detail = e.message;
      return {GeometryErrorKind::kWeldMapUnreadable, std::string(kMessageUnableToOpen)};
    }
    return read_weld_map_file(path, surface.corners.size(), weld, detail);
  };
}

}  // namespace geometry
