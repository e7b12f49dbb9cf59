// The geometry export of one mesh, step by step.
#include "geometry/geometry_export.h"

#include <fmt/format.h>

#include <algorithm>
#include <memory>
#include <utility>

#include "geometry/face_vectors.h"
#include "geometry/mesh_prepare.h"
#include "geometry/smoothing.h"
#include "geometry/surface_order.h"
#include "geometry/weld_map_file.h"

namespace geometry {
namespace {

constexpr float kEmptyBox = model3da::kEmptyBoundsMin;

// Channel 0 (colours) and channel 1 follow switch 0, channels 2..4 switches
// 1..3.
bool channel_exported(const MeshInput& input, int channel) {
  return input.channels[channel].present() &&
         input.export_tex_coord[channel == 0 ? 0 : channel - 1];
}

std::string material_name(const MeshInput& input, uint32_t index) {
  if (index == kNoMaterial) return "no material";
  if (index < input.material_names.size()) return input.material_names[index];
  return fmt::format("#{}", index);
}

// Collects the strip builder's messages, each once with its count.
struct NoteCounter {
  std::vector<std::pair<std::string, std::size_t>> counts;

  void add(std::string_view message) {
    while (!message.empty() && message.back() == '\n') message.remove_suffix(1);
    for (auto& [text, count] : counts) {
      if (text == message) {
        ++count;
        return;
      }
    }
    counts.emplace_back(std::string(message), 1);
  }
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const auto& [text, count] : counts)
      out.push_back(count == 1 ? text : fmt::format("{} ({} times)", text, count));
    return out;
  }
};

}  // namespace

GeometryError build_corner_geometry(const MeshInput& input, CornerGeometry& out) {
  out = CornerGeometry{};
  PreparedMesh mesh;
  if (GeometryError e = prepare_mesh(input, mesh)) return e;

  // Map channels: a mesh needs one of the texture channels, bones do not.
  const bool any_texture = std::any_of(input.channels.begin() + 1, input.channels.end(),
                                       [](const MapChannel& c) { return c.present(); });
  if (!input.bone && !any_texture) {
    return {GeometryErrorKind::kNoMapping,
            fmt::format("No mapping applied for mesh: {}", input.node_name)};
  }

  // The box of the positions.
  out.box_min = {kEmptyBox, kEmptyBox, kEmptyBox};
  out.box_max = {-kEmptyBox, -kEmptyBox, -kEmptyBox};
  for (const Vec3& p : input.positions) {
    for (int k = 0; k < 3; ++k) {
      out.box_min[k] = std::min(out.box_min[k], p[k]);
      out.box_max[k] = std::max(out.box_max[k], p[k]);
    }
  }

  // Colours and UVs.
  const bool colors = input.export_tex_coord[0] &&
                      (input.channels[kColorChannel].present() || input.alpha.present());
  const bool color_channel = colors && input.channels[kColorChannel].present();
  const bool alpha_channel = colors && input.alpha.present();
  std::array<std::vector<Vec2>, 4> uvs;
  for (int c = 1; c < kMapChannelCount; ++c)
    if (channel_exported(input, c)) uvs[c - 1] = exported_uvs(input.channels[c].vertices);

  // Face normals and tangents. The host's normals are copied only when
  // faces were dropped.
  std::vector<Vec3> kept_normals;
  const bool all_faces_kept = mesh.source_face.size() == input.faces.size();
  if (!all_faces_kept) {
    kept_normals.reserve(mesh.faces.size());
    for (uint32_t f : mesh.source_face) kept_normals.push_back(input.face_normals[f]);
  }
  FaceNormals normals =
      face_normals(all_faces_kept ? input.face_normals : kept_normals, input.normal_matrix);
  out.bad_face_normals = normals.not_finite;
  if (normals.not_finite != 0) out.warnings.emplace_back(kMessageFaceNormal);
  const std::vector<Vec3> tangents =
      channel_exported(input, 1)
          ? face_tangents(mesh.faces, input.positions, mesh.map_faces[1], uvs[0])
          : std::vector<Vec3>(mesh.faces.size(), Vec3{1, 0, 0});

  // Smoothing.
  std::vector<uint32_t> groups;
  std::vector<uint32_t> materials;
  groups.reserve(mesh.faces.size());
  materials.reserve(mesh.faces.size());
  for (uint32_t f : mesh.source_face) {
    groups.push_back(input.faces[f].smoothing_groups);
    materials.push_back(input.bone ? kNoMaterial : input.faces[f].material_index);
  }
  // A mesh smooth all over has its vectors per vertex, else per corner;
  // every entry is written by the smoothing.
  const bool per_vertex = smooth_as_one_set(groups);
  const size_t smoothed_count = per_vertex ? input.positions.size() : mesh.faces.size() * 3;
  const auto smoothed_normals = std::make_unique_for_overwrite<Vec3[]>(smoothed_count);
  const auto smoothed_tangents = std::make_unique_for_overwrite<Vec3[]>(smoothed_count);
  const std::span<Vec3> normals_out(smoothed_normals.get(), smoothed_count);
  const std::span<Vec3> tangents_out(smoothed_tangents.get(), smoothed_count);
  if (per_vertex) {
    smooth_vertices(mesh.faces, normals.normals, tangents, input.positions.size(), normals_out,
                    tangents_out);
  } else {
    smooth_corners(mesh.faces, groups, normals.normals, tangents, input.positions.size(),
                   normals_out, tangents_out);
  }

  // One surface per material, corners in face order.
  const Vec3* color_values =
      color_channel ? input.channels[kColorChannel].vertices.data() : nullptr;
  const Triangle* color_faces = color_channel ? mesh.map_faces[0].data() : nullptr;
  const Vec3* alphas = alpha_channel ? input.alpha.vertices.data() : nullptr;
  const Triangle* alpha_faces = alpha_channel ? mesh.alpha_faces.data() : nullptr;
  std::array<const Vec2*, 4> uv_values{};
  std::array<const Triangle*, 4> uv_faces{};
  for (int t = 0; t < 4; ++t) {
    if (uvs[t].empty()) continue;
    uv_values[t] = uvs[t].data();
    uv_faces[t] = mesh.map_faces[t + 1].data();
  }
  const SkinRecord* skin = input.skin.empty() ? nullptr : input.skin.data();
  for (const MaterialRun& run : faces_by_material(materials)) {
    CornerSurface& surface = out.surfaces.emplace_back();
    surface.material_index = run.material_index;
    // Positions and vectors first, then each present channel over all the
    // corners.
    std::vector<Corner>& corners = surface.corners;
    corners.reserve(run.faces.size() * 3);
    for (uint32_t f : run.faces) {
      for (int k = 0; k < 3; ++k) {
        const uint32_t v = mesh.faces[f][k];
        const size_t at = per_vertex ? v : 3 * size_t(f) + size_t(k);
        Corner c;
        c.position = input.positions[v];
        c.normal = smoothed_normals[at];
        c.tangent = smoothed_tangents[at];
        corners.push_back(c);
      }
    }
    auto each_corner = [&run, &corners](auto&& set) {
      Corner* c = corners.data();
      for (uint32_t f : run.faces)
        for (int k = 0; k < 3; ++k) set(*c++, f, k);
    };
    if (color_values != nullptr) {
      each_corner([&](Corner& c, uint32_t f, int k) {
        c.color = vertex_color(color_values[color_faces[f][k]]);
      });
    }
    if (alphas != nullptr) {
      each_corner([&](Corner& c, uint32_t f, int k) {
        c.color = with_alpha(c.color, alphas[alpha_faces[f][k]][0]);
      });
    }
    for (int t = 0; t < 4; ++t) {
      if (uv_values[t] == nullptr) continue;
      const Vec2* values = uv_values[t];
      const Triangle* faces = uv_faces[t];
      each_corner([&](Corner& c, uint32_t f, int k) { c.uv[t] = values[faces[f][k]]; });
    }
    if (skin != nullptr) {
      each_corner([&](Corner& c, uint32_t f, int k) { c.skin = skin[mesh.faces[f][k]]; });
    }
  }
  return {};
}

