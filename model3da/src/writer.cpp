// Appending nodes to the chain and writing whole .3da files.
#include "model3da/writer.h"

#include <fmt/format.h>

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

void append_vec3s(Bytes& out, const std::vector<Vec3>& values, size_t n) {
  if (values.empty()) {
    out.resize(out.size() + n * 12, std::byte{0});
    return;
  }
  for (const Vec3& v : values) append_floats(out, v);
}

void append_vec2s(Bytes& out, const std::vector<Vec2>& values, size_t n) {
  if (values.empty()) {
    out.resize(out.size() + n * 8, std::byte{0});
    return;
  }
  for (const Vec2& v : values) append_floats(out, v);
}

// Appends one surface's arrays to `data` (which starts at file offset
// `base`) and fills the offsets of `record`.
void append_surface_arrays(Bytes& data, uint32_t base, const SurfaceData& s,
                           SurfaceRecord& record) {
  const size_t n = s.positions.size();
  auto here = [&] { return base + uint32_t(data.size()); };
  record.materialIndex = s.material_index;
  record.vertexCount = uint32_t(n);
  record.positionsOffset = here();
  append_vec3s(data, s.positions, n);
  record.normalsOffset = here();
  append_vec3s(data, s.normals, n);
  record.tangentsOffset = here();
  append_vec3s(data, s.tangents, n);
  record.colorsOffset = here();
  for (size_t v = 0; v < n; ++v) append_u32(data, s.colors.empty() ? 0xFFFFFFFFu : s.colors[v]);
  record.skinOffset = here();
  if (s.skin.empty()) {
    data.resize(data.size() + n * kSkinSize, std::byte{0});
  } else {
    for (const auto& skin : s.skin) append_bytes(data, skin);
  }
  record.pairOffset = here();
  data.resize(data.size() + n * kPairSize, std::byte{0});
  for (int c = 0; c < kUvChannels; ++c) {
    record.uvOffset[c] = here();
    append_vec2s(data, s.uv[c], n);
  }
  record.listIndexCount = uint32_t(s.list_indices.size());
  record.listIndicesOffset = s.list_indices.empty() ? 0 : here();
  for (uint16_t i : s.list_indices) append_u16(data, i);
  record.stripIndexCount = uint32_t(s.strip_indices.size());
  record.stripIndicesOffset = s.strip_indices.empty() ? 0 : here();
  for (uint16_t i : s.strip_indices) append_u16(data, i);
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
  const size_t start = data.size();
  std::vector<SurfaceRecord> records(surfaces.size());
  for (size_t s = 0; s < surfaces.size(); ++s) {
    append_surface_arrays(data, base, surfaces[s], records[s]);
  }
  const uint64_t records_at = uint64_t(base) + data.size();
  if (records_at + uint64_t(kSurfaceRecordSize) * records.size() > kMaxOffset) {
    data.resize(start);
    return "the surfaces pass 32-bit offsets";
  }
  surfaces_offset = records.empty() ? 0 : uint32_t(records_at);
  for (SurfaceRecord& s : records) {
    s.nextSurfaceOffset = base + uint32_t(data.size()) + kSurfaceRecordSize;
    append_surface_record(data, s);
  }
  return {};
}

std::string append_node(ByteBuffer& chain, const NodeData& node) {
  if (node.name.size() >= kNameSize) {
    return fmt::format("node name \"{}\" is longer than 31 characters", node.name);
  }
  const uint64_t record_at = uint64_t(kFileHeaderSize) + chain.length();
  const uint64_t base64 = record_at + kNodeRecordSize;
  if (base64 > kMaxOffset) return "the node chain passes 32-bit offsets";
  const uint32_t base = uint32_t(base64);
  Bytes data;
  uint32_t surfaces_offset = 0;
  if (std::string error = append_surfaces(data, base, node.surfaces, surfaces_offset);
      !error.empty()) {
    return fmt::format("node \"{}\": {}", node.name, error);
  }
  NodeRecord record;
  record.nodeType = node.node_type;
  record.name = node.name;
  record.boxMin = node.box_min;
  record.boxMax = node.box_max;
  record.parentIndex = node.parent_index;
  record.childCount = node.child_count;
  record.surfaceCount = uint32_t(node.surfaces.size());
  record.surfacesOffset = surfaces_offset;
  const std::pair<const std::unique_ptr<Track_c>*, uint32_t*> tracks[] = {
      {&node.position, &record.positionTrackOffset},
      {&node.rotation, &record.rotationTrackOffset},
      {&node.scale, &record.scaleTrackOffset}};
  for (const auto& [track, offset] : tracks) {
    if (!*track) continue;
    *offset = base + uint32_t(data.size());
    (*track)->write(data, *offset);
  }
  if (base64 + data.size() > kMaxOffset) return "the node chain passes 32-bit offsets";
  record.nextNodeOffset = base + uint32_t(data.size());
  Bytes image;
  image.reserve(kNodeRecordSize);
  append_node_record(image, record);
  chain.seek(chain.length());
  if (!chain.append(image)) return "the node chain buffer has no data block";
  chain.append(data);
  return {};
}

std::string make_model_image(const ModelWriteInput& input, Bytes& out) {
  for (size_t m = 0; m < input.materials.size(); ++m) {
    if (std::string error = check_material_names(input.materials[m], m); !error.empty()) {
      return error;
    }
  }
  const uint64_t chain_length = input.chain.size();
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
  out.clear();
  out.reserve(size_t(collision_offset) + kCollisionHeaderSize);
  append_file_header(out, h);
  append_bytes(out, input.chain);
  // Copy entry i of the matrix table into node i's transform, walking the
  // chain by its next offsets.
  uint64_t at = kFileHeaderSize;
  for (uint32_t i = 0; i < input.node_count; ++i) {
    if (at < kFileHeaderSize || !range_fits(out.size(), at, 1, kNodeRecordSize)) {
      return fmt::format("the node chain holds fewer than {} nodes", input.node_count);
    }
    const Matrix4 m = input.node_matrices.empty() ? identity_matrix() : input.node_matrices[i];
    for (int k = 0; k < 16; ++k) put_f32(out.data() + at + 84 + 4 * k, m[k]);
    const uint32_t next = read_u32(out.data() + at + 148);
    if (next <= at) return "the node chain's next offsets do not advance";
    at = next;
  }
  for (const MaterialRecord& m : input.materials) append_material_record(out, m);
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
