// Capturing position, scale and float tracks, and the dispatcher.
#include "scenepress/track_capture.h"

#include "host/class_ids.h"
#include "scenepress/axes.h"
#include "scenepress/scene_order.h"

namespace scenepress {
namespace {

using model3da::BezierKey;
using model3da::LinearKey;
using model3da::TcbKey;

int32_t frame_of(TimeValue t, const CaptureSettings& s) {
  return int32_t(t / s.ticks_per_frame);
}

// Handle distances of Bezier key k: a third of the ticks to each neighbour,
// 0 at the ends.
float dt_before(const std::vector<TimeValue>& times, size_t k) {
  return k == 0 ? 0.0f : float(times[k] - times[k - 1]) * 0.33333334f;
}
float dt_after(const std::vector<TimeValue>& times, size_t k) {
  return k + 1 >= times.size() ? 0.0f : float(times[k + 1] - times[k]) * 0.33333334f;
}

template <class HostKey>
bool read_keys(IKeyControl* kc, std::vector<HostKey>& keys) {
  keys.resize(size_t(kc->GetNumKeys()));
  for (size_t i = 0; i < keys.size(); ++i) {
    if (!kc->GetKey(int(i), &keys[i])) return false;
  }
  return true;
}

template <class HostKey>
std::vector<TimeValue> times_of(const std::vector<HostKey>& keys) {
  std::vector<TimeValue> times;
  for (const HostKey& k : keys) times.push_back(k.time);
  return times;
}

template <int N>
void copy_tcb(const ITCBKey& from, TcbKey<N>& to, const CaptureSettings& s) {
  to.frame = frame_of(from.time, s);
  to.tension = from.tens;
  to.continuity = from.cont;
  to.bias = from.bias;
  to.ease_in = from.easeIn;
  to.ease_out = from.easeOut;
}

// A 3-component track (position or scale) of the controller's keys.
// `convert` turns a host vector into file axes; `value_of` takes a key's
// value as a host vector.
template <class TcbHost, class LinHost, class BezHost, class Convert, class ValueOf>
std::unique_ptr<model3da::Track_c> capture_vector(Control* c, const CaptureSettings& s,
                                                  const CaptureReport& report,
                                                  const Class_ID (&ids)[3],
                                                  const std::string& unsupported, Convert convert,
                                                  ValueOf value_of) {
  IKeyControl* kc = c != nullptr ? c->GetKeyControlInterface() : nullptr;
  if (kc == nullptr) {
    report(unsupported);
    return nullptr;
  }
  const Class_ID id = c->ClassID();
  if (kc->GetNumKeys() <= 0 || s.no_animation) {
    return std::make_unique<model3da::LINEARTrack3D_c>(
        std::vector<LinearKey<3>>{{0, convert(value_of(c))}});
  }
  if (id == ids[0]) {
    std::vector<TcbHost> keys;
    if (read_keys(kc, keys)) {
      std::vector<TcbKey<3>> out(keys.size());
      for (size_t k = 0; k < keys.size(); ++k) {
        copy_tcb(keys[k], out[k], s);
        out[k].value = convert(value_of(keys[k].val));
      }
      return std::make_unique<model3da::TCBTrack3D_c>(out);
    }
  } else if (id == ids[1]) {
    std::vector<LinHost> keys;
    if (read_keys(kc, keys)) {
      std::vector<LinearKey<3>> out(keys.size());
      for (size_t k = 0; k < keys.size(); ++k) {
        out[k] = {frame_of(keys[k].time, s), convert(value_of(keys[k].val))};
      }
      return std::make_unique<model3da::LINEARTrack3D_c>(out);
    }
  } else if (id == ids[2]) {
    std::vector<BezHost> keys;
    if (read_keys(kc, keys)) {
      const std::vector<TimeValue> times = times_of(keys);
      std::vector<BezierKey<3>> out(keys.size());
      for (size_t k = 0; k < keys.size(); ++k) {
        const Point3 v = value_of(keys[k].val);
        out[k].frame = frame_of(keys[k].time, s);
        out[k].value = convert(v);
        out[k].in_handle = convert(v + keys[k].intan * dt_before(times, k));
        out[k].out_handle = convert(v + keys[k].outtan * dt_after(times, k));
      }
      return std::make_unique<model3da::BEZIERTrack3D_c>(out);
    }
  }
  report(unsupported);
  return nullptr;
}

struct PositionValue {
  Point3 operator()(Control* c) const {
    Point3 v;
    c->GetValue(0, v);
    return v;
  }
  Point3 operator()(const Point3& v) const { return v; }
};

struct ScaleOf {
  Point3 operator()(Control* c) const {
    ScaleValue v;
    c->GetValue(0, v);
    return v.s;
  }
  Point3 operator()(const ScaleValue& v) const { return v.s; }
};

}  // namespace

std::unique_ptr<model3da::Track_c> capture_position(Control* c, const CaptureSettings& s,
                                                    const CaptureReport& report) {
  static const Class_ID ids[3] = {TCBINTERP_POSITION_CLASS_ID, LININTERP_POSITION_CLASS_ID,
                                  HYBRIDINTERP_POSITION_CLASS_ID};
  return capture_vector<ITCBPoint3Key, ILinPoint3Key, IBezPoint3Key>(
      c, s, report, ids, "Position controller not supported!", file_point, PositionValue());
}

std::unique_ptr<model3da::Track_c> capture_scale(Control* c, const CaptureSettings& s,
                                                 const CaptureReport& report) {
  static const Class_ID ids[3] = {TCBINTERP_SCALE_CLASS_ID, LININTERP_SCALE_CLASS_ID,
                                  HYBRIDINTERP_SCALE_CLASS_ID};
  return capture_vector<ITCBScaleKey, ILinScaleKey, IBezScaleKey>(
      c, s, report, ids, "Scale controller not supported!", file_scale, ScaleOf());
}

std::unique_ptr<model3da::Track_c> capture_float(Control* c, const CaptureSettings& s,
                                                 const CaptureReport& report) {
  IKeyControl* kc = c != nullptr ? c->GetKeyControlInterface() : nullptr;
  if (kc == nullptr) {
    report("Float controller not supported!");
    return nullptr;
  }
  if (kc->GetNumKeys() <= 0) {
    float v = 0.0f;
    c->GetValue(0, v);
    return std::make_unique<model3da::LINEARTrack1D_c>(std::vector<LinearKey<1>>{{0, {v}}});
  }
  const Class_ID id = c->ClassID();
  if (id == TCBINTERP_FLOAT_CLASS_ID) {
    std::vector<ITCBFloatKey> keys;
    if (read_keys(kc, keys)) {
      std::vector<TcbKey<1>> out(keys.size());
      for (size_t k = 0; k < keys.size(); ++k) {
        copy_tcb(keys[k], out[k], s);
        out[k].value = {keys[k].val};
      }
      return std::make_unique<model3da::TCBTrack1D_c>(out);
    }
  } else if (id == LININTERP_FLOAT_CLASS_ID) {
    std::vector<ILinFloatKey> keys;
    if (read_keys(kc, keys)) {
      std::vector<LinearKey<1>> out(keys.size());
      for (size_t k = 0; k < keys.size(); ++k) out[k] = {frame_of(keys[k].time, s), {keys[k].val}};
      return std::make_unique<model3da::LINEARTrack1D_c>(out);
    }
  } else if (id == HYBRIDINTERP_FLOAT_CLASS_ID) {
    std::vector<IBezFloatKey> keys;
    if (read_keys(kc, keys)) {
      const std::vector<TimeValue> times = times_of(keys);
      std::vector<BezierKey<1>> out(keys.size());
      for (size_t k = 0; k < keys.size(); ++k) {
        const float v = keys[k].val;
        out[k] = {frame_of(keys[k].time, s),
                  {v + keys[k].intan * dt_before(times, k)},
                  {v + keys[k].outtan * dt_after(times, k)},
                  {v}};
      }
      return std::make_unique<model3da::BEZIERTrack1D_c>(out);
    }
  }
  report("Unknown float controller!");
  return nullptr;
}

bool capture_tracks(INode* node, const CaptureSettings& s, const CaptureReport& report,
                    const DebugOutput& debug, CapturedTracks& out) {
  Control* tm = node->GetTMController();
  if (is_biped_controller(tm)) {
    out.biped = true;
    capture_biped(node, s, debug, out);
    return true;
  }
  out.position = capture_position(tm != nullptr ? tm->GetPositionController() : nullptr, s, report);
  if (!out.position) return false;
  out.rotation = capture_rotation(tm != nullptr ? tm->GetRotationController() : nullptr, s, report);
  if (!out.rotation) return false;
  out.scale = capture_scale(tm != nullptr ? tm->GetScaleController() : nullptr, s, report);
  return out.scale != nullptr;
}

}  // namespace scenepress
