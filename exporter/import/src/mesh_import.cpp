// Source meshes into one host mesh: welding, faces with material ids, map
// channels, smoothing groups.
#include "mesh_import.h"

#include <algorithm>
#include <array>
#include <bit>
#include <map>
#include <string>
#include <utility>

#include "smoothing_groups.h"
#include "source_axes.h"

namespace scene_import {
namespace {

constexpr int kUvChannels = 4;  // source sets 0-3 → host channels 1-4

// Position bits (−0 as +0) and the skin signature of a vertex.
struct WeldKey {
  std::array<uint32_t, 3> bits;
  uint32_t skin;
  bool operator==(const WeldKey&) const = default;
};

size_t weld_hash(const WeldKey& k) {
  const uint64_t h = (uint64_t(k.bits[0]) * 0x9E3779B97F4A7C15ull) ^
                     (uint64_t(k.bits[1]) * 0xC2B2AE3D27D4EB4Full) ^
                     (uint64_t(k.bits[2]) * 0x165667B19E3779F9ull) ^
                     (uint64_t(k.skin) * 0x27D4EB2F165667C5ull);
  return size_t(h ^ (h >> 32));
}

// The welded vertices by key: open addressing over one array, sized for
// `vertices` keys at most.
class WeldTable {
 public:
  explicit WeldTable(size_t vertices) {
    size_t size = 16;
    while (size < 2 * vertices) size *= 2;
    slots_.resize(size);
    mask_ = size - 1;
  }
  // The number of `key`, `next` when it is new (and then noted as added).
  uint32_t find_or_add(const WeldKey& key, uint32_t next, bool& added) {
    for (size_t i = weld_hash(key) & mask_;; i = (i + 1) & mask_) {
      Slot& slot = slots_[i];
      if (slot.number == kEmpty) {
        slot = {key, next};
        added = true;
        return next;
      }
      if (slot.key == key) {
        added = false;
        return slot.number;
      }
    }
  }

