// Capturing rotation tracks: TCB, linear, Bezier and Euler controllers.
#include <cstring>

#include "host/class_ids.h"
#include "scenepress/axes.h"
#include "scenepress/track_capture.h"

namespace scenepress {
namespace {

using model3da::LinearKey;
using model3da::TcbKey;

int32_t frame_of(TimeValue t, const CaptureSettings& s) {
  return int32_t(t / s.ticks_per_frame);
}

Quat to_host(const model3da::Quat& q) {
  return {q[0], q[1], q[2], q[3]};
}

model3da::Quat to_file(const Quat& q) {
  return {q.x, q.y, q.z, q.w};
}

template <class HostKey>
bool read_keys(IKeyControl* kc, std::vector<HostKey>& keys) {
  keys.resize(size_t(kc->GetNumKeys()));
  for (size_t i = 0; i < keys.size(); ++i) {
    if (!kc->GetKey(int(i), &keys[i])) return false;
  }
  return true;
}

std::unique_ptr<model3da::Track_c> capture_euler(Control* c, const CaptureSettings& s,
                                                 const CaptureReport& report) {
  Control* axes[3] = {c->GetXController(), c->GetYController(), c->GetZController()};
  if (axes[0] == nullptr || axes[1] == nullptr || axes[2] == nullptr) {
    report("Euler rotatition controller: Unknow sub controller!");
    return nullptr;
  }
  std::array<std::unique_ptr<model3da::Track_c>, 3> tracks;
  for (int i = 0; i < 3; ++i) {
    tracks[size_t(i)] = capture_float(axes[i], s, report);
    if (!tracks[size_t(i)]) return nullptr;
  }
  std::string name;
  c->GetClassName(name);
  return std::make_unique<model3da::EULERTrack_c>(std::move(tracks), euler_axis_order(name));
}

}  // namespace

std::array<uint32_t, 3> euler_axis_order(const std::string& class_name) {
  static constexpr struct {
    const char* name;
    std::array<uint32_t, 3> order;
  } kOrders[] = {{"XYZ", {0, 1, 2}}, {"XZY", {0, 2, 1}}, {"YZX", {1, 2, 0}},
                 {"YXZ", {1, 0, 2}}, {"ZXY", {2, 0, 1}}, {"ZYX", {2, 1, 0}},
                 {"XYX", {0, 1, 0}}, {"YZY", {1, 2, 1}}, {"ZXZ", {2, 0, 2}}};
  for (const auto& entry : kOrders) {
    if (class_name.find(entry.name) != std::string::npos) return entry.order;
  }
  return {0, 1, 2};
}

void squad_tangents(std::vector<TcbKey<4>>& keys) {
  const size_t n = keys.size();
  for (size_t k = 0; k < n; ++k) {
    const Quat a = QCompA(to_host(keys[k == 0 ? 0 : k - 1].value), to_host(keys[k].value),
                          to_host(keys[k + 1 < n ? k + 1 : n - 1].value));
    keys[k].out_tangent = to_file(a);
    if (k + 1 < n) keys[k + 1].in_tangent = to_file(a);
  }
}

std::unique_ptr<model3da::Track_c> capture_rotation(Control* c, const CaptureSettings& s,
                                                    const CaptureReport& report) {
  IKeyControl* kc = c != nullptr ? c->GetKeyControlInterface() : nullptr;
  const bool euler = c != nullptr && c->ClassID() == EULER_CONTROL_CLASS_ID;
  if (kc == nullptr && !euler) {
    report("Rotation controller not supported!");
    return nullptr;
  }
  if ((kc != nullptr && kc->GetNumKeys() <= 0) || s.no_animation) {
    Quat q;
    c->GetValue(0, q);
    return std::make_unique<model3da::LINEARTrack4D_c>(
        std::vector<LinearKey<4>>{{0, file_quat(q)}});
  }
  const Class_ID id = c->ClassID();
  if (id == TCBINTERP_ROTATION_CLASS_ID) {
    std::vector<ITCBRotKey> keys;
    if (read_keys(kc, keys)) {
      // Keys hold rotations relative to the previous key: multiply them up.
      std::vector<TcbKey<4>> out(keys.size());
      Quat running;
      for (size_t k = 0; k < keys.size(); ++k) {
        const ITCBRotKey& key = keys[k];
        running = running * QFromAngAxis(-key.val.angle, host_axis_to_file(key.val.axis));
        out[k].frame = frame_of(key.time, s);
        out[k].tension = key.tens;
        out[k].continuity = key.cont;
        out[k].bias = key.bias;
        out[k].ease_in = key.easeIn;
        out[k].ease_out = key.easeOut;
        out[k].value = to_file(running);
      }
      squad_tangents(out);
      return std::make_unique<model3da::TCBTrack4D_c>(out);
    }
  } else if (id == LININTERP_ROTATION_CLASS_ID) {
    std::vector<ILinRotKey> keys;
    if (read_keys(kc, keys)) {
      std::vector<LinearKey<4>> out(keys.size());
      for (size_t k = 0; k < keys.size(); ++k) {
        out[k] = {frame_of(keys[k].time, s), file_quat(keys[k].val)};
      }
      return std::make_unique<model3da::LINEARTrack4D_c>(out);
    }
  } else if (id == HYBRIDINTERP_ROTATION_CLASS_ID) {
    std::vector<IBezQuatKey> keys;
    if (read_keys(kc, keys)) {
      std::vector<LinearKey<4>> out(keys.size());
      Quat running;
      for (size_t k = 0; k < keys.size(); ++k) {
        running = running * to_host(file_quat(keys[k].val));
        out[k] = {frame_of(keys[k].time, s), to_file(running)};
      }
      return std::make_unique<model3da::BEZIERTrack4D_c>(out);
    }
  } else if (euler) {
    return capture_euler(c, s, report);
  }
  report("Rotation controller not supported!");
  return nullptr;
}

}  // namespace scenepress
