// Box projection of map channel 1.
#include "uvw_box_map.h"

#include <cmath>

#include "host/box3.h"

namespace scene_import {

bool has_texture_channel(const Mesh& mesh) {
  if (mesh.getNumMaps() > 1 && mesh.getNumMapVerts(1) > 0) return true;
  for (int channel = 2; channel <= 4; ++channel) {
    if (channel < mesh.getNumMaps() && mesh.mapSupport(channel)) return true;
  }
  return false;
}

void apply_box_map(Mesh& mesh) {
  Box3 box;
  for (const Point3& p : mesh.verts) box += p;
  const Point3 size = box.IsEmpty() ? Point3(1, 1, 1) : box.Width();
  const auto along = [&](const Point3& p, int axis) {
    return size[axis] > 0.0f ? (p[axis] - box.pmin[axis]) / size[axis] : 0.0f;
  };
  if (mesh.getNumMaps() < 2) mesh.setNumMaps(2);
  MeshMap& map = *mesh.Map(1);
  map.tv.clear();
  map.tf.clear();
  for (int f = 0; f < mesh.getNumFaces(); ++f) {
    const Point3 n = mesh.FaceNormal(f);
    const Point3 a(std::fabs(n.x), std::fabs(n.y), std::fabs(n.z));
    const int axis = a.x >= a.y && a.x >= a.z ? 0 : (a.y >= a.z ? 1 : 2);
    const int u_axis = axis == 0 ? 1 : 0;
    const int v_axis = axis == 2 ? 1 : 2;
    // Seen from outside, u runs to the right on every side.
    const bool flip = (n[axis] < 0.0f) != (axis == 1);
    TVFace tf;
    for (int c = 0; c < 3; ++c) {
      const Point3& p = mesh.verts[mesh.faces[size_t(f)].v[c]];
      const float u = along(p, u_axis);
      tf.t[c] = uint32_t(map.tv.size());
      map.tv.push_back(UVVert(flip ? 1.0f - u : u, along(p, v_axis), 0.0f));
    }
    map.tf.push_back(tf);
  }
}

}  // namespace scene_import
