// The scene walk: which nodes become records, in which order, with which
// parent, kind and name; helpers completely (mesh nodes: geom_export.cpp).
#include <cstring>
#include <string>

#include "host/class_ids.h"
#include "scenepress/axes.h"
#include "scenepress/scene_order.h"
#include "scenepress/scenepress.h"
#include "scenepress/track_capture.h"

namespace scenepress {

int Scenepress::WalkNode(INode* node, int parentIndex) {
  if (selectedOnly && !node->Selected()) return kWalkOn;
  if (ip->GetCancel()) return kWalkStop;
  Output([this] { ip->ProgressUpdate(nodeCount, true, nullptr); });
  if (!ExportNode(node, parentIndex)) return kWalkStop;
  if (ip->GetCancel()) return kWalkStop;
  const int children_parent = nodeIndexCounter;
  for (INode* child : sorted_children(node)) {
    if (const int result = WalkNode(child, children_parent); result != kWalkOn) return result;
  }
  return kWalkOn;
}

bool Scenepress::ExportNode(INode* node, int parentIndex) {
  if (node->IsNodeHidden(false)) return true;
  const ObjectState state = node->EvalWorldState(0, true);
  if (state.obj == nullptr) return true;
  bool exported = false;
  const SClass_ID super = state.obj->SuperClassID();
  if (super == GEOMOBJECT_CLASS_ID) {
    if (!state.obj->CanConvertToType(TRIOBJ_CLASS_ID)) return true;
    if (!ExportGeomData(node, state.obj, parentIndex)) {
      FinishPending();  // the node before, and then what was held back
      return false;
    }
    exported = true;
  } else if (super == HELPER_CLASS_ID) {
    if (!ExportHelperData(node, parentIndex)) {
      FinishPending();  // the node before, and then what was held back
      return false;
    }
    exported = true;
  }
  if (exported) ++nodeIndexCounter;
  return true;
}

bool Scenepress::StartRecord(model3da::NodeData& record, INode* node, int parentIndex) {
  INode* parent = node->GetParentNode();
  record.parent_index =
      int16_t(parent == nullptr || parent->IsRootNode() ? model3da::kNoParent : parentIndex);
  record.child_count = visible_child_count(node);
  const char* name = node->GetName();
  if (std::strlen(name) > kMaxNameLength) {
    ShowMessage("Node name lenght >= %d. Node %s", int(kMaxNameLength + 1), name);
    return false;
  }
  return true;
}

bool Scenepress::ApplyLodPostfix(model3da::NodeData& record, const char* warn_as) {
  const std::string old_name = record.name;
  record.name = with_lod_postfix(old_name);
  if (record.name.size() > kMaxNameLength) {
    ShowMessage("Node name %s with the LOD postfix '_0' is longer than %d characters",
                old_name.c_str(), int(kMaxNameLength));
    return false;
  }
  if (record.name != old_name && warn_as != nullptr) {
    ShowMessage("Scenepress::%s(..): No LOD postfix '_x'. Changing node name %s -> %s", warn_as,
                old_name.c_str(), record.name.c_str());
  }
  return true;
}

bool Scenepress::AppendNode(const model3da::NodeData& record, INode* node) {
  if (size_t(nodeCount) >= nodeMatrixTable.size()) {
    ShowMessage("Node %s: more nodes to export than the %d counted before the export",
                node->GetName(), int(nodeMatrixTable.size()));
    return false;
  }
  const std::string error = nodeChain->append(record);
  if (!error.empty()) {
    ShowMessage("Node %s: %s", node->GetName(), error.c_str());
    return false;
  }
  ++nodeCount;
  exportedNodes.push_back(node);
  return true;
}

bool Scenepress::CaptureTracks(model3da::NodeData& record, INode* node) {
  CaptureSettings settings;
  settings.no_animation = noAnimation != 0;
  settings.range = ip->GetAnimRange();
  settings.ticks_per_frame = GetTicksPerFrame();
  CapturedTracks tracks;
  const bool ok = capture_tracks(
      node, settings, [this](const std::string& text) { ShowMessage("%s", text.c_str()); },
      [this](const std::string& text) { DebugOutput(text); }, tracks);
  if (!ok) return false;
  if (tracks.biped) record.node_type = model3da::BONE_3DA;
  record.position = std::move(tracks.position);
  record.rotation = std::move(tracks.rotation);
  record.scale = std::move(tracks.scale);
  return true;
}

bool Scenepress::ExportHelperData(INode* node, int parentIndex) {
  model3da::NodeData record;
  record.node_type = model3da::HELPER_3DA;
  if (!StartRecord(record, node, parentIndex)) return false;
  Object* object = node->EvalWorldState(0, true).obj;
  if (object != nullptr && object->ClassID() == DUMMY_CLASS_ID) {
    // The dummy's box in the node's object-offset frame.
    Matrix3 offset;
    offset.PreTranslate(node->GetObjOffsetPos());
    PreRotateMatrix(offset, node->GetObjOffsetRot());
    ApplyScaling(offset, node->GetObjOffsetScale());
    Box3 box;
    object->GetDeformBBox(0, box, &offset, false);
    record.box_min = file_point(box.pmin);
    record.box_max = file_point(box.pmax);
  }
  record.name = node->GetName();
  if (!ApplyLodPostfix(record, "ExportHelperData")) return false;
  if (!CaptureTracks(record, node) || !FinishPending()) return false;
  return AppendNode(record, node);
}

}  // namespace scenepress
