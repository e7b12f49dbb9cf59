// Appending nodes to the chain and writing whole .3da files.
#include "model3da/writer.h"

#include <fmt/format.h>

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstring>
#include <fstream>
#include <limits>

#include "model3da/model.h"

namespace model3da {
namespace {

constexpr uint64_t kMaxOffset = std::numeric_limits<uint32_t>::max();
constexpr size_t kMaxSurfaceVertices = 65536;

template <class T>
std::string check_size(const std::vector<T>& array, size_t vertices, const char* what, size_t s) {
  if (!array.empty() && array.size() != vertices) {
    return fmt::format("surface {}: {} {} entries for {} vertices", s, what, array.size(),
                       vertices);
  }
  return {};
}

std::string check_surface(const SurfaceData& surface, size_t s) {
  const size_t n = surface.positions.size();
  if (n > kMaxSurfaceVertices) {
    return fmt::format("surface {}: {} vertices, more than 16-bit indices reach", s, n);
  }
  for (const std::string& e :
       {check_size(surface.normals, n, "normals", s),
        check_size(surface.tangents, n, "tangents", s), check_size(surface.colors, n, "colours", s),
        check_size(surface.skin, n, "skin", s), check_size(surface.uv[0], n, "uv 0", s),
        check_size(surface.uv[1], n, "uv 1", s), check_size(surface.uv[2], n, "uv 2", s),
        check_size(surface.uv[3], n, "uv 3", s)}) {
    if (!e.empty()) return e;
  }
  if (surface.list_indices.size() % 3 != 0) {
    return fmt::format("surface {}: {} list indices, not 3 per triangle", s,
                       surface.list_indices.size());
  }
  for (const auto* indices : {&surface.list_indices, &surface.strip_indices}) {
    for (uint16_t index : *indices) {
      if (index >= n) return fmt::format("surface {}: index {} with {} vertices", s, index, n);
    }
  }
  return {};
}

// The reason a material's names do not fit their 32-byte fields (31
// characters and the terminating zero), or an empty text. Every texture slot
// is written, so every slot must fit.
std::string check_material_names(const MaterialRecord& material, size_t m) {
  if (material.name.size() >= kNameSize) {
    return fmt::format("material {} name \"{}\" is longer than 31 characters", m, material.name);
  }
  for (size_t t = 0; t < material.textures.size(); ++t) {
    if (material.textures[t].size() >= kNameSize) {
      return fmt::format("material {} \"{}\": texture {} name \"{}\" is longer than 31 characters",
                         m, material.name, t, material.textures[t]);
    }
  }
  return {};
}

// Copies `count` values of `element_size` bytes, each made of 4-byte (or, for
// `two_byte`, 2-byte) little-endian words, from `values` to `out`, or writes
// zeros when `values` is null. Returns the end of what was written.
std::byte* put_words(std::byte* out, const void* values, size_t count, size_t element_size,
                     bool two_byte = false) {
  const size_t size = count * element_size;
  if (values == nullptr) {
    std::memset(out, 0, size);
  } else if constexpr (std::endian::native == std::endian::little) {
    if (size != 0) std::memcpy(out, values, size);
  } else {
    const auto* in = static_cast<const std::byte*>(values);
    const size_t word = two_byte ? 2 : 4;
    for (size_t i = 0; i < size; i += word)
      for (size_t k = 0; k < word; ++k) out[i + k] = in[i + word - 1 - k];
  }
  return out + size;
}

template <class T>
const void* data_or_null(const std::vector<T>& values) {
  return values.empty() ? nullptr : values.data();
}

// Bytes of one surface's arrays and indices in the file.
uint64_t surface_arrays_size(const SurfaceData& s) {
  const uint64_t n = s.positions.size();
  return n * (3 * 12 + 4 + kSkinSize + kPairSize + kUvChannels * 8) +
         2 * uint64_t(s.list_indices.size()) + 2 * uint64_t(s.strip_indices.size());
}

// Writes one surface's arrays at `out`, which lies at file offset `at`, and
// fills the offsets of `record`. Returns the end of what was written.
std::byte* put_surface_arrays(std::byte* out, uint32_t at, const SurfaceData& s,
                              SurfaceRecord& record) {
  static_assert(sizeof(Vec3) == 12 && sizeof(Vec2) == 8);
  const size_t n = s.positions.size();
  const std::byte* const begin = out;
  auto here = [&] { return at + uint32_t(out - begin); };
  record.materialIndex = s.material_index;
  record.vertexCount = uint32_t(n);
  record.positionsOffset = here();
  out = put_words(out, data_or_null(s.positions), n, 12);
  record.normalsOffset = here();
  out = put_words(out, data_or_null(s.normals), n, 12);
  record.tangentsOffset = here();
  out = put_words(out, data_or_null(s.tangents), n, 12);
  record.colorsOffset = here();
  if (s.colors.empty()) {
    std::memset(out, 0xFF, 4 * n);
    out += 4 * n;
  } else {
    out = put_words(out, s.colors.data(), n, 4);
  }
  record.skinOffset = here();
  if (s.skin.empty()) {
    std::memset(out, 0, n * kSkinSize);
  } else if (n != 0) {
    std::memcpy(out, s.skin.data(), n * kSkinSize);
  }
  out += n * kSkinSize;
  record.pairOffset = here();
  std::memset(out, 0, n * kPairSize);
  out += n * kPairSize;
  for (int c = 0; c < kUvChannels; ++c) {
    record.uvOffset[c] = here();
    out = put_words(out, data_or_null(s.uv[c]), n, 8);
  }
  record.listIndexCount = uint32_t(s.list_indices.size());
  record.listIndicesOffset = s.list_indices.empty() ? 0 : here();
  out = put_words(out, s.list_indices.data(), s.list_indices.size(), 2, true);
  record.stripIndexCount = uint32_t(s.strip_indices.size());
  record.stripIndicesOffset = s.strip_indices.empty() ? 0 : here();
  out = put_words(out, s.strip_indices.data(), s.strip_indices.size(), 2, true);
  return out;
}

// Bytes that put_surfaces writes.
uint64_t surfaces_size(std::span<const SurfaceData> surfaces) {
  uint64_t size = uint64_t(kSurfaceRecordSize) * surfaces.size();
  for (const SurfaceData& s : surfaces) size += surface_arrays_size(s);
  return size;
}

// Writes the surfaces' arrays and then their records at `out`, which lies at
// file offset `base` (the whole image must stay below 32-bit offsets).
// Returns the offset of the first record (0 without surfaces).
uint32_t put_surfaces(std::byte* out, uint32_t base, std::span<const SurfaceData> surfaces) {
  std::vector<SurfaceRecord> records(surfaces.size());
  std::byte* at = out;
  for (size_t s = 0; s < surfaces.size(); ++s) {
    at = put_surface_arrays(at, base + uint32_t(at - out), surfaces[s], records[s]);
  }
  const uint32_t first = records.empty() ? 0 : base + uint32_t(at - out);
  Bytes image;
  image.reserve(kSurfaceRecordSize);
  for (SurfaceRecord& r : records) {
    r.nextSurfaceOffset = base + uint32_t(at - out) + kSurfaceRecordSize;
    image.clear();
    append_surface_record(image, r);
    std::memcpy(at, image.data(), image.size());
    at += image.size();
  }
  return first;
}

}  // namespace

void set_static_tracks(NodeData& node, const Vec3& position, const Quat& rotation,
                       const Vec3& scale) {
  node.position = constant_position_track(position);
  node.rotation = constant_rotation_track(rotation);
  node.scale = constant_scale_track(scale);
}

std::string append_surfaces(Bytes& data, uint32_t base, std::span<const SurfaceData> surfaces,
                            uint32_t& surfaces_offset) {
  for (size_t s = 0; s < surfaces.size(); ++s) {
    if (std::string error = check_surface(surfaces[s], s); !error.empty()) return error;
  }
  const uint64_t size = surfaces_size(surfaces);
  if (uint64_t(base) + data.size() + size > kMaxOffset) return "the surfaces pass 32-bit offsets";
  const size_t start = data.size();
  data.resize(start + size_t(size));
  surfaces_offset = put_surfaces(data.data() + start, base + uint32_t(start), surfaces);
  return {};
}

std::string append_node(ByteBuffer& chain, const NodeData& node, uint64_t chain_before) {
  if (node.name.size() >= kNameSize) {
    return fmt::format("node name \"{}\" is longer than 31 characters", node.name);
  }
  const uint64_t record_at = uint64_t(kFileHeaderSize) + chain_before + chain.length();
  const uint64_t base64 = record_at + kNodeRecordSize;
  if (base64 > kMaxOffset) return "the node chain passes 32-bit offsets";
  const uint32_t base = uint32_t(base64);
  for (size_t s = 0; s < node.surfaces.size(); ++s) {
    if (std::string error = check_surface(node.surfaces[s], s); !error.empty()) {
      return fmt::format("node \"{}\": {}", node.name, error);
    }
  }
  // The node's data: its surfaces, then its track blocks.
  const uint64_t surfaces_bytes = surfaces_size(node.surfaces);
  if (base64 + surfaces_bytes > kMaxOffset) {
    return fmt::format("node \"{}\": the surfaces pass 32-bit offsets", node.name);
  }
  uint64_t size = surfaces_bytes;
  NodeRecord record;
  const std::pair<const std::unique_ptr<Track_c>*, uint32_t*> tracks[] = {
      {&node.position, &record.positionTrackOffset},
      {&node.rotation, &record.rotationTrackOffset},
      {&node.scale, &record.scaleTrackOffset}};
  for (const auto& [track, offset] : tracks) {
    if (!*track) continue;
    *offset = uint32_t(base64 + size);
    size += (*track)->image_size();
  }
  if (base64 + size > kMaxOffset) return "the node chain passes 32-bit offsets";
  record.nodeType = node.node_type;
  record.name = node.name;
  record.boxMin = node.box_min;
  record.boxMax = node.box_max;
  record.parentIndex = node.parent_index;
  record.childCount = node.child_count;
  record.surfaceCount = uint32_t(node.surfaces.size());
  // The surface records follow all the surfaces' arrays.
  record.surfacesOffset =
      node.surfaces.empty()
          ? 0
          : base + uint32_t(surfaces_bytes - uint64_t(kSurfaceRecordSize) * node.surfaces.size());
  record.nextNodeOffset = base + uint32_t(size);

  Bytes image;
  image.reserve(kNodeRecordSize);
  append_node_record(image, record);
  chain.seek(chain.length());
  std::byte* at = chain.append_room(image.size());
  if (at == nullptr) return "the node chain buffer has no data block";
  std::memcpy(at, image.data(), image.size());
  std::byte* data = chain.append_room(size_t(size));
  [[maybe_unused]] const uint32_t surfaces_offset = put_surfaces(data, base, node.surfaces);
  assert(surfaces_offset == record.surfacesOffset);
  Bytes track_image;
  for (const auto& [track, offset] : tracks) {
    if (!*track) continue;
    track_image.clear();
    (*track)->write(track_image, *offset);
    const size_t room = (*track)->image_size();
    assert(track_image.size() == room);
    std::memcpy(data + (*offset - base), track_image.data(), std::min(track_image.size(), room));
  }
  return {};
}

void put_transform(std::byte* out, const Matrix4& m) {
  for (int k = 0; k < 16; ++k) put_f32(out + 4 * k, m[k]);
}

std::string make_model_head(const ModelWriteInput& input, uint64_t chain_length, Bytes& head) {
  for (size_t m = 0; m < input.materials.size(); ++m) {
    if (std::string error = check_material_names(input.materials[m], m); !error.empty()) {
      return error;
    }
  }
  const uint64_t collision_offset =
      kFileHeaderSize + chain_length + uint64_t(kMaterialRecordSize) * input.materials.size();
  if (collision_offset > kMaxOffset) return "the model passes 32-bit offsets";
  if (!input.node_matrices.empty() && input.node_matrices.size() < input.node_count) {
    return fmt::format("the node matrix table has {} entries for {} nodes",
                       input.node_matrices.size(), input.node_count);
  }
  FileHeader h = new_header();
  h.version = kVersion;
  h.nodeCount = input.node_count;
  h.frameCount = input.frame_count;
  h.materialTableOffset = uint32_t(kFileHeaderSize + chain_length);
  h.materialCount = uint32_t(input.materials.size());
  h.firstNodeOffset = kFileHeaderSize;
  h.boundsMin = {kEmptyBoundsMin, kEmptyBoundsMin, kEmptyBoundsMin};
  h.boundsMax = {-kEmptyBoundsMin, -kEmptyBoundsMin, -kEmptyBoundsMin};
  h.collisionFormat = kCollisionFormat;
  h.collisionOffset = uint32_t(collision_offset);
  head.clear();
  append_file_header(head, h);
  return {};
}

Bytes material_table_bytes(std::span<const MaterialRecord> materials) {
  Bytes tail;
  tail.reserve(size_t(kMaterialRecordSize) * materials.size());
  for (const MaterialRecord& m : materials) append_material_record(tail, m);
  return tail;
}

Matrix4 node_matrix(const ModelWriteInput& input, uint32_t i) {
  return input.node_matrices.empty() ? identity_matrix() : input.node_matrices[i];
}

std::string make_model_image(const ModelWriteInput& input, Bytes& out) {
  Bytes head;
  if (std::string error = make_model_head(input, input.chain.size(), head); !error.empty()) {
    return error;
  }
  out.clear();
  out.reserve(kFileHeaderSize + input.chain.size() +
              size_t(kMaterialRecordSize) * input.materials.size() + kCollisionHeaderSize);
  append_bytes(out, head);
  append_bytes(out, input.chain);
  // Copy entry i of the matrix table into node i's transform, walking the
  // chain by its next offsets (file offsets: the chain starts at 68).
  uint64_t at = kFileHeaderSize;
  for (uint32_t i = 0; i < input.node_count; ++i) {
    if (!range_fits(out.size(), at, 1, kNodeRecordSize)) {
      return fmt::format("the node chain holds fewer than {} nodes", input.node_count);
    }
    std::byte* record = out.data() + at;
    put_transform(record + kNodeTransformOffset, node_matrix(input, i));
    const uint32_t next = read_u32(record + 148);
    if (next <= at) return "the node chain's next offsets do not advance";
    at = next;
  }
  append_bytes(out, material_table_bytes(input.materials));
  return {};
}

std::string make_model_file(const ModelWriteInput& input, Bytes& out, const CrashLogSink& log) {
  if (std::string error = make_model_image(input, out); !error.empty()) return error;
  LoadResult loaded = load_model(out);
  if (!loaded.ok()) return "the written model does not load: " + loaded.message;
  CollisionSet set = build_collision_set(*loaded.model, log);
  const Bytes section = collision_section_bytes(set, uint32_t(out.size()));
  if (out.size() + section.size() > kMaxOffset) return "the model passes 32-bit offsets";
  append_bytes(out, section);
  return {};
}

std::string write_model_file(const std::filesystem::path& path, const ModelWriteInput& input,
                             const CrashLogSink& log) {
  Bytes bytes;
  if (std::string error = make_model_file(input, bytes, log); !error.empty()) {
    return fmt::format("{}: {}", path.string(), error);
  }
  std::filesystem::path temporary = path;
  temporary += ".tmp";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    if (!file) return fmt::format("{}: cannot create the file", path.string());
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    file.flush();
    if (!file) {
      file.close();
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return fmt::format("{}: cannot write the file", path.string());
    }
  }
  std::error_code ec;
  std::filesystem::rename(temporary, path, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return fmt::format("{}: cannot replace the file: {}", path.string(), ec.message());
  }
  return {};
}

}  // namespace model3da
