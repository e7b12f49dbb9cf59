// The source's Y-up axes to the host's Z-up axes: host (x, y, z) =
// (x, -z, y). Assimp's matrices act on column vectors, the host's on row
// vectors; the conversions take care of both.
#pragma once

#include <assimp/matrix4x4.h>
#include <assimp/quaternion.h>
#include <assimp/vector3.h>

#include "host/matrix3.h"
#include "host/point3.h"
#include "host/quat.h"

namespace scene_import {

// A point or direction.
inline Point3 host_point(const aiVector3D& p) {
  return {p.x, -p.z, p.y};
}

// Scale factors along the axes: (x, y, z) becomes (x, z, y).
inline Point3 host_scale(const aiVector3D& s) {
  return {s.x, s.z, s.y};
}

// A rotation. Assimp's quaternion turns column vectors, a host quaternion
// row vectors, so the host's is the conjugate, with its vector part in host
// axes: (-x, z, -y, w).
inline Quat host_rotation(const aiQuaternion& q) {
  return {-q.x, q.z, -q.y, q.w};
}

// A transform: C⁻¹ · Mᵀ · C, where C turns source rows into host rows.
Matrix3 host_matrix(const aiMatrix4x4& m);

}  // namespace scene_import
