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
  std::vector<uint32_t> order(material_of_face.size());
  std::iota(order.begin(), order.end(), 0u);
  std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    return material_of_face[a] < material_of_face[b];
  });
  std::vector<MaterialRun> runs;
  for (uint32_t f : order) {
    if (runs.empty() || runs.back().material_index != material_of_face[f]) {
      runs.push_back({material_of_face[f], {}});
    }
    runs.back().faces.push_back(f);
  }
  return runs;
}

}  // namespace geometry
