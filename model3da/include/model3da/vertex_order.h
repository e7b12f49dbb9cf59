// Renumbering a surface's vertices in the order of their first use in its
// triangle list, so that the per-vertex arrays are read front to back by the
// cache-ordered triangles.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace model3da {

// Walks `indices` in order: a vertex met for the first time gets the next free
// number, and every index is replaced by its vertex's new number. Returns, for
// each new number, the old number of the vertex now in that slot: first the
// used vertices in first-use order, then the unused ones in their old order
// (so the result always has `vertex_count` entries). Returns nothing and
// leaves `indices` untouched when an index is not below `vertex_count`.
std::optional<std::vector<std::uint32_t>> renumber_in_first_use_order(
    std::span<std::uint16_t> indices, std::size_t vertex_count);

// Moves each entry of a per-vertex array to its new slot: afterwards
// values[new] holds what values[old_of_new[new]] held. `old_of_new` is a
// result of renumber_in_first_use_order for an array of the same length.
template <typename T>
void apply_vertex_order(std::vector<T>& values, std::span<const std::uint32_t> old_of_new) {
  std::vector<T> moved;
  moved.reserve(values.size());
  for (std::uint32_t old : old_of_new) moved.push_back(std::move(values[old]));
  values = std::move(moved);
}

}  // namespace model3da
