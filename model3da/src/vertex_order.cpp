// First-use renumbering of a surface's vertices.
#include "model3da/vertex_order.h"

namespace model3da {

std::optional<std::vector<std::uint32_t>> renumber_in_first_use_order(
    std::span<std::uint16_t> indices, std::size_t vertex_count) {
  constexpr std::uint32_t kUnset = 0xFFFFFFFFu;
  for (std::uint16_t v : indices)
    if (v >= vertex_count) return std::nullopt;
  std::vector<std::uint32_t> new_of_old(vertex_count, kUnset);
  std::vector<std::uint32_t> old_of_new;
  old_of_new.reserve(vertex_count);
  for (std::uint16_t& v : indices) {
    std::uint32_t& slot = new_of_old[v];
    if (slot == kUnset) {
      slot = static_cast<std::uint32_t>(old_of_new.size());
      old_of_new.push_back(v);
    }
    v = static_cast<std::uint16_t>(slot);
  }
  for (std::size_t old = 0; old < vertex_count; ++old)
    if (new_of_old[old] == kUnset) old_of_new.push_back(static_cast<std::uint32_t>(old));
  return old_of_new;
}

}  // namespace model3da
