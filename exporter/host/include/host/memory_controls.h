// The in-memory scene's controllers: keyframe controllers of every key type,
// the position/rotation/scale transform controller, the Euler controller and
// the Biped controllers.
//
// At a key's time a keyframe controller gives the key's value. Between keys
// it interpolates linearly (Bezier controllers along their handles,
// rotations spherically); before the first key it holds the first value,
// after the last the last. A controller without keys gives its default
// value. Rotation keys of TCB and Bezier controllers are relative: the value
// at key k is the product of the key rotations 0..k.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "host/class_ids.h"
#include "host/control.h"
#include "host/host_api.h"

namespace host {

// What each key record type means: its value type, class id and super class.
template <class Key>
struct KeyTraits;

#define HOST_KEY_TRAITS(KeyType, ValueType, ClassIdValue, SuperValue) \
  template <>                                                         \
  struct KeyTraits<KeyType> {                                         \
    using Value = ValueType;                                          \
    static constexpr Class_ID kClassId = ClassIdValue;                \
    static constexpr SClass_ID kSuper = SuperValue;                   \
  }
HOST_KEY_TRAITS(ITCBFloatKey, float, TCBINTERP_FLOAT_CLASS_ID, CTRL_FLOAT_CLASS_ID);
HOST_KEY_TRAITS(ILinFloatKey, float, LININTERP_FLOAT_CLASS_ID, CTRL_FLOAT_CLASS_ID);
HOST_KEY_TRAITS(IBezFloatKey, float, HYBRIDINTERP_FLOAT_CLASS_ID, CTRL_FLOAT_CLASS_ID);
HOST_KEY_TRAITS(ITCBPoint3Key, Point3, TCBINTERP_POSITION_CLASS_ID, CTRL_POSITION_CLASS_ID);
HOST_KEY_TRAITS(ILinPoint3Key, Point3, LININTERP_POSITION_CLASS_ID, CTRL_POSITION_CLASS_ID);
HOST_KEY_TRAITS(IBezPoint3Key, Point3, HYBRIDINTERP_POSITION_CLASS_ID, CTRL_POSITION_CLASS_ID);
HOST_KEY_TRAITS(ITCBRotKey, Quat, TCBINTERP_ROTATION_CLASS_ID, CTRL_ROTATION_CLASS_ID);
HOST_KEY_TRAITS(ILinRotKey, Quat, LININTERP_ROTATION_CLASS_ID, CTRL_ROTATION_CLASS_ID);
HOST_KEY_TRAITS(IBezQuatKey, Quat, HYBRIDINTERP_ROTATION_CLASS_ID, CTRL_ROTATION_CLASS_ID);
HOST_KEY_TRAITS(ITCBScaleKey, ScaleValue, TCBINTERP_SCALE_CLASS_ID, CTRL_SCALE_CLASS_ID);
HOST_KEY_TRAITS(ILinScaleKey, ScaleValue, LININTERP_SCALE_CLASS_ID, CTRL_SCALE_CLASS_ID);
HOST_KEY_TRAITS(IBezScaleKey, ScaleValue, HYBRIDINTERP_SCALE_CLASS_ID, CTRL_SCALE_CLASS_ID);
#undef HOST_KEY_TRAITS

// The values of a controller's keys as absolute values (rotations multiplied
// up where the keys are relative).
HOSTAPI std::vector<float> key_values(const std::vector<ITCBFloatKey>& keys);
HOSTAPI std::vector<float> key_values(const std::vector<ILinFloatKey>& keys);
HOSTAPI std::vector<float> key_values(const std::vector<IBezFloatKey>& keys);
HOSTAPI std::vector<Point3> key_values(const std::vector<ITCBPoint3Key>& keys);
HOSTAPI std::vector<Point3> key_values(const std::vector<ILinPoint3Key>& keys);
HOSTAPI std::vector<Point3> key_values(const std::vector<IBezPoint3Key>& keys);
HOSTAPI std::vector<Quat> key_values(const std::vector<ITCBRotKey>& keys);
HOSTAPI std::vector<Quat> key_values(const std::vector<ILinRotKey>& keys);
HOSTAPI std::vector<Quat> key_values(const std::vector<IBezQuatKey>& keys);
HOSTAPI std::vector<ScaleValue> key_values(const std::vector<ITCBScaleKey>& keys);
HOSTAPI std::vector<ScaleValue> key_values(const std::vector<ILinScaleKey>& keys);
HOSTAPI std::vector<ScaleValue> key_values(const std::vector<IBezScaleKey>& keys);

// The value between keys a and b at fraction s (dt: ticks between them).
HOSTAPI float interpolate(const IBezFloatKey& a, const IBezFloatKey& b, float va, float vb, float s,
                          float dt);
HOSTAPI Point3 interpolate(const IBezPoint3Key& a, const IBezPoint3Key& b, const Point3& va,
                           const Point3& vb, float s, float dt);
HOSTAPI ScaleValue interpolate(const IBezScaleKey& a, const IBezScaleKey& b, const ScaleValue& va,
                               const ScaleValue& vb, float s, float dt);
template <class Key, class Value>
Value interpolate(const Key&, const Key&, const Value& va, const Value& vb, float s, float) {
  if constexpr (std::is_same_v<Value, Quat>) {
    return Slerp(va, vb, s);
  } else if constexpr (std::is_same_v<Value, ScaleValue>) {
    return ScaleValue{va.s + (vb.s - va.s) * s, Slerp(va.q, vb.q, s)};
  } else {
    return va + (vb - va) * s;
  }
}

// A keyframe controller with keys of one record type.
template <class Key>
class KeyframeControl final : public Control, public IKeyControl {
 public:
  using Value = typename KeyTraits<Key>::Value;

