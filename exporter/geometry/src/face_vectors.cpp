// Face normals and tangents.
#include "geometry/face_vectors.h"

#include <cmath>

#include "geometry/axes.h"

namespace geometry {
namespace {

inline Vec3 unit_or_zero_inline(const Vec3& v) {
  const double x = v[0], y = v[1], z = v[2];
  const double length = std::sqrt(x * x + y * y + z * z);
  if (!(length > 0.0) || !std::isfinite(length)) return {0, 0, 0};
  return {float(x / length), float(y / length), float(z / length)};
}

}  // namespace

Vec3 unit_or_zero(const Vec3& v) {
  return unit_or_zero_inline(v);
}

FaceNormals face_normals(std::span<const Vec3> host_normals, const Matrix3& normal_matrix) {
  FaceNormals out;
  out.normals.reserve(host_normals.size());
  // multiply(v, normal_matrix) with the matrix's floats made doubles once.
  double m[9];
  for (int i = 0; i < 9; ++i) m[i] = normal_matrix[size_t(i)];
  for (const Vec3& n : host_normals) {
    if (!std::isfinite(n[0]) || !std::isfinite(n[1]) || !std::isfinite(n[2])) {
      ++out.not_finite;
      out.normals.push_back({0, 0, 0});
      continue;
    }
    const Vec3 file = to_file_axes(n);
    const double x = file[0], y = file[1], z = file[2];
    const Vec3 product{float(x * m[0] + y * m[3] + z * m[6]), float(x * m[1] + y * m[4] + z * m[7]),
                       float(x * m[2] + y * m[5] + z * m[8])};
    out.normals.push_back(unit_or_zero_inline(product));
  }
  return out;
}

std::vector<Vec2> exported_uvs(std::span<const Vec3> map_vertices) {
  std::vector<Vec2> out;
  out.reserve(map_vertices.size());
  for (const Vec3& m : map_vertices) out.push_back({m[0], 1.0f - m[1]});
  return out;
}

std::vector<Vec3> face_tangents(std::span<const Triangle> faces, std::span<const Vec3> positions,
                                std::span<const Triangle> uv_faces, std::span<const Vec2> uvs) {
  std::vector<Vec3> out;
  out.reserve(faces.size());
  for (size_t f = 0; f < faces.size(); ++f) {
    const Vec3& p0 = positions[faces[f][0]];
    const Vec3& p1 = positions[faces[f][1]];
    const Vec3& p2 = positions[faces[f][2]];
    const Vec2& t0 = uvs[uv_faces[f][0]];
    const Vec2& t1 = uvs[uv_faces[f][1]];
    const Vec2& t2 = uvs[uv_faces[f][2]];
    const double du1 = double(t1[0]) - t0[0], dv1 = double(t1[1]) - t0[1];
    const double du2 = double(t2[0]) - t0[0], dv2 = double(t2[1]) - t0[1];
    const double d = du1 * dv2 - du2 * dv1;
    double tangent[3];
    for (int k = 0; k < 3; ++k) {
      const double e1 = double(p1[k]) - p0[k], e2 = double(p2[k]) - p0[k];
      tangent[k] = e1 * dv2 - e2 * dv1;
      if (d > 0) tangent[k] /= d;
    }
    // Scale in double: the undivided or divided vector may not fit a float.
    const double length =
        std::sqrt(tangent[0] * tangent[0] + tangent[1] * tangent[1] + tangent[2] * tangent[2]);
    if (!(length > 0.0) || !std::isfinite(length)) {
      out.push_back({0, 0, 0});
    } else {
      out.push_back(
          {float(tangent[0] / length), float(tangent[1] / length), float(tangent[2] / length)});
    }
  }
  return out;
}

}  // namespace geometry