GeometryError weld_surface(std::size_t, const CornerSurface& surface, WeldMap& weld) {
  weld = weld_corners(surface.corners);
  return {};
}

GeometryResult export_geometry(const MeshInput& input, const Welder& welder) {
  GeometryResult result;
  CornerGeometry corners;
  result.error = build_corner_geometry(input, corners);
  if (result.error) return result;
  result.box_min = corners.box_min;
  result.box_max = corners.box_max;
  result.warnings = std::move(corners.warnings);

  NoteCounter notes;
  const model3da::StripMessageSink sink = [&notes](std::string_view m) { notes.add(m); };
  auto fail = [&result](GeometryError error) {
    result.error = std::move(error);
    result.surfaces.clear();
    return std::move(result);
  };
  for (std::size_t s = 0; s < corners.surfaces.size(); ++s) {
    const CornerSurface& surface = corners.surfaces[s];
    WeldMap weld;
    if (GeometryError e = welder ? welder(s, surface, weld) : weld_surface(s, surface, weld)) {
      return fail(std::move(e));
    }
    const std::size_t vertex_count = weld.corner_of_vertex.size();
    if (vertex_count > kMaxSurfaceVertices) {
      return fail({GeometryErrorKind::kTooManyVertices,
                   fmt::format("Mesh '{}': the surface of material '{}' has {} vertices after "
                               "welding; a surface holds at most {}",
                               input.node_name, material_name(input, surface.material_index),
                               vertex_count, kMaxSurfaceVertices)});
    }
    if (std::string why = check_weld_map(weld, surface.corners.size()); !why.empty()) {
      notes.add(fmt::format("Mesh '{}', surface {}: {}", input.node_name, s, why));
      result.notes = notes.texts();
      return fail({GeometryErrorKind::kWeldMapMismatch, std::string(kMessageSurfacesDoNotMatch)});
    }
    result.surfaces.push_back(ordered_surface(surface, weld, sink));
  }
  result.notes = notes.texts();
  return result;
}

std::string append_surface_bytes(model3da::Bytes& data, uint32_t base,
                                 std::span<const model3da::SurfaceData> surfaces,
                                 uint32_t& surfaces_offset) {
  return model3da::append_surfaces(data, base, surfaces, surfaces_offset);
}

}  // namespace geometry
