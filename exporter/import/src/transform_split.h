// A node's local transform split into what its position/rotation/scale
// controller holds and what only the object offset can hold.
//
// The controller (and the .3da file after it) keeps a translation, a
// rotation and scale factors along the node's own axes, the scale applied
// first. A local transform whose stretch runs along other axes (it shears
// once the rotation follows) needs that stretch elsewhere: in the object
// offset, which moves the node's object but not its children.
#pragma once

#include "host/matrix3.h"
#include "host/quat.h"

namespace scene_import {

struct TransformSplit {
  Point3 position;
  Quat rotation;
  ScaleValue scale;  // axis factors (negative for a mirror), identity axes
  // Set when the stretch does not run along the node's axes: `stretch` then
  // is that stretch (applied before `rotation` and `position`, which keep a
  // mirror as scale -1), and `scale` the mirror only.
  bool needs_offset = false;
  ScaleValue stretch;
  // The whole stretch as the controller would hold it with its scale axes
  // (when the offset cannot be used).
  ScaleValue stretch_in_controller;
};

TransformSplit split_transform(const Matrix3& local);

// True when `m` is a similarity: a rotation, a uniform scale (a mirror
// allowed) and a translation, so that it commutes with any axis scale.
bool is_similarity(const Matrix3& m);

}  // namespace scene_import
