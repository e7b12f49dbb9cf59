#include "model3da/records.h"

#include <algorithm>

namespace model3da {
namespace {

Vec3 read_vec3(const std::byte* p) {
  return {read_f32(p), read_f32(p + 4), read_f32(p + 8)};
}

std::array<float, 4> read_vec4(const std::byte* p) {
  return {read_f32(p), read_f32(p + 4), read_f32(p + 8), read_f32(p + 12)};
}

void append_name(Bytes& out, const std::string& name) {
  append_text(out, std::string_view(name).substr(0, kNameSize - 1), kNameSize);
}

}  // namespace

const char* node_type_name(uint32_t node_type) {
  switch (node_type) {
    case MESH_3DA:
      return "MESH_3DA";
    case MESH_SKINNED_3DA:
      return "MESH_SKINNED_3DA";
    case HELPER_3DA:
      return "HELPER_3DA";
    case BONE_3DA:
      return "BONE_3DA";
    default:
      return "UNKNOWN";
  }
}

FileHeader new_header() {
  FileHeader header;
  header.magic = kMagic;
  return header;
}

FileHeader read_file_header(const std::byte* p) {
  FileHeader h;
  h.magic = read_u32(p);
  h.version = read_u32(p + 4);
  h.nodeCount = read_u32(p + 8);
  h.frameCount = read_u32(p + 12);
  h.materialTableOffset = read_u32(p + 16);
  h.materialCount = read_u32(p + 20);
  h.reserved0 = read_u32(p + 24);
  h.reserved1 = read_u32(p + 28);
  h.firstNodeOffset = read_u32(p + 32);
  h.boundsMin = read_vec3(p + 36);
  h.boundsMax = read_vec3(p + 48);
  h.collisionFormat = read_u32(p + 60);
  h.collisionOffset = read_u32(p + 64);
  return h;
}

NodeRecord read_node_record(const std::byte* p) {
  NodeRecord r;
  r.nodeType = read_u32(p);
  r.name = read_text(p + 4, kNameSize);
  r.boxMin = read_vec3(p + 36);
  r.boxMax = read_vec3(p + 48);
  r.parentIndex = read_i16(p + 60);
  r.childCount = read_i16(p + 62);
  r.surfacesOffset = read_u32(p + 64);
  r.surfaceCount = read_u32(p + 68);
  r.positionTrackOffset = read_u32(p + 72);
  r.rotationTrackOffset = read_u32(p + 76);
  r.scaleTrackOffset = read_u32(p + 80);
  for (int i = 0; i < 16; ++i) r.transform[i] = read_f32(p + 84 + 4 * i);
  r.nextNodeOffset = read_u32(p + 148);
  return r;
}

SurfaceRecord read_surface_record(const std::byte* p) {
  SurfaceRecord s;
  s.materialIndex = read_u32(p);
  s.listIndicesOffset = read_u32(p + 4);
  s.listIndexCount = read_u32(p + 8);
  s.stripIndicesOffset = read_u32(p + 12);
  s.stripIndexCount = read_u32(p + 16);
  s.positionsOffset = read_u32(p + 20);
  s.tangentsOffset = read_u32(p + 24);
  s.colorsOffset = read_u32(p + 28);
  s.normalsOffset = read_u32(p + 32);
  for (int i = 0; i < kUvChannels; ++i) s.uvOffset[i] = read_u32(p + 36 + 4 * i);
  s.pairOffset = read_u32(p + 52);
  s.skinOffset = read_u32(p + 56);
  s.vertexCount = read_u32(p + 60);
  s.nextSurfaceOffset = read_u32(p + 64);
  return s;
}

MaterialRecord read_material_record(const std::byte* p) {
  MaterialRecord m;
  m.name = read_text(p, kNameSize);
  for (int i = 0; i < kMaxTextures; ++i) {
    m.textures[i] = read_text(p + 32 + kNameSize * i, kNameSize);
    m.textureKinds[i] = read_i32(p + 160 + 4 * i);
  }
  m.textureCount = read_i32(p + 176);
  m.ambient = read_vec4(p + 180);
  m.diffuse = read_vec4(p + 196);
  m.specular = read_vec4(p + 212);
  m.emissive = read_vec4(p + 228);
  m.specularPower = read_f32(p + 244);
  m.flags = read_u32(p + 248);
  return m;
}

void append_file_header(Bytes& out, const FileHeader& h) {
  append_u32(out, h.magic);
  append_u32(out, h.version);
  append_u32(out, h.nodeCount);
  append_u32(out, h.frameCount);
  append_u32(out, h.materialTableOffset);
  append_u32(out, h.materialCount);
  append_u32(out, h.reserved0);
  append_u32(out, h.reserved1);
  append_u32(out, h.firstNodeOffset);
  append_floats(out, h.boundsMin);
  append_floats(out, h.boundsMax);
  append_u32(out, h.collisionFormat);
  append_u32(out, h.collisionOffset);
}

void append_node_record(Bytes& out, const NodeRecord& r) {
  append_u32(out, r.nodeType);
  append_name(out, r.name);
  append_floats(out, r.boxMin);
  append_floats(out, r.boxMax);
  append_i16(out, r.parentIndex);
  append_i16(out, r.childCount);
  append_u32(out, r.surfacesOffset);
  append_u32(out, r.surfaceCount);
  append_u32(out, r.positionTrackOffset);
  append_u32(out, r.rotationTrackOffset);
  append_u32(out, r.scaleTrackOffset);
  append_floats(out, r.transform);
  append_u32(out, r.nextNodeOffset);
}

void append_surface_record(Bytes& out, const SurfaceRecord& s) {
  append_u32(out, s.materialIndex);
  append_u32(out, s.listIndicesOffset);
  append_u32(out, s.listIndexCount);
  append_u32(out, s.stripIndicesOffset);
  append_u32(out, s.stripIndexCount);
  append_u32(out, s.positionsOffset);
  append_u32(out, s.tangentsOffset);
  append_u32(out, s.colorsOffset);
  append_u32(out, s.normalsOffset);
  for (uint32_t off : s.uvOffset) append_u32(out, off);
  append_u32(out, s.pairOffset);
  append_u32(out, s.skinOffset);
  append_u32(out, s.vertexCount);
  append_u32(out, s.nextSurfaceOffset);
}

void append_material_record(Bytes& out, const MaterialRecord& m) {
  append_name(out, m.name);
  for (const std::string& texture : m.textures) append_name(out, texture);
  for (int32_t kind : m.textureKinds) append_i32(out, kind);
  append_i32(out, m.textureCount);
  append_floats(out, m.ambient);
  append_floats(out, m.diffuse);
  append_floats(out, m.specular);
  append_floats(out, m.emissive);
  append_f32(out, m.specularPower);
  append_u32(out, m.flags);
}

bool material_records_equal(const MaterialRecord& a, const MaterialRecord& b) {
  if (a.textureCount != b.textureCount) return false;
  const int counted = std::clamp(a.textureCount, 0, kMaxTextures);
  for (int i = 0; i < counted; ++i) {
    if (a.textures[i] != b.textures[i] || a.textureKinds[i] != b.textureKinds[i]) return false;
  }
  return a.ambient == b.ambient && a.diffuse == b.diffuse && a.specular == b.specular &&
         a.emissive == b.emissive && a.specularPower == b.specularPower;
}

}  // namespace model3da
