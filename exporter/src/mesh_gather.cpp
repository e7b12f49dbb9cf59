// The host's mesh as the geometry core's mesh description.
#include "scenepress/mesh_gather.h"

#include <fmt/format.h>

#include "geometry/axes.h"
#include "scenepress/axes.h"

namespace scenepress {
namespace {

geometry::Vec3 vec(const Point3& p) {
  return {p.x, p.y, p.z};
}

geometry::MapChannel channel_of(const MeshMap& map) {
  geometry::MapChannel out;
  out.vertices.reserve(map.tv.size());
  for (const UVVert& v : map.tv) out.vertices.push_back(vec(v));
  out.faces.reserve(map.tf.size());
  for (const TVFace& f : map.tf) out.faces.push_back({f.t[0], f.t[1], f.t[2]});
  return out;
}

// The cofactor matrix: the inverse transpose times the determinant, defined
// for singular matrices too.
geometry::Matrix3 cofactors(const geometry::Matrix3& m) {
  auto at = [&m](int i, int j) { return double(m[size_t(3 * i + j)]); };
  geometry::Matrix3 c{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      const int i1 = (i + 1) % 3, i2 = (i + 2) % 3, j1 = (j + 1) % 3, j2 = (j + 2) % 3;
      c[size_t(3 * i + j)] = float(at(i1, j1) * at(i2, j2) - at(i1, j2) * at(i2, j1));
    }
  return c;
}

}  // namespace

Matrix3 object_offset_matrix(INode* node) {
  Matrix3 offset;
  offset.PreTranslate(node->GetObjOffsetPos());
  PreRotateMatrix(offset, node->GetObjOffsetRot());
  ApplyScaling(offset, node->GetObjOffsetScale());
  return offset;
}

bool is_mirrored(INode* node) {
  return node->GetObjectTM(0).Parity() < 0.0f;
}

geometry::Matrix3 normal_matrix(const Matrix3& object_offset) {
  geometry::Matrix3 linear{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) linear[size_t(3 * i + j)] = object_offset[i][j];
  if (auto m = geometry::normal_matrix_from_object_offset(linear)) return *m;
  return cofactors(geometry::to_file_axes(linear));
}

std::vector<geometry::Vec3> file_positions(const Mesh& mesh, const Matrix3& transform) {
  std::vector<geometry::Vec3> out;
  out.reserve(mesh.verts.size());
  for (const Point3& p : mesh.verts) out.push_back(file_point(p * transform));
  return out;
}

std::vector<geometry::Vec3> file_positions(std::span<const Point3> points) {
  std::vector<geometry::Vec3> out;
  out.reserve(points.size());
  for (const Point3& p : points) out.push_back(file_point(p));
  return out;
}

std::string gather_mesh(const Mesh& mesh, const std::array<bool, 5>& channels,
                        geometry::MeshInput& out) {
  const size_t face_count = mesh.faces.size();
  // Filled in place, field by field.
  out.faces.assign(face_count, geometry::Face{});
  out.face_normals.resize(face_count);
  for (size_t f = 0; f < face_count; ++f) {
    const Face& face = mesh.faces[f];
    geometry::Face& g = out.faces[f];
    g.v = {face.v[0], face.v[1], face.v[2]};
    g.smoothing_groups = face.smGroup;
    out.face_normals[f] = vec(mesh.FaceNormal(int(f)));
  }
  for (int c = 0; c < geometry::kMapChannelCount; ++c) {
    out.channels[size_t(c)] = {};
    if (!channels[size_t(c)]) continue;
    if (!mesh.mapSupport(c)) {
      const MeshMap* map = mesh.Map(c);
      return fmt::format("Mesh '{}': map channel {} has {} map faces for {} faces", out.node_name,
                         c, map != nullptr ? map->tf.size() : 0, face_count);
    }
    out.channels[size_t(c)] = channel_of(*mesh.Map(c));
  }
  out.alpha =
      mesh.mapSupport(MAP_ALPHA) ? channel_of(*mesh.Map(MAP_ALPHA)) : geometry::MapChannel{};
  return {};
}

}  // namespace scenepress
