// The sampled capture of Biped nodes.
#include <algorithm>
#include <string>

#include "host/class_ids.h"
#include "host/decomp.h"
#include "scenepress/axes.h"
#include "scenepress/scene_order.h"
#include "scenepress/track_capture.h"

namespace scenepress {
namespace {

using model3da::LinearKey;
using model3da::TcbKey;

constexpr uint32_t kAllKeys = KEYAT_POSITION | KEYAT_ROTATION | KEYAT_SCALE;

// The controller whose keys a node's Biped controller keeps: the body
// controller's first sub-controller, else the controller itself.
Control* keyed_controller(Control* c) {
  if (c != nullptr && c->ClassID() == BIPBODY_CONTROL_CLASS_ID && c->NumSubs() > 0) {
    return dynamic_cast<Control*>(c->SubAnim(0));
  }
  return c;
}

// The node's local transform (node transform times the inverse parent
// transform), as translation and rotation.
AffineParts local_parts(INode* node, TimeValue t) {
  AffineParts parts;
  decomp_affine(node->GetNodeTM(t) * Inverse(node->GetParentTM(t)), &parts);
  return parts;
}

}  // namespace

std::vector<TimeValue> biped_key_times(INode* node, Interval range) {
  std::vector<TimeValue> times;
  for (INode* n = node; n != nullptr && !n->IsRootNode(); n = n->GetParentNode()) {
    if (Control* c = keyed_controller(n->GetTMController())) c->GetKeyTimes(times, range, kAllKeys);
  }
  std::sort(times.begin(), times.end());
  times.erase(std::unique(times.begin(), times.end()), times.end());
  return times;
}

void capture_biped(INode* node, const CaptureSettings& s, const DebugOutput& debug,
                   CapturedTracks& out) {
  std::vector<TimeValue> times = biped_key_times(node, s.range);
  std::string listing = "********* Node\n";
  for (TimeValue t : times) listing += std::to_string(t) + "\n";
  if (debug) debug(listing);
  // Times that fall into one frame would give keys of equal frames (and
  // segments of no length): the first of them stands for the frame.
  std::vector<TimeValue> frames_once;
  for (TimeValue t : times) {
    if (frames_once.empty() || frames_once.back() / s.ticks_per_frame != t / s.ticks_per_frame) {
      frames_once.push_back(t);
    }
  }
  if (s.no_animation && frames_once.size() > 1) frames_once.resize(1);
  if (frames_once.empty()) {
    out.position = std::make_unique<model3da::LINEARTrack3D_c>(
        std::vector<LinearKey<3>>{{0, file_point(node->GetNodeTM(0).GetTrans())}});
    out.rotation = std::make_unique<model3da::LINEARTrack4D_c>(
        std::vector<LinearKey<4>>{{0, file_quat(local_parts(node, 0).q)}});
    return;
  }
  std::vector<TcbKey<3>> positions(frames_once.size());
  std::vector<TcbKey<4>> rotations(frames_once.size());
  for (size_t k = 0; k < frames_once.size(); ++k) {
    const AffineParts parts = local_parts(node, frames_once[k]);
    const int32_t frame = int32_t(frames_once[k] / s.ticks_per_frame);
    positions[k].frame = frame;
    positions[k].value = file_point(parts.t);
    rotations[k].frame = frame;
    rotations[k].value = file_quat(parts.q);
  }
  squad_tangents(rotations);
  out.position = std::make_unique<model3da::TCBTrack3D_c>(positions);
  out.rotation = std::make_unique<model3da::TCBTrack4D_c>(rotations);
}

}  // namespace scenepress
