// Collision trees of a .3da file: building the collision set from a loaded
// model (a static tree in world space, a hull tree from the nodes named
// "CollisionHull_0", and one tree per animated mesh node in its own space),
// splitting AABB trees, and writing the collision section.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model3da/model.h"

namespace model3da {

// Entry lists of this many surfaces or more build no tree.
inline constexpr size_t kMaxInitSize = 256;
// Nodes with this many triangles or fewer are leaves.
inline constexpr size_t kLeafTriangles = 12;

// A box as centre and half-extents.
struct Box {
  Vec3 centre{};
  Vec3 half{};
};

// One triangle as stored in a tree (62 bytes in the file).
struct TriangleRecord {
  Vec3 a{};
  Vec2 uv_a{};
  Vec2 uv_ab{};  // texture coordinates of B minus those of A
  Vec2 uv_ac{};
  Vec3 edge_ab{};
  Vec3 edge_ac{};
  uint16_t material = 0;
};

struct TreeNode {
  Box box;
  Box own_box;  // box of the node's own triangles (when it has any)
  std::vector<TriangleRecord> triangles;
  std::array<std::unique_ptr<TreeNode>, 2> child;  // 0: at or above the centre, 1: below
};

struct CollisionTree {
  std::unique_ptr<TreeNode> root;
  uint32_t node_index = 0;  // per-node trees only
};

// The static tree, the hull tree and the per-node trees (front first: the
// latest node built comes first, so indices decrease).
struct CollisionSet {
  std::optional<CollisionTree> static_tree;
  std::optional<CollisionTree> hull_tree;
  std::vector<CollisionTree> per_node;
};

enum class TreeKind { kStatic, kHull, kPerNode };

// One surface to put into a tree, with the matrix that brings its positions
// into the tree's space.
struct SurfaceEntry {
  const SurfaceView* surface = nullptr;
  Matrix4 matrix = identity_matrix();
  uint32_t node_index = 0;
};

// Receives the crash log's lines (the text as formatted, with its "\n").
using CrashLogSink = std::function<void(const std::string&)>;

// The sink that writes each line to the process-wide crash log.
CrashLogSink crash_log_sink();

// The line logged when an entry list reaches kMaxInitSize.
std::string max_init_size_line();

// Builds one tree of `kind` from `entries` of `model` and adds it to `set`.
// An empty list, or one without any triangle, builds nothing; a list of 256
// entries or more logs max_init_size_line() to `log` (the crash log by default) and builds
// nothing.
void build_tree(const Model& model, std::span<const SurfaceEntry> entries, TreeKind kind,
                CollisionSet& set, const CrashLogSink& log = crash_log_sink());

// Builds the collision set of a loaded model. A node qualifies when its name
// ends in '0' and its type is not MESH_SKINNED_3DA, HELPER_3DA or BONE_3DA.
// Static tree: qualifying, not animated nodes other than "CollisionHull_0"
// (any case), world space. Hull tree: every node named "CollisionHull_0" (any
// case), world space. Per-node trees: qualifying animated nodes, node space.
CollisionSet build_collision_set(const Model& model, const CrashLogSink& log = crash_log_sink());

// Splits `triangles` (with their boxes) into a tree and returns its root.
// Exposed for tests; build_tree is the normal entry point.
std::unique_ptr<TreeNode> split_triangles(std::vector<TriangleRecord> triangles,
                                          std::vector<Box> boxes);

// Grows `box` to take in `point`.
void grow_box(Box& box, const Vec3& point);

// Bytes of a tree in the file.
uint64_t tree_size(const TreeNode& root);

// The collision section's bytes as they will lie at `section_offset` of the
// file: the 16-byte header, the static tree, the hull tree, the entries and
// the per-node trees. An empty set gives 16 zero bytes.
Bytes collision_section_bytes(const CollisionSet& set, uint32_t section_offset);

// Appends the collision section at the end of the file at `path`. Returns an
// empty text, or the reason (also logged to `log`) when the file cannot be
// opened or written.
std::string append_collision_section(const std::filesystem::path& path, const CollisionSet& set,
                                     const CrashLogSink& log = crash_log_sink());

// The triangles of one tree copied out of a model: positions already in the
// tree's space, texture coordinates 0, each triangle's corners and its
// surface's material. Triangles are numbered entry by entry, each surface's
// in list order.
class TreeTriangles {
 public:
  // The triangles of `entries` (fewer than kMaxInitSize); none when the
  // entries hold no triangle. `done` is told, surface by surface, the bytes
  // its triangles were read from: from the first to the end of the last of
  // its positions, first texture coordinates and list indices.
  static std::optional<TreeTriangles> gather(const Model& model,
                                             std::span<const SurfaceEntry> entries,
                                             const BytesDone& done = {});

  size_t size() const { return entry_of_.size(); }
  // The box of triangle i: vertex A grown to take in B and C.
  Box box(uint32_t i) const;
  TriangleRecord record(uint32_t i) const;
  // Writes the 62-byte records of the triangles numbered `numbers`, one
  // after another, to `out` (room for numbers.size() records).
  void put_records(std::span<const uint32_t> numbers, std::byte* out) const;

 private:
  struct Entry {
    uint32_t first_triangle = 0;
    uint32_t first_vertex = 0;
    uint16_t material = 0;
  };
  std::vector<Entry> entries_;
  std::vector<uint8_t> entry_of_;  // per triangle
  std::vector<uint16_t> corners_;  // per triangle: three vertices of its entry
  std::vector<Vec3> positions_;
  std::vector<Vec2> uv0_;
};

// Everything a model's collision section is built from, so that the model
// (and its block) can go before the trees are built: the static tree's and
// the hull tree's triangles, and the per-node trees' with their node
// indices, in list order (the last node first).
struct CollisionInput {
  std::optional<TreeTriangles> static_tree;
  std::optional<TreeTriangles> hull_tree;
  std::vector<std::pair<uint32_t, TreeTriangles>> per_node;
};

// Gathers the collision input of a model as build_collision_set chooses its
// trees, logging max_init_size_line() to `log` for each entry list of 256
// surfaces or more, in the same order. `done` is told the bytes of each
// surface read, as TreeTriangles::gather tells them.
CollisionInput gather_collision_input(const Model& model,
                                      const CrashLogSink& log = crash_log_sink(),
                                      const BytesDone& done = {});

// Builds the trees of `input` and appends the collision section to the file
// at `path`, giving the same bytes and reasons as build_collision_set
// followed by the append above, but one tree at a time, and without holding
// a tree's nodes: each node is written as the split makes it.
std::string append_collision_section(const std::filesystem::path& path, const CollisionInput& input,
                                     const CrashLogSink& log = crash_log_sink());

// Releases every tree of the set.
void release_collision_set(CollisionSet& set);

}  // namespace model3da
