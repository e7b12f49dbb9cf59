// A small builder of in-memory scenes for tests:
//
//   host::SceneBuilder b;
//   host::SceneNode& a = b.dummy("A");                  // child of the root
//   host::SceneNode& c = b.mesh("Body", &a);            // a one-triangle mesh under A
//   a.controller = host::transform(host::position_keys<ITCBPoint3Key>(
//       {host::tcb(0, Point3(0, 0, 0)), host::tcb(160, Point3(1, 0, 0))}));
//   exporter->DoExport("out.3da", nullptr, &b.scene, false, 0);
//
// Every node the builder makes has a transform controller whose position,
// rotation and scale controllers are linear ones without keys.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/host_api.h"
#include "host/scene.h"

namespace host {

// Objects.
HOSTAPI std::shared_ptr<DummyObject> dummy_object(const Point3& min_corner = Point3(-1, -1, -1),
                                                  const Point3& max_corner = Point3(1, 1, 1));
// A mesh of one triangle (0,0,0), (1,0,0), (0,1,0) with channel 1 mapped.
HOSTAPI std::shared_ptr<TriObject> triangle_mesh();
// A mesh without faces or vertices.
HOSTAPI std::shared_ptr<TriObject> empty_mesh();
HOSTAPI std::shared_ptr<PlainObject> light_object();
HOSTAPI std::shared_ptr<PlainObject> camera_object();
HOSTAPI std::shared_ptr<PlainObject> shape_object();
HOSTAPI std::shared_ptr<PlainObject> point_helper();

// Keyframe controllers from key lists.
template <class Key>
std::unique_ptr<KeyframeControl<Key>> keyframes(std::vector<Key> keys,
                                                typename KeyTraits<Key>::Value default_value = {}) {
  return std::make_unique<KeyframeControl<Key>>(std::move(keys), default_value);
}

// Keys. TCB parameters default to 0.
HOSTAPI ITCBPoint3Key tcb(TimeValue t, const Point3& v);
HOSTAPI ITCBRotKey tcb(TimeValue t, const AngAxis& v);
HOSTAPI ITCBScaleKey tcb(TimeValue t, const ScaleValue& v);
HOSTAPI ITCBFloatKey tcb(TimeValue t, float v);
HOSTAPI ILinPoint3Key linear(TimeValue t, const Point3& v);
HOSTAPI ILinRotKey linear(TimeValue t, const Quat& v);
HOSTAPI ILinScaleKey linear(TimeValue t, const ScaleValue& v);
HOSTAPI ILinFloatKey linear(TimeValue t, float v);
HOSTAPI IBezPoint3Key bezier(TimeValue t, const Point3& v, const Point3& in, const Point3& out);
HOSTAPI IBezQuatKey bezier(TimeValue t, const Quat& v);
HOSTAPI IBezScaleKey bezier(TimeValue t, const ScaleValue& v, const Point3& in, const Point3& out);
HOSTAPI IBezFloatKey bezier(TimeValue t, float v, float in, float out);

// A transform controller; a missing part becomes a linear controller without
// keys holding the identity value.
HOSTAPI std::unique_ptr<PRSControl> transform(std::unique_ptr<Control> position = nullptr,
                                              std::unique_ptr<Control> rotation = nullptr,
                                              std::unique_ptr<Control> scale = nullptr);
// A transform controller whose three parts have no keys but these values.
HOSTAPI std::unique_ptr<PRSControl> static_transform(const Point3& position,
                                                     const Quat& rotation = Quat(),
                                                     const Point3& scale = Point3(1, 1, 1));

class HOSTAPI SceneBuilder {
 public:
  SceneBuilder();
  ~SceneBuilder();

  // A node with `object` under `parent` (the root when null).
  SceneNode& node(const std::string& name, std::shared_ptr<Object> object,
                  SceneNode* parent = nullptr);
  SceneNode& dummy(const std::string& name, SceneNode* parent = nullptr);
  SceneNode& mesh(const std::string& name, SceneNode* parent = nullptr);
  SceneNode& light(const std::string& name, SceneNode* parent = nullptr);

  Scene scene;
};

}  // namespace host
