// The collision section of a loaded model streamed to the end of its file:
// each tree is built, written and freed before the next, so only one tree is
// held at a time; the entries' tree offsets and the header are written last,
// over their places.
#include <fmt/format.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "collision_tree.h"
#include "model3da/collision.h"

namespace model3da {
namespace {

// Buffered writes at the end of a file opened for update, and small
// overwrites of what was written before.
class SectionFile {
 public:
  explicit SectionFile(std::FILE* file, uint64_t end) : file_(file), position_(end) {
    buffer_.resize(kBufferSize);
  }

  uint64_t position() const { return position_; }

  // Room for the next n bytes (at most 64 KiB), to be filled at once.
  std::byte* room(size_t n) {
    if (used_ + n > kBufferSize) flush();
    std::byte* at = buffer_.data() + used_;
    used_ += n;
    position_ += n;
    return at;
  }

  // Overwrites bytes written before: in the buffer where they still lie
  // there, else in the file, coming back to its end.
  void overwrite(uint64_t at, std::span<const std::byte> bytes) {
    const uint64_t buffered = position_ - used_;  // where buffer_[0] goes
    const size_t in_file =
        size_t(std::min<uint64_t>(bytes.size(), buffered - std::min(at, buffered)));
    if (in_file > 0) {
      ok_ = ok_ && std::fseek(file_, long(at), SEEK_SET) == 0 &&
            std::fwrite(bytes.data(), 1, in_file, file_) == in_file &&
            std::fseek(file_, 0, SEEK_END) == 0;
    }
    if (in_file < bytes.size()) {
      std::memcpy(buffer_.data() + (at + in_file - buffered), bytes.data() + in_file,
                  bytes.size() - in_file);
    }
  }

  void flush() {
    if (used_ > 0) {
      ok_ = ok_ && std::fwrite(buffer_.data(), 1, used_, file_) == used_;
      used_ = 0;
    }
  }

  bool ok() const { return ok_; }

  static constexpr size_t kBufferSize = 64 * 1024;

 private:
  std::FILE* file_;
  uint64_t position_;
  Bytes buffer_;
  size_t used_ = 0;
  bool ok_ = true;
};

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

// Writes a split tree, node by node in file order; returns its bytes.
uint64_t write_tree(SectionFile& file, const collision::FlatTree& tree,
                    const TreeTriangles& triangles) {
  const uint64_t start = file.position();
  for (const collision::FlatNode& node : tree.nodes) {
    const uint64_t at = file.position();
    const uint32_t header = node.count == 0 ? kTreeNodeSize : kTreeLeafHeaderSize;
    const uint64_t own = header + uint64_t(kTriangleRecordSize) * node.count;
    const bool has0 = node.child[0] != collision::kNoChild;
    const bool has1 = node.child[1] != collision::kNoChild;
    const uint64_t child0 = at + own;
    const uint64_t child1 = child0 + (has0 ? tree.nodes[size_t(node.child[0])].subtree_bytes : 0);
    std::byte* out = put_box(file.room(header), node.box);
    put_u16(out, uint16_t(node.count));
    put_u16(out + 2, 0);
    put_u32(out + 4, has0 ? uint32_t(child0) : 0);
    put_u32(out + 8, has1 ? uint32_t(child1) : 0);
    if (node.count > 0) {
      put_u32(put_box(out + 12, node.own_box), uint32_t(at + kTreeLeafHeaderSize));
    }
    // The records in runs that fit the file's buffer.
    constexpr uint32_t kRun = SectionFile::kBufferSize / kTriangleRecordSize;
    for (uint32_t i = node.first; i < node.first + node.count; i += kRun) {
      const uint32_t run = std::min(kRun, node.first + node.count - i);
      triangles.put_records(std::span(tree.order).subspan(i, run),
                            file.room(size_t(run) * kTriangleRecordSize));
    }
  }
  return file.position() - start;
}

// Builds the tree of `triangles` and writes it; returns its bytes.
uint64_t build_and_write(SectionFile& file, const TreeTriangles& triangles) {
  const collision::FlatTree tree = collision::split_boxes(collision::triangle_boxes(triangles));
  return write_tree(file, tree, triangles);
}

struct CloseFile {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

CollisionInput gather_collision_input(const Model& model, const CrashLogSink& log) {
  const collision::CollisionPlan plan = collision::collision_plan(model);
  // As build_tree: an empty list builds nothing, a list of 256 entries or
  // more is logged.
  auto gather = [&](const std::vector<SurfaceEntry>& entries) -> std::optional<TreeTriangles> {
    if (entries.empty()) return std::nullopt;
    if (entries.size() >= kMaxInitSize) {
      if (log) log(max_init_size_line());
      return std::nullopt;
    }
    return TreeTriangles::gather(model, entries);
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
#ifdef _WIN32
    handle.reset(_wfopen(path.c_str(), L"r+b"));
#else
    handle.reset(std::fopen(path.c_str(), "r+b"));
#endif
    if (!handle || std::fseek(handle.get(), 0, SEEK_END) != 0) {
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
  const uint64_t static_size = input.static_tree ? build_and_write(file, *input.static_tree) : 0;
  const uint64_t hull_size = input.hull_tree ? build_and_write(file, *input.hull_tree) : 0;
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
    build_and_write(file, triangles);
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
  file.flush();
  const bool closed = std::fclose(handle.release()) == 0;
  if (!file.ok() || !closed) {
    error = fmt::format("cannot write the collision section to {}", path.string());
    if (log) log(error + "\n");
  }
  return error;
}

}  // namespace model3da
