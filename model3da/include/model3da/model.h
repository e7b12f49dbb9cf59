// A loaded .3da model: the file's block plus checked views of its records,
// and the operations on it (find node by name, node is animated, node world
// matrix, node hierarchy view).
//
// Loading checks every offset, count and size against the block before
// anything is used; after a successful load, every view may be trusted. The
// block is kept as it was read: offsets are not turned into pointers. A
// model either owns its block or views bytes its loader keeps alive.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model3da/collision_section.h"
#include "model3da/math.h"
#include "model3da/records.h"
#include "model3da/tracks.h"

namespace model3da {

struct SurfaceView {
  uint32_t offset = 0;  // of the SurfaceRecord
  SurfaceRecord record;
  uint32_t next_surface_offset = 0;  // as loaded: 0 (null) for the last surface
};

struct NodeView {
  uint32_t index = 0;
  uint32_t offset = 0;  // of the NodeRecord
  NodeRecord record;    // as stored
  std::vector<SurfaceView> surfaces;
  std::unique_ptr<Track_c> position;  // null when absent
  std::unique_ptr<Track_c> rotation;
  std::unique_ptr<Track_c> scale;
  uint32_t next_node_offset = 0;  // as loaded: 0 (null) for the last node
};

struct Model {
  Model() = default;
  Model(const Model&) = delete;
  Model& operator=(const Model&) = delete;

  Bytes block;  // the whole file, when the model owns it
  // The whole file: `block`, or the bytes a viewing load was given; views
  // and tracks read from it.
  std::span<const std::byte> bytes;
  FileHeader header;
  uint32_t first_node_offset = 0;  // as loaded: 0 (null) when nodeCount is 0
  std::vector<NodeView> nodes;
  std::vector<MaterialRecord> materials;
  CollisionSectionView collision;

  // Vertex data of a surface of this model (indices were checked at load).
  Vec3 position(const SurfaceView& surface, uint32_t vertex) const;
  Vec2 uv0(const SurfaceView& surface, uint32_t vertex) const;
  uint16_t list_index(const SurfaceView& surface, uint32_t k) const;
  uint16_t strip_index(const SurfaceView& surface, uint32_t k) const;
  // The material name of a surface, or "no material".
  std::string material_name(const SurfaceView& surface) const;
};

enum class LoadError {
  kOk,
  kIoError,
  kTooShort,
  kTooLarge,
  kBadMagic,
  kUnsupportedVersion,
  kBadNodeChain,
  kBadNodeRecord,
  kBadSurface,
  kBadIndices,
  kBadTrack,
  kBadMaterialTable,
  kBadCollisionSection,
};

// A short name of the error kind ("bad magic", ...).
const char* load_error_name(LoadError error);

struct LoadResult {
  LoadError error = LoadError::kOk;
  std::string message;           // names the record and field; empty when ok
  std::unique_ptr<Model> model;  // set when ok
  Bytes block;                   // on failure: the block, unchanged
  bool ok() const { return error == LoadError::kOk; }
};

// Loads a whole .3da file held in `block`. The magic must be "3DA_"; a
// version other than 519 is accepted only when `expected_version` is not 0
// and equals it. Every node, surface, index, track, material and the
// collision section is checked; the first fault found is reported. On
// failure the block is handed back unchanged in the result.
LoadResult load_model(Bytes block, uint32_t expected_version = 0);

// Told bytes of a file a reader has read and is done with, piece by piece,
// so that a caller viewing a mapped file can let their pages go.
using BytesDone = std::function<void(std::span<const std::byte>)>;

// load_model without taking the bytes: the model views `bytes`, which must
// stay unchanged while the model lives; its block stays empty (also on
// failure). `done` is told each node's bytes (from its record to the next
// node's) once the node is loaded and checked.
LoadResult load_model_view(std::span<const std::byte> bytes, uint32_t expected_version = 0,
                           const BytesDone& done = {});

// Reads the file at `path` and loads it; an unreadable file gives kIoError.
LoadResult load_model_file(const std::filesystem::path& path, uint32_t expected_version = 0);

// The first node in chain order whose name equals `name` exactly, or null.
const NodeView* find_node_by_name(const Model& model, std::string_view name);

// True when one of the node's tracks, or of an ancestor's, has more than one
// key.
bool node_is_animated(const Model& model, const NodeView& node);

// The node's world matrix in the current pose: S · R · T · parent world, from
// the current values of its scale, rotation and position tracks.
Matrix4 node_world_matrix(const Model& model, const NodeView& node);

// One entry of the hierarchy view; indices into the view, -1 for none.
struct HierarchyEntry {
  const NodeView* node = nullptr;
  uint32_t index = 0;
  int parent = -1;
  int first_child = -1;
  int next_sibling = -1;
};

// Entries in chain order. A node without a parent (after the first) is put in
// front of entry 0's sibling list, any other in front of its parent's child
// list, so children come out in reverse chain order.
std::vector<HierarchyEntry> node_hierarchy(const Model& model);

}  // namespace model3da
