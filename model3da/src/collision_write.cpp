// Writing the collision section: trees depth first with back-patched child
// offsets, the per-node entries with back-patched tree offsets, and the
// header with the sizes.
#include <fmt/format.h>

#include <fstream>

#include "model3da/collision.h"

namespace model3da {
namespace {

void append_box(Bytes& out, const Box& box) {
  append_floats(out, box.centre);
  append_floats(out, box.half);
}

void append_triangle(Bytes& out, const TriangleRecord& t) {
  const size_t at = out.size();
  out.resize(at + kTriangleRecordSize);
  std::byte* p = out.data() + at;
  const float values[] = {t.a[0],       t.a[1],       t.a[2],       t.uv_a[0],    t.uv_a[1],
                          t.uv_ab[0],   t.uv_ab[1],   t.uv_ac[0],   t.uv_ac[1],   t.edge_ab[0],
                          t.edge_ab[1], t.edge_ab[2], t.edge_ac[0], t.edge_ac[1], t.edge_ac[2]};
  for (float v : values) {
    put_f32(p, v);
    p += 4;
  }
  put_u16(p, t.material);
}

// Writes `node` and its subtree; `base` is the file offset of out[0].
void write_node(Bytes& out, uint32_t base, const TreeNode& node) {
  const size_t at = out.size();
  append_box(out, node.box);
  append_u16(out, uint16_t(node.triangles.size()));
  append_u16(out, 0);
  append_u32(out, 0);
  append_u32(out, 0);
  if (!node.triangles.empty()) {
    append_box(out, node.own_box);
    append_u32(out, base + uint32_t(out.size()) + 4);
    for (const TriangleRecord& t : node.triangles) append_triangle(out, t);
  }
  for (int c = 0; c < 2; ++c) {
    if (!node.child[c]) continue;
    put_u32(out.data() + at + 28 + 4 * c, base + uint32_t(out.size()));
    write_node(out, base, *node.child[c]);
  }
}

}  // namespace

uint64_t tree_size(const TreeNode& root) {
  uint64_t size = root.triangles.empty()
                      ? kTreeNodeSize
                      : kTreeLeafHeaderSize + uint64_t(kTriangleRecordSize) * root.triangles.size();
  for (const auto& child : root.child) {
    if (child) size += tree_size(*child);
  }
  return size;
}

Bytes collision_section_bytes(const CollisionSet& set, uint32_t section_offset) {
  uint64_t total = kCollisionHeaderSize;
  if (set.static_tree && set.static_tree->root) total += tree_size(*set.static_tree->root);
  if (set.hull_tree && set.hull_tree->root) total += tree_size(*set.hull_tree->root);
  for (const CollisionTree& tree : set.per_node) {
    total += kCollisionEntrySize + (tree.root ? tree_size(*tree.root) : 0);
  }
  Bytes out;
  out.reserve(size_t(total));
  out.resize(kCollisionHeaderSize, std::byte{0});
  uint32_t static_size = 0, hull_size = 0;
  if (set.static_tree && set.static_tree->root) {
    write_node(out, section_offset, *set.static_tree->root);
    static_size = uint32_t(out.size() - kCollisionHeaderSize);
  }
  if (set.hull_tree && set.hull_tree->root) {
    const size_t before = out.size();
    write_node(out, section_offset, *set.hull_tree->root);
    hull_size = uint32_t(out.size() - before);
  }
  const size_t list = out.size();
  uint32_t count = 0;
  for (size_t i = 0; i < set.per_node.size(); ++i) {
    append_u32(out, set.per_node[i].node_index);
    append_u32(out, 0);
    const bool last = i + 1 == set.per_node.size();
    append_u32(out, last ? 0 : section_offset + uint32_t(out.size()) + 4);
    ++count;
  }
  for (size_t i = 0; i < set.per_node.size(); ++i) {
    put_u32(out.data() + list + i * kCollisionEntrySize + 4, section_offset + uint32_t(out.size()));
    if (set.per_node[i].root) write_node(out, section_offset, *set.per_node[i].root);
  }
  put_u32(out.data(), static_size);
  put_u32(out.data() + 4, hull_size);
  put_u32(out.data() + 8, count);
  put_u32(out.data() + 12, uint32_t(out.size() - list));
  return out;
}

std::string append_collision_section(const std::filesystem::path& path, const CollisionSet& set,
                                     const CrashLogSink& log) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  std::string error;
  if (ec) {
    error = fmt::format("cannot open {}: {}", path.string(), ec.message());
  } else {
    const Bytes section = collision_section_bytes(set, uint32_t(size));
    std::ofstream file(path, std::ios::binary | std::ios::app);
    if (!file) {
      error = fmt::format("cannot open {} for update", path.string());
    } else if (!file.write(reinterpret_cast<const char*>(section.data()),
                           std::streamsize(section.size())) ||
               !file.flush()) {
      error = fmt::format("cannot write the collision section to {}", path.string());
    }
  }
  if (!error.empty() && log) log(error + "\n");
  return error;
}

}  // namespace model3da
