// Building and writing .3da files: appending mesh and helper nodes to the
// node chain, and writing the header, the chain (with each node's transform
// taken from the per-node matrix table), the material table and the
// collision section built from the loaded result.
//
// Example, a file with one static mesh node:
//   ByteBuffer chain;
//   NodeData node{.node_type = MESH_3DA, .name = "body_0"};
//   node.surfaces.push_back(surface);           // positions, normals, uvs, indices
//   set_static_tracks(node, {0, 0, 0}, {0, 0, 0, 1}, {1, 1, 1});
//   append_node(chain, node);
//   write_model_file("body.3da", {.node_count = 1, .chain = chain.bytes()});
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "model3da/byte_buffer.h"
#include "model3da/collision.h"
#include "model3da/math.h"
#include "model3da/records.h"
#include "model3da/tracks.h"

namespace model3da {

// One surface of a mesh node. Every per-vertex array that is not empty must
// hold positions.size() entries; empty ones are written as zeros (colours as
// opaque white 0xFFFFFFFF). Indices name vertices of this surface.
struct SurfaceData {
  uint32_t material_index = kNoMaterial;
  std::vector<Vec3> positions;
  std::vector<Vec3> normals;
  std::vector<Vec3> tangents;
  std::vector<uint32_t> colors;
  std::vector<std::array<std::byte, 12>> skin;
  std::array<std::vector<Vec2>, kUvChannels> uv;
  std::vector<uint16_t> list_indices;   // 3 per triangle
  std::vector<uint16_t> strip_indices;  // may be empty
};

// One node to append to the chain.
struct NodeData {
  uint32_t node_type = HELPER_3DA;
  std::string name;  // at most 31 characters
  Vec3 box_min{};
  Vec3 box_max{};
  int16_t parent_index = kNoParent;
  int16_t child_count = 0;
  std::vector<SurfaceData> surfaces;
  std::unique_ptr<Track_c> position;  // any may be null (no track)
  std::unique_ptr<Track_c> rotation;
  std::unique_ptr<Track_c> scale;
};

// Gives the node three one-key linear tracks (frame 0) with these values.
void set_static_tracks(NodeData& node, const Vec3& position, const Quat& rotation,
                       const Vec3& scale);

// Appends the data of a node's surfaces to `data`, whose first byte lies at
// file offset `base`: for each surface its ten per-vertex arrays (positions,
// normals, tangents, colours, skin, pair, uv 0 to 3) and its list and strip
// indices, then all SurfaceRecords one after another, each
// nextSurfaceOffset pointing just past itself. Sets `surfaces_offset` to the
// offset of the first SurfaceRecord (0 without surfaces). Returns an empty
// text, or the reason the surfaces were refused (as for append_node; nothing
// is appended then).
std::string append_surfaces(Bytes& data, uint32_t base, std::span<const SurfaceData> surfaces,
                            uint32_t& surfaces_offset);

// Appends the node's 152-byte NodeRecord and its data (per surface its ten
// per-vertex arrays, list and strip indices; then the SurfaceRecords; then the
// position, rotation and scale track blocks) to `chain`, with absolute offsets
// as in a file whose chain starts at offset 68. Returns an empty text, or the
// reason the node was refused (nothing is appended then): a name of 32
// characters or more, array sizes that differ from the vertex count, more
// than 65536 vertices, an index outside the surface, a list index count that
// is not a multiple of 3, or a chain that would pass 32-bit offsets.
// `chain_before` is the length of the chain before `chain`'s first byte, for
// a chain written out piece by piece (0 when `chain` holds all of it).
std::string append_node(ByteBuffer& chain, const NodeData& node, uint64_t chain_before = 0);

// Where a NodeRecord holds its transform (16 floats, row by row).
inline constexpr uint32_t kNodeTransformOffset = 84;

// Writes the 64-byte transform field.
void put_transform(std::byte* out, const Matrix4& m);

struct ModelWriteInput {
  uint32_t node_count = 0;
  uint32_t frame_count = 0;
  std::span<const std::byte> chain;  // the node chain, as built by append_node
  // Entry i goes into node i's transform; empty means identity for all.
  std::span<const Matrix4> node_matrices;
  std::span<const MaterialRecord> materials;
};

// The transform of node i: entry i of the matrix table, identity when the
// table is empty.
Matrix4 node_matrix(const ModelWriteInput& input, uint32_t i);

// The file image without its collision section: header, chain with the
// transforms copied in, material table. Returns an empty text or the reason
// (a material or texture name of 32 characters or more, in any of the four
// texture slots, naming the material; a chain that does not hold node_count
// nodes, a matrix table shorter than node_count, an image past 32-bit
// offsets). Names are never cut to fit.
std::string make_model_image(const ModelWriteInput& input, Bytes& out);

// The 68-byte header of a file whose chain is `chain_length` bytes long, after
// the checks of make_model_image that do not need the chain's bytes (names,
// the matrix table's length, 32-bit offsets). Returns an empty text or the
// reason.
std::string make_model_head(const ModelWriteInput& input, uint64_t chain_length, Bytes& head);

// The material table: 252 bytes per material.
Bytes material_table_bytes(std::span<const MaterialRecord> materials);

// The whole file: the image, loaded back and checked, and the collision
// section built from it appended. Returns an empty text or the reason.
std::string make_model_file(const ModelWriteInput& input, Bytes& out,
                            const CrashLogSink& log = crash_log_sink());

// Writes the whole file to `path` through a temporary file beside it that is
// renamed over the target, so a failure leaves no half-written file. Returns
// an empty text or the reason.
std::string write_model_file(const std::filesystem::path& path, const ModelWriteInput& input,
                             const CrashLogSink& log = crash_log_sink());

}  // namespace model3da
