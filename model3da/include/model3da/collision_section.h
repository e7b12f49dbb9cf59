// Reading the collision section of a loaded .3da file: its header, the
// per-node entries, and a structural check of every tree in it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace model3da {

inline constexpr uint32_t kCollisionHeaderSize = 16;
inline constexpr uint32_t kCollisionEntrySize = 12;
inline constexpr uint32_t kTreeNodeSize = 36;        // a node without triangles
inline constexpr uint32_t kTreeLeafHeaderSize = 64;  // a node with triangles, before them
inline constexpr uint32_t kTriangleRecordSize = 62;

// Where a tree lies and what it holds.
struct TreeSummary {
  uint32_t offset = 0;  // absolute offset of the root node
  uint32_t size = 0;    // bytes of the tree
  uint32_t node_count = 0;
  uint32_t triangle_count = 0;
};

struct CollisionEntryView {
  uint32_t node_index = 0;
  TreeSummary tree;
};

struct CollisionSectionView {
  bool present = false;  // false when the file ends before the section
  uint32_t offset = 0;
  uint32_t static_tree_size = 0;
  uint32_t hull_tree_size = 0;
  uint32_t entry_count = 0;
  uint32_t entry_area_size = 0;
  std::optional<TreeSummary> static_tree;
  std::optional<TreeSummary> hull_tree;
  std::vector<CollisionEntryView> entries;
};

// Reads and checks the collision section at `offset` of `file`. An offset of
// 0, or one equal to the file size, means the file has no section yet. The
// section must end exactly at the end of the file; entries must follow one
// another, name nodes below `node_count` and point at trees inside the entry
// area; every tree node must lie inside its tree, with children after their
// parent. Returns an empty text on success, else the reason.
std::string read_collision_section(std::span<const std::byte> file, uint32_t offset,
                                   uint32_t node_count, CollisionSectionView& out);

}  // namespace model3da
