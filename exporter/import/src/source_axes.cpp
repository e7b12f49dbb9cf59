// Source transforms in host axes.
#include "source_axes.h"

namespace scene_import {

Matrix3 host_matrix(const aiMatrix4x4& m) {
  // Row i of the host matrix is the image of host axis i: the source axis it
  // stands for, through the source transform, back in host axes.
  const aiVector3D source_x(m.a1, m.b1, m.c1);
  const aiVector3D source_y(m.a2, m.b2, m.c2);
  const aiVector3D minus_source_z(-m.a3, -m.b3, -m.c3);
  const aiVector3D translation(m.a4, m.b4, m.c4);
  // Host x is source x, host y is source -z, host z is source y.
  return Matrix3(host_point(source_x), host_point(minus_source_z), host_point(source_y),
                 host_point(translation));
}

}  // namespace scene_import