 private:
  static constexpr uint32_t kEmpty = UINT32_MAX;
  struct Slot {
    WeldKey key{};
    uint32_t number = kEmpty;
  };
  std::vector<Slot> slots_;
  size_t mask_ = 0;
};

uint32_t float_bits(float f) {
  return f == 0.0f ? 0u : std::bit_cast<uint32_t>(f);
}

using SkinSignature = std::vector<std::pair<std::string, float>>;

// Per source vertex, the signature number of its bone weights (0: none).
std::vector<uint32_t> skin_signatures(const aiMesh& mesh,
                                      std::map<SkinSignature, uint32_t>& numbers) {
  std::vector<uint32_t> out(mesh.mNumVertices, 0);
  if (mesh.mNumBones == 0) return out;
  std::vector<SkinSignature> weights(mesh.mNumVertices);
  for (unsigned b = 0; b < mesh.mNumBones; ++b) {
    const aiBone* bone = mesh.mBones[b];
    for (unsigned w = 0; w < bone->mNumWeights; ++w) {
      const aiVertexWeight& vw = bone->mWeights[w];
      if (vw.mVertexId < mesh.mNumVertices && vw.mWeight > 0.0f) {
        weights[vw.mVertexId].emplace_back(bone->mName.C_Str(), vw.mWeight);
      }
    }
  }
  for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
    if (weights[v].empty()) continue;
    std::sort(weights[v].begin(), weights[v].end());
    out[v] = numbers.emplace(std::move(weights[v]), uint32_t(numbers.size() + 1)).first->second;
  }
  return out;
}

bool has_triangles(const aiMesh& mesh) {
  return (mesh.mPrimitiveTypes & aiPrimitiveType_TRIANGLE) != 0 || mesh.mPrimitiveTypes == 0;
}

// The faces of all source meshes, naming source vertices numbered over the
// meshes: mesh k's faces are faces[first_face[k] .. first_face[k + 1]) and
// its vertices start at first_vertex[k].
struct SourceFaces {
  std::vector<std::array<uint32_t, 3>> faces;
  std::vector<uint32_t> first_face;    // one per mesh, and the end
  std::vector<uint32_t> first_vertex;  // one per mesh
};

// One map channel over all source meshes: each mesh's values in a run of
// map vertices, meshes without the data sharing one `fallback` vertex.
template <class ValueOf, class Has>
void fill_channel(MeshMap& map, std::span<const aiMesh* const> meshes, const SourceFaces& source,
                  Has has, ValueOf value_of, const Point3& fallback) {
  std::vector<uint32_t> base(meshes.size(), UINT32_MAX);
  size_t vertices = 1;
  for (size_t k = 0; k < meshes.size(); ++k) {
    if (has(*meshes[k])) vertices += meshes[k]->mNumVertices;
  }
  map.tv.reserve(vertices);
  for (size_t k = 0; k < meshes.size(); ++k) {
    if (!has(*meshes[k])) continue;
    base[k] = uint32_t(map.tv.size());
    for (unsigned v = 0; v < meshes[k]->mNumVertices; ++v)
      map.tv.push_back(value_of(*meshes[k], v));
  }
  const uint32_t fallback_index = uint32_t(map.tv.size());
  bool fallback_used = false;
  map.tf.reserve(source.faces.size());
  for (size_t k = 0; k < meshes.size(); ++k) {
    const uint32_t begin = source.first_face[k];
    const uint32_t end = source.first_face[k + 1];
    if (begin == end) continue;
    if (base[k] == UINT32_MAX) {
      map.tf.insert(map.tf.end(), end - begin,
                    TVFace{{fallback_index, fallback_index, fallback_index}});
      fallback_used = true;
      continue;
    }
    // The mesh's map vertices lie in the order of its source vertices.
    const uint32_t shift = base[k] - source.first_vertex[k];
    for (uint32_t f = begin; f < end; ++f) {
      const auto& face = source.faces[f];
      map.tf.push_back(TVFace{{face[0] + shift, face[1] + shift, face[2] + shift}});
    }
  }
  if (fallback_used) map.tv.push_back(fallback);
}

}  // namespace

