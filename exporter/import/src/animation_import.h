// The chosen animation clip as the nodes' controllers: linear position,
// rotation and scale keys at the host's ticks.
#pragma once

#include <memory>

#include "host/memory_controls.h"
#include "import_context.h"

namespace scene_import {

// The static parts of a node's transform (used where the clip has no keys).
struct StaticTransform {
  Point3 position;
  Quat rotation;
  ScaleValue scale;
};

// The node's position/rotation/scale controller: keys from `channel` (may be
// null) where it has them, the static values elsewhere. `after` is a
// similarity (rotation, uniform scale, translation) that follows the node's
// own transform, as when a source root is folded into its children; the keys
// take it in.
std::unique_ptr<host::PRSControl> node_controller(const ImportContext& context,
                                                  const aiNodeAnim* channel,
                                                  const StaticTransform& rest,
                                                  const Matrix3& after);

}  // namespace scene_import
