// The in-memory scene's controllers.
#include "host/memory_controls.h"

#include <algorithm>

namespace host {
namespace {

template <class Key>
auto plain_values(const std::vector<Key>& keys) {
  std::vector<decltype(Key::val)> values;
  for (const Key& k : keys) values.push_back(k.val);
  return values;
}

// Relative rotations multiplied up: value k = q0 * q1 * ... * qk.
template <class Key, class ToQuat>
std::vector<Quat> running_product(const std::vector<Key>& keys, ToQuat to_quat) {
  std::vector<Quat> values;
  Quat q;
  for (const Key& k : keys) {
    q = q * to_quat(k);
    values.push_back(q);
  }
  return values;
}

template <class T>
T bezier(const T& v0, const T& h0, const T& h1, const T& v1, float s) {
  const float r = 1.0f - s;
  return v0 * (r * r * r) + h0 * (3 * r * r * s) + h1 * (3 * r * s * s) + v1 * (s * s * s);
}

// Where the axis letters of an Euler order name point.
int axis_of(char letter) {
  return letter == 'X' ? 0 : (letter == 'Y' ? 1 : 2);
}

constexpr Class_ID kBipedBodySubId{0x9157, 0};

}  // namespace

std::vector<float> key_values(const std::vector<ITCBFloatKey>& keys) {
  return plain_values(keys);
}
std::vector<float> key_values(const std::vector<ILinFloatKey>& keys) {
  return plain_values(keys);
}
std::vector<float> key_values(const std::vector<IBezFloatKey>& keys) {
  return plain_values(keys);
}
std::vector<Point3> key_values(const std::vector<ITCBPoint3Key>& keys) {
  return plain_values(keys);
}
std::vector<Point3> key_values(const std::vector<ILinPoint3Key>& keys) {
  return plain_values(keys);
}
std::vector<Point3> key_values(const std::vector<IBezPoint3Key>& keys) {
  return plain_values(keys);
}
std::vector<Quat> key_values(const std::vector<ITCBRotKey>& keys) {
  return running_product(keys, [](const ITCBRotKey& k) { return QuatFromAngAxis(k.val); });
}
std::vector<Quat> key_values(const std::vector<ILinRotKey>& keys) {
  return plain_values(keys);
}
std::vector<Quat> key_values(const std::vector<IBezQuatKey>& keys) {
  return running_product(keys, [](const IBezQuatKey& k) { return k.val; });
}
std::vector<ScaleValue> key_values(const std::vector<ITCBScaleKey>& keys) {
  return plain_values(keys);
}
std::vector<ScaleValue> key_values(const std::vector<ILinScaleKey>& keys) {
  return plain_values(keys);
}
std::vector<ScaleValue> key_values(const std::vector<IBezScaleKey>& keys) {
  return plain_values(keys);
}

float interpolate(const IBezFloatKey& a, const IBezFloatKey& b, float va, float vb, float s,
                  float dt) {
  const float third = dt / 3.0f;
  return bezier(va, va + a.outtan * third, vb + b.intan * third, vb, s);
}

Point3 interpolate(const IBezPoint3Key& a, const IBezPoint3Key& b, const Point3& va,
                   const Point3& vb, float s, float dt) {
  const float third = dt / 3.0f;
  return bezier(va, va + a.outtan * third, vb + b.intan * third, vb, s);
}

ScaleValue interpolate(const IBezScaleKey& a, const IBezScaleKey& b, const ScaleValue& va,
                       const ScaleValue& vb, float s, float dt) {
  const float third = dt / 3.0f;
  return ScaleValue{bezier(va.s, va.s + a.outtan * third, vb.s + b.intan * third, vb.s, s),
                    Slerp(va.q, vb.q, s)};
}

PRSControl::PRSControl(std::unique_ptr<Control> position, std::unique_ptr<Control> rotation,
                       std::unique_ptr<Control> scale)
    : position_(std::move(position)), rotation_(std::move(rotation)), scale_(std::move(scale)) {}

PRSControl::~PRSControl() = default;

Animatable* PRSControl::SubAnim(int i) {
  return i == 0 ? position_.get() : (i == 1 ? rotation_.get() : (i == 2 ? scale_.get() : nullptr));
}

bool PRSControl::GetKeyTimes(std::vector<TimeValue>& times, Interval range, uint32_t flags) {
  bool any = false;
  const std::pair<uint32_t, Control*> parts[] = {{KEYAT_POSITION, position_.get()},
                                                 {KEYAT_ROTATION, rotation_.get()},
                                                 {KEYAT_SCALE, scale_.get()}};
  for (const auto& [flag, control] : parts) {
    if ((flags & flag) == 0 || control == nullptr) continue;
    for (int i = 0; i < control->NumKeys(); ++i) {
      const TimeValue t = control->GetKeyTime(i);
      if (range.InInterval(t)) times.push_back(t);
      any = true;
    }
  }
  return any;
}

bool PRSControl::GetValue(TimeValue t, Matrix3& local) {
  Point3 p;
  Quat q;
  ScaleValue s;
  if (position_) position_->GetValue(t, p);
  if (rotation_) rotation_->GetValue(t, q);
  if (scale_) scale_->GetValue(t, s);
  local = RotateMatrix(q);
  local.SetTrans(p);
  ApplyScaling(local, s);
  return true;
}

EulerControl::EulerControl(std::unique_ptr<Control> x, std::unique_ptr<Control> y,
                           std::unique_ptr<Control> z, std::string order_name)
    : axes_{std::move(x), std::move(y), std::move(z)}, order_name_(std::move(order_name)) {}

EulerControl::~EulerControl() = default;

bool EulerControl::GetValue(TimeValue t, Quat& value) {
  value = Quat();
  for (char letter : order_name_.substr(0, 3)) {
    const int axis = axis_of(letter);
    float angle = 0.0f;
    if (axes_[size_t(axis)]) axes_[size_t(axis)]->GetValue(t, angle);
    Point3 direction;
    direction[axis] = 1.0f;
    value = value * QuatFromAngAxis(AngAxis{direction, angle});
  }
  return true;
}

BipedControl::BipedControl(Class_ID id, std::vector<BipedPose> poses, BipedKeyTimes key_times)
    : id_(id), poses_(std::move(poses)) {
  if (id == BIPBODY_CONTROL_CLASS_ID) {
    sub_ = std::make_unique<BipedControl>(kBipedBodySubId, poses_, std::move(key_times));
  } else {
    key_times_ = std::move(key_times);
  }
}

BipedControl::~BipedControl() = default;

bool BipedControl::GetKeyTimes(std::vector<TimeValue>& times, Interval range, uint32_t flags) {
  bool any = false;
  auto add = [&](const std::vector<TimeValue>& list) {
    for (TimeValue t : list) {
      if (range.InInterval(t)) times.push_back(t);
      any = true;
    }
  };
  if (flags & KEYAT_POSITION) add(key_times_.position);
  if (flags & KEYAT_ROTATION) add(key_times_.rotation);
  if (flags & KEYAT_SCALE) add(key_times_.scale);
  return any;
}

bool BipedControl::GetValue(TimeValue t, Matrix3& local) {
  if (poses_.empty()) {
    local.IdentityMatrix();
    return true;
  }
  BipedPose pose = poses_.front();
  if (t >= poses_.back().time) {
    pose = poses_.back();
  } else if (t > poses_.front().time) {
    size_t i = 0;
    while (poses_[i + 1].time <= t) ++i;
    const float s = float(t - poses_[i].time) / float(poses_[i + 1].time - poses_[i].time);
    pose.position = poses_[i].position + (poses_[i + 1].position - poses_[i].position) * s;
    pose.rotation = Slerp(poses_[i].rotation, poses_[i + 1].rotation, s);
  }
  local = RotateMatrix(pose.rotation);
  local.SetTrans(pose.position);
  return true;
}

}  // namespace host