ImportedMesh import_mesh(std::span<const aiMesh* const> meshes) {
  ImportedMesh out;
  out.object = std::make_shared<TriObject>();
  Mesh& mesh = out.object->mesh;
  out.host_vertex.resize(meshes.size());

  size_t vertex_count = 0;
  size_t face_count = 0;
  for (const aiMesh* m : meshes) {
    if (!has_triangles(*m)) continue;
    vertex_count += m->mNumVertices;
    face_count += m->mNumFaces;
  }

  // Weld the vertices; the source vertices are numbered over the meshes.
  SourceFaces source;
  source.first_vertex.assign(meshes.size(), 0);
  std::vector<uint32_t> welded_into(vertex_count);
  std::vector<Point3> normals(vertex_count);
  WeldTable welded(vertex_count);
  mesh.verts.reserve(vertex_count);
  std::map<SkinSignature, uint32_t> signatures;
  uint32_t next_source = 0;
  for (size_t k = 0; k < meshes.size(); ++k) {
    const aiMesh& m = *meshes[k];
    source.first_vertex[k] = next_source;
    if (!has_triangles(m)) continue;
    const std::vector<uint32_t> skin = skin_signatures(m, signatures);
    auto& host_vertex = out.host_vertex[k];
    host_vertex.resize(m.mNumVertices);
    for (unsigned v = 0; v < m.mNumVertices; ++v) {
      const Point3 p = host_point(m.mVertices[v]);
      const WeldKey key{{float_bits(p.x), float_bits(p.y), float_bits(p.z)}, skin[v]};
      bool added = false;
      host_vertex[v] = welded.find_or_add(key, uint32_t(mesh.verts.size()), added);
      if (added) mesh.verts.push_back(p);
      welded_into[next_source + v] = host_vertex[v];
      if (m.mNormals != nullptr) normals[next_source + v] = host_point(m.mNormals[v]);
    }
    next_source += m.mNumVertices;
  }

  // Faces and their material ids.
  source.faces.reserve(face_count);
  source.first_face.reserve(meshes.size() + 1);
  mesh.faces.reserve(face_count);
  for (size_t k = 0; k < meshes.size(); ++k) {
    const aiMesh& m = *meshes[k];
    source.first_face.push_back(uint32_t(source.faces.size()));
    if (!has_triangles(m)) {
      out.skipped_faces += m.mNumFaces;
      continue;
    }
    const uint32_t first = source.first_vertex[k];
    const uint32_t* host_vertex = out.host_vertex[k].data();
    const uint16_t material = uint16_t(std::min<size_t>(k, UINT16_MAX));
    for (unsigned f = 0; f < m.mNumFaces; ++f) {
      const aiFace& face = m.mFaces[f];
      if (face.mNumIndices != 3 || face.mIndices[0] >= m.mNumVertices ||
          face.mIndices[1] >= m.mNumVertices || face.mIndices[2] >= m.mNumVertices) {
        ++out.skipped_faces;
        continue;
      }
      const unsigned* i = face.mIndices;
      source.faces.push_back({first + i[0], first + i[1], first + i[2]});
      mesh.faces.push_back(
          Face{{host_vertex[i[0]], host_vertex[i[1]], host_vertex[i[2]]}, 0, material});
    }
  }
  source.first_face.push_back(uint32_t(source.faces.size()));

  // Map channels: colours in 0, texture coordinates in 1 to 4, alpha.
  int channels = 0;
  const auto any = [&](auto has) {
    return std::any_of(meshes.begin(), meshes.end(), [&](const aiMesh* m) { return has(*m); });
  };
  const auto has_colours = [](const aiMesh& m) { return m.mColors[0] != nullptr; };
  for (int c = 0; c < kUvChannels; ++c) {
    const auto has_uv = [c](const aiMesh& m) { return m.mTextureCoords[c] != nullptr; };
    if (any(has_uv)) channels = c + 2;
  }
  if (any(has_colours)) channels = std::max(channels, 1);
  mesh.setNumMaps(channels);
  for (int c = 0; c < kUvChannels; ++c) {
    const auto has_uv = [c](const aiMesh& m) { return m.mTextureCoords[c] != nullptr; };
    if (!any(has_uv)) continue;
    fill_channel(
        *mesh.Map(c + 1), meshes, source, has_uv,
        [c](const aiMesh& m, unsigned v) {
          const aiVector3D& uv = m.mTextureCoords[c][v];
          return UVVert(uv.x, uv.y, uv.z);
        },
        Point3());
  }
  if (any(has_colours)) {
    fill_channel(
        *mesh.Map(0), meshes, source, has_colours,
        [](const aiMesh& m, unsigned v) {
          const aiColor4D& colour = m.mColors[0][v];
          return Point3(colour.r, colour.g, colour.b);
        },
        Point3(1, 1, 1));
    const auto has_alpha = [](const aiMesh& m) {
      if (m.mColors[0] == nullptr) return false;
      for (unsigned v = 0; v < m.mNumVertices; ++v)
        if (m.mColors[0][v].a < 1.0f) return true;
      return false;
    };
    if (any(has_alpha)) {
      fill_channel(
          *mesh.Map(MAP_ALPHA), meshes, source, has_colours,
          [](const aiMesh& m, unsigned v) {
            const float a = m.mColors[0][v].a;
            return Point3(a, a, a);
          },
          Point3(1, 1, 1));
    }
  }

  const SmoothingResult smoothing =
      smoothing_groups_of_source(source.faces, normals, welded_into, mesh.verts.size());
  for (size_t f = 0; f < mesh.faces.size(); ++f) mesh.faces[f].smGroup = smoothing.groups[f];
  out.shared_groups = smoothing.shared;
  return out;
}

}  // namespace scene_import
