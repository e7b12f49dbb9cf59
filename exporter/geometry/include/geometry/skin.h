// The per-vertex skin data of a skinned mesh: the two strongest bone
// influences of a vertex, their weights normalised to sum 1 and scaled by
// 32768, in the 12-byte layout of the surface's skin array:
//   0 u8 first bone, 1 u8 second bone, 2..3 u8 255, 4 u16 first weight,
//   6 u16 second weight, 8..11 zero.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "geometry/mesh_input.h"

namespace geometry {

// One influence of a bone on a vertex: the bone's node index and its weight
// (1.0 for a rigid vertex).
struct BoneWeight {
  uint8_t bone = 0;
  float weight = 0.0f;
};

// The two strongest influences, strongest first. A later influence displaces
// a kept one only when its weight is strictly larger, so earlier influences
// win ties; with one influence the second repeats the first. Nothing for an
// empty list.
std::optional<std::array<BoneWeight, 2>> strongest_two(std::span<const BoneWeight> influences);

// The skin data of a vertex with these influences: the two strongest, their
// weights w / (w1 + w2) times 32768, truncated (a rigid vertex gives its bone
// twice with 16384 each). Weights that are negative or not finite count as
// 0; when both kept weights are 0 each gets 16384. Nothing for an empty list.
std::optional<SkinRecord> skin_record(std::span<const BoneWeight> influences);

// The bytes of a skin record with these bones and scaled weights.
SkinRecord make_skin_record(uint8_t first_bone, uint8_t second_bone, uint16_t first_weight,
                            uint16_t second_weight);

}  // namespace geometry
