// Mesh geometry beside the scene walk. The geometry core depends only on
// its input, so while the main thread walks on (reading the host's scene,
// which only it may touch) and builds the next mesh node's geometry itself,
// the node before is built on a second thread. At most one node is pending.
// Everything the host would see while it is pending (messages, debug
// output, progress) is held back and shown once that node is finished, and
// nodes are appended to the chain in walk order, so the file, the messages
// and their order are those of a walk one node after the other.
#include <cstdlib>
#include <cstring>
#include <thread>
#include <utility>

#include "model3da/platform.h"
#include "pending_geometry.h"

namespace scenepress {

int geometry_threads() {
  const char* setting = std::getenv("SCENEPRESS_THREADS");
  if (setting == nullptr || std::strcmp(setting, "2") != 0) return 1;
  return std::thread::hardware_concurrency() > 1 ? 2 : 1;
}

void Scenepress::Output(std::function<void()> action) {
  if (pendingGeometry) {
    heldOutput.push_back(std::move(action));
  } else {
    action();
  }
}

void Scenepress::DebugOutput(std::string text) {
  Output([text = std::move(text)] { platform::debugger_output(text.c_str()); });
}

void Scenepress::StartPending(model3da::NodeData record, INode* node, geometry::MeshInput input) {
  auto pending = std::make_unique<PendingGeometry>();
  pending->record = std::move(record);
  pending->node = node;
  pending->input = std::move(input);
  PendingGeometry* job = pending.get();
  pending->worker = std::thread([job] {
    try {
      job->result = geometry::export_geometry(job->input, {});
    } catch (...) {
      job->failure = std::current_exception();
    }
  });
  pendingGeometry = std::move(pending);
}

bool Scenepress::FinishPending() {
  if (!pendingGeometry) return true;
  // From here on output goes straight to the host again.
  const std::unique_ptr<PendingGeometry> pending = std::move(pendingGeometry);
  std::vector<std::function<void()>> held = std::move(heldOutput);
  heldOutput.clear();
  pending->worker.join();
  if (pending->failure) std::rethrow_exception(pending->failure);
  pending->input = geometry::MeshInput{};
  if (!FinishSurfaces(pending->record, pending->result) ||
      !FinishGeomData(pending->record, pending->node)) {
    return false;
  }
  for (const std::function<void()>& action : held) action();
  return true;
}

}  // namespace scenepress
