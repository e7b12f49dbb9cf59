// Random scenes around one mesh node, made from a byte string: random
// vertices (NaN, infinite, huge), faces (degenerate, illegal), smoothing
// groups, material ids and materials, map channels and vertex alpha with
// broken counts and indices, object offsets that mirror or flatten, and a
// Physique skin with random assignments, weights and bind transforms. The
// fuzz target and the random-scene test both build their scenes here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "host/scene_builder.h"
#include "model3da/model.h"

namespace scenepress::testing {

// Reads the bytes in order; past the end every byte is 0.
class ByteSource {
 public:
  explicit ByteSource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  uint8_t byte() { return pos_ < bytes_.size() ? bytes_[pos_++] : 0; }
  // A number in lo..hi (hi - lo below 2^16).
  uint32_t range(uint32_t lo, uint32_t hi);
  bool flag() { return (byte() & 1) != 0; }

 private:
  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
};

// Adds bones and one mesh node "Mesh_0" to `builder`.
void build_random_scene(ByteSource& in, host::SceneBuilder& builder);

// What a successful export must hold: every float of the surfaces' vertex
// arrays finite, every vertex count at most 65535. Returns an empty text or
// the fault.
std::string check_exported_surfaces(const model3da::Model& model);

}  // namespace scenepress::testing
