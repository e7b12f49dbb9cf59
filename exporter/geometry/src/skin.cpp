// Two-bone skin data.
#include "geometry/skin.h"

#include <cmath>

namespace geometry {
namespace {

float usable(float weight) {
  return std::isfinite(weight) && weight > 0.0f ? weight : 0.0f;
}

// w / sum times 32768, truncated, in single precision as the weights are
// (0.5 and 0.3 give exactly 0.625 and 0.375). w <= sum, so the result is at
// most 32768.
uint16_t scaled(float w, float sum) {
  return uint16_t(w / sum * 32768.0f);
}

}  // namespace

std::optional<std::array<BoneWeight, 2>> strongest_two(std::span<const BoneWeight> influences) {
  if (influences.empty()) return std::nullopt;
  BoneWeight first = influences[0];
  std::optional<BoneWeight> second;
  for (const BoneWeight& w : influences.subspan(1)) {
    if (usable(w.weight) > usable(first.weight)) {
      second = first;
      first = w;
    } else if (!second || usable(w.weight) > usable(second->weight)) {
      second = w;
    }
  }
  return std::array<BoneWeight, 2>{first, second.value_or(first)};
}

SkinRecord make_skin_record(uint8_t first_bone, uint8_t second_bone, uint16_t first_weight,
                            uint16_t second_weight) {
  SkinRecord r{};
  r[0] = std::byte(first_bone);
  r[1] = std::byte(second_bone);
  r[2] = std::byte(255);
  r[3] = std::byte(255);
  r[4] = std::byte(first_weight & 0xFF);
  r[5] = std::byte(first_weight >> 8);
  r[6] = std::byte(second_weight & 0xFF);
  r[7] = std::byte(second_weight >> 8);
  return r;
}

std::optional<SkinRecord> skin_record(std::span<const BoneWeight> influences) {
  const auto two = strongest_two(influences);
  if (!two) return std::nullopt;
  float w1 = usable((*two)[0].weight), w2 = usable((*two)[1].weight);
  if (!std::isfinite(w1 + w2)) {
    w1 *= 0.5f;
    w2 *= 0.5f;
  }
  const float sum = w1 + w2;
  const uint16_t s1 = sum > 0 ? scaled(w1, sum) : 16384;
  const uint16_t s2 = sum > 0 ? scaled(w2, sum) : 16384;
  return make_skin_record((*two)[0].bone, (*two)[1].bone, s1, s2);
}

}  // namespace geometry