  explicit KeyframeControl(std::vector<Key> keys, Value default_value = Value())
      : keys_(std::move(keys)), default_(default_value) {}

  Class_ID ClassID() override { return KeyTraits<Key>::kClassId; }
  SClass_ID SuperClassID() override { return KeyTraits<Key>::kSuper; }
  IKeyControl* GetKeyControlInterface() override { return this; }
  int NumKeys() override { return int(keys_.size()); }
  TimeValue GetKeyTime(int i) override {
    return i >= 0 && i < int(keys_.size()) ? keys_[size_t(i)].time : 0;
  }
  int GetNumKeys() override { return int(keys_.size()); }
  bool GetKey(int i, IKey* key) override {
    auto* out = dynamic_cast<Key*>(key);
    if (out == nullptr || i < 0 || i >= int(keys_.size())) return false;
    *out = keys_[size_t(i)];
    return true;
  }
  using Control::GetValue;
  bool GetValue(TimeValue t, Value& value) override {
    value = value_at(t);
    return true;
  }

  Value value_at(TimeValue t) const {
    if (keys_.empty()) return default_;
    const std::vector<Value> values = key_values(keys_);
    if (t <= keys_.front().time) return values.front();
    if (t >= keys_.back().time) return values.back();
    size_t i = 0;
    while (keys_[i + 1].time <= t) ++i;
    const float dt = float(keys_[i + 1].time - keys_[i].time);
    const float s = float(t - keys_[i].time) / dt;
    return interpolate(keys_[i], keys_[i + 1], values[i], values[i + 1], s, dt);
  }
  std::vector<Key>& keys() { return keys_; }

 private:
  std::vector<Key> keys_;
  Value default_;
};

// Position, rotation and scale sub-controllers; the local transform is the
// scale (along its axes), then the rotation, then the translation.
class HOSTAPI PRSControl final : public Control {
 public:
  PRSControl(std::unique_ptr<Control> position, std::unique_ptr<Control> rotation,
             std::unique_ptr<Control> scale);
  ~PRSControl() override;
  Class_ID ClassID() override { return PRS_CONTROL_CLASS_ID; }
  SClass_ID SuperClassID() override { return CTRL_MATRIX3_CLASS_ID; }
  Control* GetPositionController() override { return position_.get(); }
  Control* GetRotationController() override { return rotation_.get(); }
  Control* GetScaleController() override { return scale_.get(); }
  int NumSubs() override { return 3; }
  Animatable* SubAnim(int i) override;
  // The key times of the sub-controllers that `flags` name.
  bool GetKeyTimes(std::vector<TimeValue>& times, Interval range, uint32_t flags) override;
  using Control::GetValue;
  bool GetValue(TimeValue t, Matrix3& local) override;

 private:
  std::unique_ptr<Control> position_, rotation_, scale_;
};

// Three float controllers of angles (radians) about X, Y and Z, turned in
// the order that the class name names ("Euler XYZ", "Euler ZXY", ...).
class HOSTAPI EulerControl final : public Control {
 public:
  // `order_name` is one of XYZ, XZY, YZX, YXZ, ZXY, ZYX, XYX, YZY, ZXZ.
  EulerControl(std::unique_ptr<Control> x, std::unique_ptr<Control> y, std::unique_ptr<Control> z,
               std::string order_name = "XYZ");
  ~EulerControl() override;
  Class_ID ClassID() override { return EULER_CONTROL_CLASS_ID; }
  SClass_ID SuperClassID() override { return CTRL_ROTATION_CLASS_ID; }
  void GetClassName(std::string& name) override { name = "Euler " + order_name_; }
  Control* GetXController() override { return axes_[0].get(); }
  Control* GetYController() override { return axes_[1].get(); }
  Control* GetZController() override { return axes_[2].get(); }
  using Control::GetValue;
  // The rotations about the order's axes, the first one first.
  bool GetValue(TimeValue t, Quat& value) override;

 private:
  std::array<std::unique_ptr<Control>, 3> axes_;
  std::string order_name_;
};

// One sampled pose of a Biped controller: the local transform's translation
// and rotation.
struct BipedPose {
  TimeValue time = 0;
  Point3 position;
  Quat rotation;
};

// The key times a Biped controller (or the body controller's first
// sub-controller) reports.
struct BipedKeyTimes {
  std::vector<TimeValue> position, rotation, scale;
};

// A Biped controller: a pose per sample time (interpolated between them) and
// key times by kind. The body controller keeps its key times in its first
// sub-controller and reports none itself.
class HOSTAPI BipedControl final : public Control {
 public:
  BipedControl(Class_ID id, std::vector<BipedPose> poses, BipedKeyTimes key_times);
  ~BipedControl() override;
  Class_ID ClassID() override { return id_; }
  SClass_ID SuperClassID() override { return CTRL_MATRIX3_CLASS_ID; }
  int NumSubs() override { return sub_ ? 1 : 0; }
  Animatable* SubAnim(int i) override { return i == 0 ? sub_.get() : nullptr; }
  bool GetKeyTimes(std::vector<TimeValue>& times, Interval range, uint32_t flags) override;
  using Control::GetValue;
  bool GetValue(TimeValue t, Matrix3& local) override;

 private:
  Class_ID id_;
  std::vector<BipedPose> poses_;
  BipedKeyTimes key_times_;
  std::unique_ptr<BipedControl> sub_;
};

}  // namespace host
