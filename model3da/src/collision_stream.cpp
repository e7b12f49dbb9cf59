// The collision section of a loaded model streamed to the end of its file:
// each tree is written node by node as it is split, so no tree's nodes are
// held; the entries' tree offsets and the header are written last, over
// their places.
#include <fmt/format.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "collision_split.h"
#include "collision_stream.h"
#include "collision_tree.h"
#include "model3da/collision.h"
#include "open_file.h"
#include "section_file.h"

namespace model3da {
namespace {

std::byte* put_floats(std::byte* out, std::span<const float> values) {
  for (float v : values) {
    put_f32(out, v);
    out += 4;
  }
  return out;
}

std::byte* put_box(std::byte* out, const Box& box) {
  return put_floats(put_floats(out, box.centre), box.half);
}

// Writes each node the split makes at the end of the file: its header, and
// its own triangles' records after it. Child 0, when there is one, follows
// the node's own bytes; child 1's offset is known only once child 0's
// subtree is written.
class TreeWriter {
 public:
  using Node = uint64_t;  // the node's offset in the file

  TreeWriter(SectionFile& file, const TreeTriangles& triangles)
      : file_(file), triangles_(triangles) {}

  uint64_t made(const collision::SplitNode& node) {
    const uint64_t at = file_.position();
    const auto count = uint32_t(node.own.size());
    const uint32_t header = count == 0 ? kTreeNodeSize : kTreeLeafHeaderSize;
    const uint64_t own = header + uint64_t(kTriangleRecordSize) * count;
    std::byte* out = put_box(file_.room(header), node.box);
    put_u16(out, uint16_t(count));
    put_u16(out + 2, 0);
    put_u32(out + 4, node.child[0] ? uint32_t(at + own) : 0);
    put_u32(out + 8, 0);  // child 1, see second_child()
    if (count > 0) put_u32(put_box(out + 12, node.own_box), uint32_t(at + kTreeLeafHeaderSize));
    // The records in runs that fit the file's buffer.
    constexpr uint32_t kRun = SectionFile::kBufferSize / kTriangleRecordSize;
    for (uint32_t i = 0; i < count; i += kRun) {
      const uint32_t run = std::min(kRun, count - i);
      triangles_.put_records(node.own.subspan(i, run),
                             file_.room(size_t(run) * kTriangleRecordSize));
    }
    return at;
  }

  // Child 1 of the node at `at` starts here.
  void second_child(uint64_t at) {
    std::byte offset[4];
    put_u32(offset, uint32_t(file_.position()));
    file_.overwrite(at + kChild1Field, offset);
  }

 private:
  static constexpr uint64_t kChild1Field = 32;  // after the box, the count and child 0

  SectionFile& file_;
  const TreeTriangles& triangles_;
};

struct CloseFile {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

uint64_t stream_tree(SectionFile& file, const TreeTriangles& triangles) {
  const uint64_t start = file.position();
  TreeWriter writer(file, triangles);
  collision::split_into(collision::triangle_boxes(triangles), writer);
  return file.position() - start;
}

CollisionInput gather_collision_input(const Model& model, const CrashLogSink& log,
                                      const BytesDone& done) {
  const collision::CollisionPlan plan = collision::collision_plan(model);
  // As build_tree: an empty list builds nothing, a list of 256 entries or
  // more is logged.
  auto gather = [&](const std::vector<SurfaceEntry>& entries) -> std::optional<TreeTriangles> {
    if (entries.empty()) return std::nullopt;
    if (entries.size() >= kMaxInitSize) {
      if (log) log(max_init_size_line());
      return std::nullopt;
    }
    return TreeTriangles::gather(model, entries, done);
  };
  CollisionInput input;
  input.static_tree = gather(plan.static_entries);
  input.hull_tree = gather(plan.hull_entries);
  for (const std::vector<SurfaceEntry>& entries : plan.per_node) {
    // Each new per-node tree goes in front of the list.
    if (std::optional<TreeTriangles> triangles = gather(entries)) {
      input.per_node.emplace(input.per_node.begin(), entries.front().node_index,
                             std::move(*triangles));
    }
  }
  return input;
}

std::string append_collision_section(const std::filesystem::path& path, const CollisionInput& input,
                                     const CrashLogSink& log) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  std::string error;
  std::unique_ptr<std::FILE, CloseFile> handle;
  if (ec) {
    error = fmt::format("cannot open {}: {}", path.string(), ec.message());
  } else {
    handle.reset(open_file(path, "r+b"));
    // Unbuffered: the section file buffers its writes itself.
    if (!handle || std::setvbuf(handle.get(), nullptr, _IONBF, 0) != 0 ||
        std::fseek(handle.get(), 0, SEEK_END) != 0) {
      error = fmt::format("cannot open {} for update", path.string());
    }
  }
  if (!error.empty()) {
    if (log) log(error + "\n");
    return error;
  }

  SectionFile file(handle.get(), size);
  const uint64_t section = file.position();
  std::memset(file.room(kCollisionHeaderSize), 0, kCollisionHeaderSize);
  const uint64_t static_size = input.static_tree ? stream_tree(file, *input.static_tree) : 0;
  const uint64_t hull_size = input.hull_tree ? stream_tree(file, *input.hull_tree) : 0;
  const uint64_t entries_at = file.position();
  for (size_t i = 0; i < input.per_node.size(); ++i) {
    const bool last = i + 1 == input.per_node.size();
    const uint64_t next = file.position() + kCollisionEntrySize;
    std::byte* entry = file.room(kCollisionEntrySize);
    put_u32(entry, input.per_node[i].first);
    put_u32(entry + 4, 0);
    put_u32(entry + 8, last ? 0 : uint32_t(next));
  }
  std::vector<uint32_t> tree_offsets;
  for (const auto& [node_index, triangles] : input.per_node) {
    tree_offsets.push_back(uint32_t(file.position()));
    stream_tree(file, triangles);
  }
  const uint64_t end = file.position();
  // The entries once more, now with their trees' offsets, and the header.
  Bytes entries(input.per_node.size() * kCollisionEntrySize);
  for (size_t i = 0; i < input.per_node.size(); ++i) {
    std::byte* entry = entries.data() + i * kCollisionEntrySize;
    const bool last = i + 1 == input.per_node.size();
    put_u32(entry, input.per_node[i].first);
    put_u32(entry + 4, tree_offsets[i]);
    put_u32(entry + 8, last ? 0 : uint32_t(entries_at + (i + 1) * kCollisionEntrySize));
  }
  file.overwrite(entries_at, entries);
  std::byte header[kCollisionHeaderSize];
  put_u32(header, uint32_t(static_size));
  put_u32(header + 4, uint32_t(hull_size));
  put_u32(header + 8, uint32_t(input.per_node.size()));
  put_u32(header + 12, uint32_t(end - entries_at));
  file.overwrite(section, header);
  file.finish();
  const bool closed = std::fclose(handle.release()) == 0;
  if (!file.ok() || !closed) {
    error = fmt::format("cannot write the collision section to {}", path.string());
    if (log) log(error + "\n");
  }
  return error;
}

}  // namespace model3da
