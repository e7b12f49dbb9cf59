#include "model3da/collision_section.h"

#include <fmt/format.h>

#include "model3da/byte_io.h"

namespace model3da {
namespace {

// Walks the tree whose root is at `begin` and which must lie in [begin, end).
std::string check_tree(std::span<const std::byte> file, uint32_t begin, uint32_t end,
                       TreeSummary& summary) {
  summary = TreeSummary{begin, end - begin, 0, 0};
  std::vector<uint32_t> pending{begin};
  const uint64_t max_nodes = (uint64_t(end) - begin) / kTreeNodeSize;
  while (!pending.empty()) {
    const uint32_t node = pending.back();
    pending.pop_back();
    if (++summary.node_count > max_nodes) {
      return fmt::format("tree at {} has more nodes than fit in its {} bytes", begin, end - begin);
    }
    if (!range_fits(end, node, 1, kTreeNodeSize)) {
      return fmt::format("tree node at {} runs past the end of its tree at {}", node, end);
    }
    const std::byte* p = file.data() + node;
    const uint16_t triangles = read_u16(p + 24);
    if (triangles > 0) {
      if (!range_fits(end, node, 1, kTreeLeafHeaderSize) ||
          !range_fits(end, node + kTreeLeafHeaderSize, triangles, kTriangleRecordSize)) {
        return fmt::format("tree node at {}: {} triangle records run past the end of its tree",
                           node, triangles);
      }
      if (read_u32(p + 60) != node + kTreeLeafHeaderSize) {
        return fmt::format("tree node at {}: triangle offset {} is not {}", node, read_u32(p + 60),
                           node + kTreeLeafHeaderSize);
      }
      summary.triangle_count += triangles;
    }
    for (int c = 1; c >= 0; --c) {
      const uint32_t child = read_u32(p + 28 + 4 * c);
      if (child == 0) continue;
      if (child <= node || child >= end) {
        return fmt::format("tree node at {}: child {} offset {} lies outside the tree after it",
                           node, c, child);
      }
      pending.push_back(child);
    }
  }
  return {};
}

}  // namespace

std::string read_collision_section(std::span<const std::byte> file, uint32_t offset,
                                   uint32_t node_count, CollisionSectionView& out) {
  out = CollisionSectionView{};
  out.offset = offset;
  if (offset == 0 || offset == file.size()) return {};
  if (!range_fits(file.size(), offset, 1, kCollisionHeaderSize)) {
    return fmt::format("collisionOffset {} leaves no room for the 16-byte section header", offset);
  }
  const std::byte* p = file.data() + offset;
  out.present = true;
  out.static_tree_size = read_u32(p);
  out.hull_tree_size = read_u32(p + 4);
  out.entry_count = read_u32(p + 8);
  out.entry_area_size = read_u32(p + 12);
  const uint64_t body = file.size() - offset - kCollisionHeaderSize;
  const uint64_t declared =
      uint64_t(out.static_tree_size) + out.hull_tree_size + out.entry_area_size;
  if (declared != body) {
    return fmt::format(
        "collision section sizes (static {}, hull {}, entry area {}) do not add up to the {} "
        "bytes after its header",
        out.static_tree_size, out.hull_tree_size, out.entry_area_size, body);
  }
  uint32_t at = offset + kCollisionHeaderSize;
  if (out.static_tree_size > 0) {
    TreeSummary tree;
    if (auto error = check_tree(file, at, at + out.static_tree_size, tree); !error.empty()) {
      return "static tree: " + error;
    }
    out.static_tree = tree;
    at += out.static_tree_size;
  }
  if (out.hull_tree_size > 0) {
    TreeSummary tree;
    if (auto error = check_tree(file, at, at + out.hull_tree_size, tree); !error.empty()) {
      return "hull tree: " + error;
    }
    out.hull_tree = tree;
    at += out.hull_tree_size;
  }
  const uint32_t list = at;
  const uint32_t area_end = at + out.entry_area_size;
  if (!range_fits(area_end, list, out.entry_count, kCollisionEntrySize)) {
    return fmt::format("entry count {} does not fit in the entry area of {} bytes", out.entry_count,
                       out.entry_area_size);
  }
  const uint32_t trees_begin = list + out.entry_count * kCollisionEntrySize;
  if (out.entry_count == 0 && trees_begin != area_end) {
    return fmt::format("entry area of {} bytes holds no entries", out.entry_area_size);
  }
  out.entries.reserve(out.entry_count);
  for (uint32_t i = 0; i < out.entry_count; ++i) {
    const std::byte* e = file.data() + list + i * kCollisionEntrySize;
    CollisionEntryView entry;
    entry.node_index = read_u32(e);
    entry.tree.offset = read_u32(e + 4);
    const uint32_t next = read_u32(e + 8);
    const uint32_t expected_next =
        i + 1 < out.entry_count ? list + (i + 1) * kCollisionEntrySize : 0;
    if (entry.node_index >= node_count) {
      return fmt::format("collision entry {}: node index {} is not below nodeCount {}", i,
                         entry.node_index, node_count);
    }
    if (next != expected_next) {
      return fmt::format("collision entry {}: next-entry offset {} is not {}", i, next,
                         expected_next);
    }
    const uint32_t lower = i == 0 ? trees_begin : out.entries.back().tree.offset + 1;
    if (entry.tree.offset < lower || entry.tree.offset >= area_end) {
      return fmt::format("collision entry {}: tree offset {} lies outside the entry area's trees",
                         i, entry.tree.offset);
    }
    if (i == 0 && entry.tree.offset != trees_begin) {
      return fmt::format("collision entry 0: tree offset {} is not {}", entry.tree.offset,
                         trees_begin);
    }
    out.entries.push_back(entry);
  }
  for (uint32_t i = 0; i < out.entry_count; ++i) {
    const uint32_t begin = out.entries[i].tree.offset;
    const uint32_t end = i + 1 < out.entry_count ? out.entries[i + 1].tree.offset : area_end;
    if (auto error = check_tree(file, begin, end, out.entries[i].tree); !error.empty()) {
      return fmt::format("collision entry {} tree: {}", i, error);
    }
  }
  return {};
}

}  // namespace model3da
