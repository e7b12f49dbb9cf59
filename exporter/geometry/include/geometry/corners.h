// Face corners with everything a vertex carries, and the split of a mesh's
// faces into one surface per material.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "geometry/mesh_input.h"

namespace geometry {

inline constexpr uint32_t kWhite = 0xFFFFFFFF;

// Everything one vertex of a surface holds. The per-vertex pair of the file
// is always zero and is not kept.
struct Corner {
  Vec3 position{};
  Vec3 normal{};
  Vec3 tangent{};
  uint32_t color = kWhite;  // bytes blue, green, red, alpha (low byte first)
  std::array<Vec2, 4> uv{};
  SkinRecord skin{};
};

// The corners of one surface: 3 per face, faces in mesh order.
struct CornerSurface {
  uint32_t material_index = kNoMaterial;
  std::vector<Corner> corners;
};

// A colour value as a byte: clamped to 0..1 (NaN gives 0), times 255,
// truncated.
uint8_t color_byte(float value);

// The colour of a vertex colour (r, g, b) with alpha 255: bytes blue, green,
// red, alpha from (z, y, x).
uint32_t vertex_color(const Vec3& rgb);

// `color` with its alpha byte replaced by `alpha` (clamped to 0..1) times 255.
uint32_t with_alpha(uint32_t color, float alpha);

// The kept faces grouped by material index, ascending; faces keep their mesh
// order within a group. Returns, per group, the material index and the face
// numbers.
struct MaterialRun {
  uint32_t material_index = kNoMaterial;
  std::vector<uint32_t> faces;
};
std::vector<MaterialRun> faces_by_material(std::span<const uint32_t> material_of_face);

}  // namespace geometry
