// Checking the mesh description and making the working copy.
#include "geometry/mesh_prepare.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

namespace geometry {
namespace {

bool is_finite(const Vec3& v) {
  return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

GeometryError invalid(const MeshInput& input, const std::string& what) {
  return {GeometryErrorKind::kInvalidInput, fmt::format("Mesh '{}': {}", input.node_name, what)};
}

Triangle oriented(const Triangle& t, bool mirrored) {
  return mirrored ? Triangle{t[2], t[1], t[0]} : t;
}

// Checks each index of the kept faces' map faces and the map vertex it
// names, and gives the map faces of the kept faces: the channel's own when
// every face is kept and the corners keep their order, else a copy in
// `copy`. `name` is the channel's name for messages.
GeometryError copy_map_faces(const MeshInput& input, const MapChannel& channel,
                             const std::string& name, bool written_as_floats,
                             const PreparedMesh& mesh, std::vector<Triangle>& copy,
                             std::span<const Triangle>& out) {
  if (!channel.present()) return {};
  if (channel.faces.size() != input.faces.size()) {
    return invalid(input, fmt::format("{} has {} map faces for {} faces", name,
                                      channel.faces.size(), input.faces.size()));
  }
  // Each map vertex is checked once when all are finite; otherwise per use,
  // so that the first face using one is named.
  const bool check_values = written_as_floats && !std::all_of(channel.vertices.begin(),
                                                              channel.vertices.end(), is_finite);
  const size_t vertex_count = channel.vertices.size();
  const bool own = mesh.source_face.size() == input.faces.size() && !input.mirrored;
  if (!own) copy.reserve(mesh.source_face.size());
  for (uint32_t f : mesh.source_face) {
    const Triangle& t = channel.faces[f];
    for (uint32_t index : t) {
      if (index >= vertex_count) {
        return invalid(input, fmt::format("face {} uses map vertex {} of {}, which has {}", f,
                                          index, name, vertex_count));
      }
      if (check_values && !is_finite(channel.vertices[index])) {
        return invalid(input,
                       fmt::format("map vertex {} of {} is not a finite number", index, name));
      }
    }
    if (!own) copy.push_back(oriented(t, input.mirrored));
  }
  out = own ? std::span<const Triangle>(channel.faces) : std::span<const Triangle>(copy);
  return {};
}

}  // namespace

GeometryError prepare_mesh(const MeshInput& input, PreparedMesh& out) {
  out = PreparedMesh{};
  if (input.face_normals.size() != input.faces.size()) {
    return invalid(input, fmt::format("{} face normals for {} faces", input.face_normals.size(),
                                      input.faces.size()));
  }
  if (!input.skin.empty() && input.skin.size() != input.positions.size()) {
    return invalid(input, fmt::format("skin data for {} of {} vertices", input.skin.size(),
                                      input.positions.size()));
  }
  // Corner numbers are 32-bit.
  if (input.faces.size() > 0xFFFFFFFFu / 3) {
    return invalid(input, fmt::format("{} faces are too many", input.faces.size()));
  }
  for (size_t i = 0; i < input.positions.size(); ++i) {
    if (!is_finite(input.positions[i])) {
      return invalid(input, fmt::format("vertex {} has a position that is not a finite number", i));
    }
  }
  const size_t vertex_count = input.positions.size();
  out.faces.reserve(input.faces.size());
  out.source_face.reserve(input.faces.size());
  for (size_t f = 0; f < input.faces.size(); ++f) {
    const Triangle& t = input.faces[f].v;
    const bool illegal = t[0] >= vertex_count || t[1] >= vertex_count || t[2] >= vertex_count;
    const bool degenerate = t[0] == t[1] || t[1] == t[2] || t[0] == t[2];
    if (illegal || degenerate) continue;
    out.faces.push_back(oriented(t, input.mirrored));
    out.source_face.push_back(uint32_t(f));
  }
  for (int c = 0; c < kMapChannelCount; ++c) {
    // Texture coordinates that are exported reach the file as floats;
    // colours are clamped.
    const bool uv_written = c != kColorChannel && input.export_tex_coord[c - 1];
    if (GeometryError e =
            copy_map_faces(input, input.channels[c], fmt::format("map channel {}", c), uv_written,
                           out, out.map_face_copies[c], out.map_faces[c])) {
      return e;
    }
  }
  return copy_map_faces(input, input.alpha, "the alpha channel", false, out,
                        out.map_face_copies[kMapChannelCount], out.alpha_faces);
}

}  // namespace geometry
