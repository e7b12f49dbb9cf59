// Vertex colours and the split by material.
#include "geometry/corners.h"

#include <algorithm>
#include <numeric>

namespace geometry {

uint8_t color_byte(float value) {
  if (!(value > 0.0f)) return 0;  // also NaN
  if (value >= 1.0f) return 255;
  return uint8_t(value * 255.0f);
}

uint32_t vertex_color(const Vec3& rgb) {
  return uint32_t(color_byte(rgb[2])) | uint32_t(color_byte(rgb[1])) << 8 |
         uint32_t(color_byte(rgb[0])) << 16 | 0xFF000000u;
}

uint32_t with_alpha(uint32_t color, float alpha) {
  return (color & 0x00FFFFFFu) | uint32_t(color_byte(alpha)) << 24;
}

std::vector<MaterialRun> faces_by_material(std::span<const uint32_t> material_of_face) {
  // The distinct materials, ascending, from the places where the material
  // changes (faces usually come grouped by material).
  std::vector<uint32_t> distinct;
  for (size_t f = 0; f < material_of_face.size(); ++f)
    if (f == 0 || material_of_face[f] != material_of_face[f - 1])
      distinct.push_back(material_of_face[f]);
  std::sort(distinct.begin(), distinct.end());
  distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());

  std::vector<MaterialRun> runs(distinct.size());
  for (size_t r = 0; r < runs.size(); ++r) runs[r].material_index = distinct[r];
  if (runs.size() == 1) {
    runs[0].faces.resize(material_of_face.size());
    std::iota(runs[0].faces.begin(), runs[0].faces.end(), 0u);
    return runs;
  }
  size_t run = 0;
  for (size_t f = 0; f < material_of_face.size(); ++f) {
    const uint32_t m = material_of_face[f];
    if (runs[run].material_index != m)
      run = size_t(std::lower_bound(distinct.begin(), distinct.end(), m) - distinct.begin());
    runs[run].faces.push_back(uint32_t(f));
  }
  return runs;
}

}  // namespace geometry
