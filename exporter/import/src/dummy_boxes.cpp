// Dummy boxes: each dummy's box takes in what lies below it (the origins of
// its descendants and their meshes) at time 0; a dummy with nothing below
// gets a small box, a hundredth of the scene's size in the world.
#include <algorithm>
#include <cmath>
#include <memory>

#include "host/memory_objects.h"
#include "import_context.h"

namespace scene_import {
namespace {

Matrix3 local_at_start(host::SceneNode& node) {
  Matrix3 local;
  if (node.controller) node.controller->GetValue(0, local);
  return local;
}

class DummySizer {
 public:
  // The box of the node's pivot and everything below it, in the node's
  // frame. Dummies met on the way are noted with the box of their content.
  Box3 content(host::SceneNode& node) {
    Box3 box;
    box += Point3();
    if (auto* tri = dynamic_cast<TriObject*>(node.EvalWorldState(0).obj)) {
      const Matrix3 offset = node.object_offset();
      for (const Point3& p : tri->mesh.verts) box += p * offset;
    }
    for (auto& child : node.children) {
      const Box3 below = content(*child);
      if (below.IsEmpty()) continue;
      const Box3 moved = below * local_at_start(*child);
      box += moved.pmin;
      box += moved.pmax;
    }
    if (auto* dummy = dynamic_cast<host::DummyObject*>(node.object.get())) {
      dummies_.push_back({dummy, &node, box});
    }
    return box;
  }

  void size_all(float scene_size) {
    for (const Entry& e : dummies_) {
      // The fallback in the node's own units: the world's divided by the
      // node's scale in the world.
      const float world_scale = std::cbrt(std::fabs(e.node->GetObjectTM(0).Parity()));
      const float fallback =
          std::max(scene_size, 1e-6f) * 0.01f / (world_scale > 1e-12f ? world_scale : 1.0f);
      Box3 box = e.box;
      const Point3 width = box.Width();
      const float widest = std::max({width.x, width.y, width.z});
      // A flat or empty side gets a tenth of the widest one, or the fallback.
      const float pad = widest > 0.0f ? widest * 0.1f : fallback;
      for (int axis = 0; axis < 3; ++axis) {
        if (width[axis] <= widest * 1e-3f) {
          box.pmin[axis] -= pad;
          box.pmax[axis] += pad;
        }
      }
      const Matrix3 offset = e.node->object_offset();
      e.dummy->box = offset.IsIdentity() ? box : box * Inverse(offset);
    }
  }

 private:
  struct Entry {
    host::DummyObject* dummy;
    host::SceneNode* node;
    Box3 box;
  };
  std::vector<Entry> dummies_;
};

bool has_dummy(const host::SceneNode& node) {
  if (dynamic_cast<const host::DummyObject*>(node.object.get()) != nullptr) return true;
  return std::any_of(node.children.begin(), node.children.end(),
                     [](const auto& child) { return has_dummy(*child); });
}

}  // namespace

void size_dummies(ImportContext& c) {
  host::SceneNode& root = c.result->scene->root();
  // Without dummies the boxes are not needed.
  if (!has_dummy(root)) return;
  DummySizer sizer;
  const Box3 scene = sizer.content(root);
  const Point3 width = scene.IsEmpty() ? Point3() : scene.Width();
  sizer.size_all(std::max({width.x, width.y, width.z}));
}

}  // namespace scene_import
