// Loading a .3da file: every record, offset and count is checked against the
// block before it is used.
#include <fmt/format.h>

#include <fstream>
#include <limits>

#include "model3da/model.h"

namespace model3da {
namespace {

struct Failure {
  LoadError error = LoadError::kOk;
  std::string message;
  explicit operator bool() const { return error != LoadError::kOk; }
};

Failure fail(LoadError error, std::string message) {
  return {error, std::move(message)};
}

struct VertexArray {
  const char* field;
  uint32_t SurfaceRecord::*offset;
  uint32_t element_size;
};

std::string node_label(uint32_t index, const NodeRecord& record) {
  return fmt::format("node {} (\"{}\")", index, record.name);
}

Failure check_indices(std::span<const std::byte> file, const std::string& where,
                      const char* offset_field, uint32_t offset, const char* count_field,
                      uint32_t count, uint32_t vertex_count) {
  if (offset == 0) {
    if (count != 0) {
      return fail(LoadError::kBadSurface,
                  fmt::format("{}: {} {} without {}", where, count_field, count, offset_field));
    }
    return {};
  }
  if (!range_fits(file.size(), offset, count, kIndexSize)) {
    return fail(LoadError::kBadSurface,
                fmt::format("{}: {} {} with {} {} runs past the end of the file", where,
                            offset_field, offset, count_field, count));
  }
  const std::byte* p = file.data() + offset;
  for (uint32_t k = 0; k < count; ++k) {
    const uint16_t index = read_u16(p + 2 * size_t(k));
    if (index >= vertex_count) {
      return fail(LoadError::kBadIndices,
                  fmt::format("{}: {} entry {} is vertex {}, but vertexCount is {}", where,
                              offset_field, k, index, vertex_count));
    }
  }
  return {};
}

Failure check_surface(std::span<const std::byte> file, const std::string& where,
                      const SurfaceRecord& s, uint32_t material_count) {
  static constexpr VertexArray kArrays[] = {
      {"positionsOffset", &SurfaceRecord::positionsOffset, kPositionSize},
      {"normalsOffset", &SurfaceRecord::normalsOffset, kNormalSize},
      {"tangentsOffset", &SurfaceRecord::tangentsOffset, kTangentSize},
      {"colorsOffset", &SurfaceRecord::colorsOffset, kColorSize},
      {"skinOffset", &SurfaceRecord::skinOffset, kSkinSize},
      {"pairOffset", &SurfaceRecord::pairOffset, kPairSize},
  };
  for (const VertexArray& array : kArrays) {
    if (!range_fits(file.size(), s.*array.offset, s.vertexCount, array.element_size)) {
      return fail(LoadError::kBadSurface,
                  fmt::format("{}: {} {} with vertexCount {} runs past the end of the file", where,
                              array.field, s.*array.offset, s.vertexCount));
    }
  }
  for (int c = 0; c < kUvChannels; ++c) {
    if (!range_fits(file.size(), s.uvOffset[c], s.vertexCount, kUvSize)) {
      return fail(LoadError::kBadSurface,
                  fmt::format("{}: uvOffset {} ({}) with vertexCount {} runs past the end of the "
                              "file",
                              where, c, s.uvOffset[c], s.vertexCount));
    }
  }
  if (s.materialIndex != kNoMaterial && s.materialIndex >= material_count) {
    return fail(LoadError::kBadSurface,
                fmt::format("{}: materialIndex {} is not below materialCount {}", where,
                            s.materialIndex, material_count));
  }
  if (s.listIndexCount % 3 != 0) {
    return fail(LoadError::kBadSurface, fmt::format("{}: listIndexCount {} is not a multiple of 3",
                                                    where, s.listIndexCount));
  }
  if (Failure f = check_indices(file, where, "listIndicesOffset", s.listIndicesOffset,
                                "listIndexCount", s.listIndexCount, s.vertexCount)) {
    return f;
  }
  return check_indices(file, where, "stripIndicesOffset", s.stripIndicesOffset, "stripIndexCount",
                       s.stripIndexCount, s.vertexCount);
}

Failure load_surfaces(std::span<const std::byte> file, NodeView& node, uint32_t material_count) {
  const NodeRecord& r = node.record;
  if (r.surfaceCount == 0) return {};
  const std::string label = node_label(node.index, r);
  if (r.surfacesOffset == 0 ||
      !range_fits(file.size(), r.surfacesOffset, r.surfaceCount, kSurfaceRecordSize)) {
    return fail(LoadError::kBadSurface,
                fmt::format("{}: surfacesOffset {} with surfaceCount {} runs past the end of the "
                            "file",
                            label, r.surfacesOffset, r.surfaceCount));
  }
  node.surfaces.resize(r.surfaceCount);
  for (uint32_t j = 0; j < r.surfaceCount; ++j) {
    SurfaceView& surface = node.surfaces[j];
    surface.offset = r.surfacesOffset + j * kSurfaceRecordSize;
    surface.record = read_surface_record(file.data() + surface.offset);
    const std::string where = fmt::format("{} SurfaceRecord {}", label, j);
    const bool last = j + 1 == r.surfaceCount;
    if (!last && surface.record.nextSurfaceOffset != surface.offset + kSurfaceRecordSize) {
      return fail(
          LoadError::kBadSurface,
          fmt::format("{}: nextSurfaceOffset {} is not the following record at {}", where,
                      surface.record.nextSurfaceOffset, surface.offset + kSurfaceRecordSize));
    }
    surface.next_surface_offset = last ? 0 : surface.record.nextSurfaceOffset;
    if (Failure f = check_surface(file, where, surface.record, material_count)) return f;
  }
  return {};
}

Failure load_tracks(std::span<const std::byte> file, NodeView& node) {
  struct Slot {
    const char* field;
    uint32_t offset;
    TrackRole role;
    std::unique_ptr<Track_c>* target;
  };
  const Slot slots[] = {
      {"positionTrackOffset", node.record.positionTrackOffset, TrackRole::kPosition,
       &node.position},
      {"rotationTrackOffset", node.record.rotationTrackOffset, TrackRole::kRotation,
       &node.rotation},
      {"scaleTrackOffset", node.record.scaleTrackOffset, TrackRole::kScale, &node.scale},
  };
  for (const Slot& slot : slots) {
    if (slot.offset == 0) continue;
    TrackReadResult result = read_track(file, slot.offset, slot.role);
    if (!result.track) {
      return fail(LoadError::kBadTrack,
                  fmt::format("{}: {} {}: {}", node_label(node.index, node.record), slot.field,
                              slot.offset, result.error));
    }
    *slot.target = std::move(result.track);
  }
  return {};
}

Failure load_nodes(Model& model, const BytesDone& done) {
  const std::span<const std::byte> file(model.bytes);
  const FileHeader& h = model.header;
  if (h.nodeCount > file.size() / kNodeRecordSize) {
    return fail(
        LoadError::kBadNodeChain,
        fmt::format("FileHeader: nodeCount {} is more than the file can hold", h.nodeCount));
  }
  model.nodes.resize(h.nodeCount);
  uint32_t offset = h.firstNodeOffset;
  for (uint32_t i = 0; i < h.nodeCount; ++i) {
    const std::string source =
        i == 0 ? std::string("FileHeader: firstNodeOffset")
               : fmt::format("{}: nextNodeOffset", node_label(i - 1, model.nodes[i - 1].record));
    if (!range_fits(file.size(), offset, 1, kNodeRecordSize)) {
      return fail(LoadError::kBadNodeChain,
                  fmt::format("{} {}: NodeRecord {} of nodeCount {} runs past the end of the file",
                              source, offset, i, h.nodeCount));
    }
    if (offset < kFileHeaderSize) {
      return fail(LoadError::kBadNodeChain,
                  fmt::format("{} {} lies inside the FileHeader", source, offset));
    }
    if (i > 0 && offset < model.nodes[i - 1].offset + kNodeRecordSize) {
      return fail(LoadError::kBadNodeChain,
                  fmt::format("{} {} does not lie after that node's record: the chain loops",
                              source, offset));
    }
    NodeView& node = model.nodes[i];
    node.index = i;
    node.offset = offset;
    node.record = read_node_record(file.data() + offset);
    const NodeRecord& r = node.record;
    if (r.parentIndex != kNoParent && (r.parentIndex < 0 || uint32_t(r.parentIndex) >= i)) {
      return fail(LoadError::kBadNodeRecord,
                  fmt::format("{}: parentIndex {} does not name an earlier node", node_label(i, r),
                              r.parentIndex));
    }
    if (Failure f = load_surfaces(file, node, h.materialCount)) return f;
    if (Failure f = load_tracks(file, node)) return f;
    const bool last = i + 1 == h.nodeCount;
    node.next_node_offset = last ? 0 : r.nextNodeOffset;
    if (done && r.nextNodeOffset > offset) {
      done(file.subspan(offset, std::min<size_t>(r.nextNodeOffset, file.size()) - offset));
    }
    offset = r.nextNodeOffset;
  }
  model.first_node_offset = h.nodeCount == 0 ? 0 : h.firstNodeOffset;
  return {};
}

Failure load_materials(Model& model) {
  const std::span<const std::byte> file(model.bytes);
  const FileHeader& h = model.header;
  if (!range_fits(file.size(), h.materialTableOffset, h.materialCount, kMaterialRecordSize)) {
    return fail(LoadError::kBadMaterialTable,
                fmt::format("FileHeader: materialTableOffset {} with materialCount {} runs past "
                            "the end of the file",
                            h.materialTableOffset, h.materialCount));
  }
  if (h.materialCount > 0 && h.materialTableOffset < kFileHeaderSize) {
    return fail(LoadError::kBadMaterialTable,
                fmt::format("FileHeader: materialTableOffset {} lies inside the FileHeader",
                            h.materialTableOffset));
  }
  model.materials.reserve(h.materialCount);
  for (uint32_t i = 0; i < h.materialCount; ++i) {
    MaterialRecord m =
        read_material_record(file.data() + h.materialTableOffset + i * kMaterialRecordSize);
    if (m.textureCount < 0 || m.textureCount > kMaxTextures) {
      return fail(LoadError::kBadMaterialTable,
                  fmt::format("MaterialRecord {} (\"{}\"): texture count {} is not 0 to 4", i,
                              m.name, m.textureCount));
    }
    model.materials.push_back(std::move(m));
  }
  return {};
}

Failure load_all(Model& model, uint32_t expected_version, const BytesDone& done = {}) {
  const std::span<const std::byte> file(model.bytes);
  if (file.size() < kFileHeaderSize) {
    return fail(
        LoadError::kTooShort,
        fmt::format("the file is {} bytes, shorter than the 68-byte FileHeader", file.size()));
  }
  if (file.size() > std::numeric_limits<uint32_t>::max()) {
    return fail(LoadError::kTooLarge, "the file is larger than 32-bit offsets can address");
  }
  model.header = read_file_header(file.data());
  const FileHeader& h = model.header;
  if (h.magic != kMagic) {
    return fail(LoadError::kBadMagic,
                fmt::format("FileHeader: magic 0x{:08X} is not \"3DA_\"", h.magic));
  }
  if (h.version != kVersion && (expected_version == 0 || h.version != expected_version)) {
    return fail(LoadError::kUnsupportedVersion,
                fmt::format("FileHeader: version {} is not {}", h.version,
                            expected_version == 0 ? kVersion : expected_version));
  }
  if (Failure f = load_materials(model)) return f;
  if (Failure f = load_nodes(model, done)) return f;
  std::string error = read_collision_section(file, h.collisionOffset, h.nodeCount, model.collision);
  if (!error.empty()) {
    return fail(
        LoadError::kBadCollisionSection,
        fmt::format("collision section at collisionOffset {}: {}", h.collisionOffset, error));
  }
  return {};
}

}  // namespace

const char* load_error_name(LoadError error) {
  switch (error) {
    case LoadError::kOk:
      return "ok";
    case LoadError::kIoError:
      return "cannot read the file";
    case LoadError::kTooShort:
      return "file too short";
    case LoadError::kTooLarge:
      return "file too large";
    case LoadError::kBadMagic:
      return "not a .3da file";
    case LoadError::kUnsupportedVersion:
      return "unsupported version";
    case LoadError::kBadNodeChain:
      return "bad node chain";
    case LoadError::kBadNodeRecord:
      return "bad node record";
    case LoadError::kBadSurface:
      return "bad surface";
    case LoadError::kBadIndices:
      return "bad vertex index";
    case LoadError::kBadTrack:
      return "bad track";
    case LoadError::kBadMaterialTable:
      return "bad material table";
    case LoadError::kBadCollisionSection:
      return "bad collision section";
  }
  return "unknown";
}

LoadResult load_model(Bytes block, uint32_t expected_version) {
  auto model = std::make_unique<Model>();
  model->block = std::move(block);
  model->bytes = model->block;
  Failure failure = load_all(*model, expected_version);
  LoadResult result;
  if (failure) {
    result.error = failure.error;
    result.message = std::move(failure.message);
    result.block = std::move(model->block);
    return result;
  }
  result.model = std::move(model);
  return result;
}

LoadResult load_model_view(std::span<const std::byte> bytes, uint32_t expected_version,
                           const BytesDone& done) {
  auto model = std::make_unique<Model>();
  model->bytes = bytes;
  Failure failure = load_all(*model, expected_version, done);
  LoadResult result;
  if (failure) {
    result.error = failure.error;
    result.message = std::move(failure.message);
    return result;
  }
  result.model = std::move(model);
  return result;
}

LoadResult load_model_file(const std::filesystem::path& path, uint32_t expected_version) {
  std::ifstream in(path, std::ios::binary);
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (!in || ec) {
    LoadResult result;
    result.error = LoadError::kIoError;
    result.message = fmt::format("cannot open {}", path.string());
    return result;
  }
  if (size > std::numeric_limits<uint32_t>::max()) {
    LoadResult result;
    result.error = LoadError::kTooLarge;
    result.message = fmt::format("{} is larger than 32-bit offsets can address", path.string());
    return result;
  }
  Bytes block(size);
  if (size > 0 && !in.read(reinterpret_cast<char*>(block.data()), std::streamsize(size))) {
    LoadResult result;
    result.error = LoadError::kIoError;
    result.message = fmt::format("cannot read {} bytes of {}", size, path.string());
    return result;
  }
  return load_model(std::move(block), expected_version);
}

}  // namespace model3da
