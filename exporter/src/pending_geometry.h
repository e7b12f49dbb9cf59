// A mesh node whose geometry the core builds on a second thread while the
// scene walk goes on; the main thread finishes the node in walk order.
#pragma once

#include <exception>
#include <thread>

#include "geometry/geometry_export.h"
#include "scenepress/scenepress.h"

namespace scenepress {

struct Scenepress::PendingGeometry {
  model3da::NodeData record;
  INode* node = nullptr;
  geometry::MeshInput input;
  geometry::GeometryResult result;
  std::exception_ptr failure;  // what the core threw, thrown again on the main thread
  std::thread worker;

  PendingGeometry() = default;
  PendingGeometry(const PendingGeometry&) = delete;
  PendingGeometry& operator=(const PendingGeometry&) = delete;
  ~PendingGeometry() {
    if (worker.joinable()) worker.join();
  }
};

}  // namespace scenepress
