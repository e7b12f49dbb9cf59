// The fixed-size records of a .3da file and their byte images.
//
// A .3da file is a 68-byte FileHeader, a chain of nodes (a 152-byte
// NodeRecord followed by that node's arrays, 68-byte SurfaceRecords and track
// blocks), a table of 252-byte MaterialRecords and the collision section.
// Every reference is a 32-bit absolute byte offset from the start of the
// file; there is no alignment or padding. Records are read and written field
// by field in little-endian order.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model3da/byte_io.h"
#include "model3da/math.h"

namespace model3da {

inline constexpr uint32_t kMagic = 0x5F414433;  // "3DA_"
inline constexpr uint32_t kVersion = 519;
inline constexpr uint32_t kCollisionFormat = 2;
inline constexpr uint32_t kFileHeaderSize = 68;
inline constexpr uint32_t kNodeRecordSize = 152;
inline constexpr uint32_t kSurfaceRecordSize = 68;
inline constexpr uint32_t kMaterialRecordSize = 252;
inline constexpr uint32_t kNameSize = 32;
inline constexpr uint32_t kNoMaterial = 0xFFFF;
inline constexpr int16_t kNoParent = -1;
inline constexpr float kEmptyBoundsMin = 1e30f;  // bits 0x7149F2CA
inline constexpr int kUvChannels = 4;
inline constexpr int kMaxTextures = 4;

// Element sizes of the per-vertex arrays and the indices.
inline constexpr uint32_t kPositionSize = 12;
inline constexpr uint32_t kNormalSize = 12;
inline constexpr uint32_t kTangentSize = 12;
inline constexpr uint32_t kColorSize = 4;
inline constexpr uint32_t kSkinSize = 12;
inline constexpr uint32_t kPairSize = 8;
inline constexpr uint32_t kUvSize = 8;
inline constexpr uint32_t kIndexSize = 2;

enum NodeType : uint32_t {
  MESH_3DA = 1,
  MESH_SKINNED_3DA = 2,
  HELPER_3DA = 3,
  BONE_3DA = 4,
};

// The kind word of a node type ("MESH_3DA" ... "BONE_3DA", else "UNKNOWN").
const char* node_type_name(uint32_t node_type);

struct FileHeader {
  uint32_t magic = kMagic;
  uint32_t version = 0;
  uint32_t nodeCount = 0;
  uint32_t frameCount = 0;
  uint32_t materialTableOffset = 0;
  uint32_t materialCount = 0;
  uint32_t reserved0 = 0;
  uint32_t reserved1 = 0;
  uint32_t firstNodeOffset = 0;
  Vec3 boundsMin{};
  Vec3 boundsMax{};
  uint32_t collisionFormat = 0;
  uint32_t collisionOffset = 0;
};

struct NodeRecord {
  uint32_t nodeType = 0;
  std::string name;  // up to 31 characters in files we write
  Vec3 boxMin{};
  Vec3 boxMax{};
  int16_t parentIndex = kNoParent;
  int16_t childCount = 0;
  uint32_t surfacesOffset = 0;
  uint32_t surfaceCount = 0;
  uint32_t positionTrackOffset = 0;
  uint32_t rotationTrackOffset = 0;
  uint32_t scaleTrackOffset = 0;
  Matrix4 transform = identity_matrix();
  uint32_t nextNodeOffset = 0;
};

struct SurfaceRecord {
  uint32_t materialIndex = kNoMaterial;
  uint32_t listIndicesOffset = 0;
  uint32_t listIndexCount = 0;
  uint32_t stripIndicesOffset = 0;
  uint32_t stripIndexCount = 0;
  uint32_t positionsOffset = 0;
  uint32_t tangentsOffset = 0;
  uint32_t colorsOffset = 0;
  uint32_t normalsOffset = 0;
  std::array<uint32_t, kUvChannels> uvOffset{};
  uint32_t pairOffset = 0;
  uint32_t skinOffset = 0;
  uint32_t vertexCount = 0;
  uint32_t nextSurfaceOffset = 0;
};

struct MaterialRecord {
  std::string name;
  std::array<std::string, kMaxTextures> textures;
  std::array<int32_t, kMaxTextures> textureKinds{};
  int32_t textureCount = 0;
  std::array<float, 4> ambient{};
  std::array<float, 4> diffuse{};
  std::array<float, 4> specular{};
  std::array<float, 4> emissive{};
  float specularPower = 0.0f;
  uint32_t flags = 0;
};

// A header with `magic` set and every other field zero.
FileHeader new_header();

// Readers: `p` points at the first byte of the record, the full record size
// is readable (the caller checked the range).
FileHeader read_file_header(const std::byte* p);
NodeRecord read_node_record(const std::byte* p);
SurfaceRecord read_surface_record(const std::byte* p);
MaterialRecord read_material_record(const std::byte* p);

// Writers: append the record's exact byte image. Names must be shorter than
// 32 characters (the file writer refuses longer ones); should a longer one
// come here, it is cut so that the field keeps its terminating zero.
void append_file_header(Bytes& out, const FileHeader& header);
void append_node_record(Bytes& out, const NodeRecord& record);
void append_surface_record(Bytes& out, const SurfaceRecord& record);
void append_material_record(Bytes& out, const MaterialRecord& record);

// True when the texture counts, the counted textures' names and kinds, the
// four colours and the specular power are equal; name and flags are not
// compared. A texture count outside 0..4 compares only the first four.
bool material_records_equal(const MaterialRecord& a, const MaterialRecord& b);

}  // namespace model3da
