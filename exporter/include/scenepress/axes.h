// The host's axes to the file's: points, directions and quaternion vector
// parts (x, y, z) become (x, z, -y); scales (x, y, z) become (x, z, y).
#pragma once

#include "host/matrix3.h"
#include "host/point3.h"
#include "host/quat.h"
#include "model3da/math.h"

namespace scenepress {

inline model3da::Vec3 file_point(const Point3& p) {
  return {p.x, p.z, -p.y};
}

inline model3da::Vec3 file_scale(const Point3& s) {
  return {s.x, s.z, s.y};
}

inline model3da::Quat file_quat(const Quat& q) {
  return {q.x, q.z, -q.y, q.w};
}

inline Point3 host_axis_to_file(const Point3& p) {
  return {p.x, p.z, -p.y};
}

}  // namespace scenepress
