// The scene builder's objects, keys and controllers.
#include "host/scene_builder.h"

namespace host {

std::shared_ptr<DummyObject> dummy_object(const Point3& min_corner, const Point3& max_corner) {
  return std::make_shared<DummyObject>(Box3(min_corner, max_corner));
}

std::shared_ptr<TriObject> triangle_mesh() {
  auto object = std::make_shared<TriObject>();
  Mesh& mesh = object->mesh;
  mesh.verts = {Point3(0, 0, 0), Point3(1, 0, 0), Point3(0, 1, 0)};
  Face face;
  face.v[0] = 0;
  face.v[1] = 1;
  face.v[2] = 2;
  face.smGroup = 1;
  mesh.faces = {face};
  mesh.setNumMaps(2);
  MeshMap* map = mesh.Map(1);
  map->tv = {UVVert(0, 0, 0), UVVert(1, 0, 0), UVVert(0, 1, 0)};
  TVFace tv;
  tv.t[0] = 0;
  tv.t[1] = 1;
  tv.t[2] = 2;
  map->tf = {tv};
  return object;
}

std::shared_ptr<TriObject> empty_mesh() {
  return std::make_shared<TriObject>();
}

std::shared_ptr<PlainObject> light_object() {
  return std::make_shared<PlainObject>(Class_ID(0x1011, 0), LIGHT_CLASS_ID);
}

std::shared_ptr<PlainObject> camera_object() {
  return std::make_shared<PlainObject>(Class_ID(0x1001, 0), CAMERA_CLASS_ID);
}

std::shared_ptr<PlainObject> shape_object() {
  return std::make_shared<PlainObject>(Class_ID(0x1020, 0), SHAPE_CLASS_ID);
}

std::shared_ptr<PlainObject> point_helper() {
  return std::make_shared<PlainObject>(POINTHELP_CLASS_ID, HELPER_CLASS_ID);
}

ITCBPoint3Key tcb(TimeValue t, const Point3& v) {
  ITCBPoint3Key k;
  k.time = t;
  k.val = v;
  return k;
}
ITCBRotKey tcb(TimeValue t, const AngAxis& v) {
  ITCBRotKey k;
  k.time = t;
  k.val = v;
  return k;
}
ITCBScaleKey tcb(TimeValue t, const ScaleValue& v) {
  ITCBScaleKey k;
  k.time = t;
  k.val = v;
  return k;
}
ITCBFloatKey tcb(TimeValue t, float v) {
  ITCBFloatKey k;
  k.time = t;
  k.val = v;
  return k;
}
ILinPoint3Key linear(TimeValue t, const Point3& v) {
  ILinPoint3Key k;
  k.time = t;
  k.val = v;
  return k;
}
ILinRotKey linear(TimeValue t, const Quat& v) {
  ILinRotKey k;
  k.time = t;
  k.val = v;
  return k;
}
ILinScaleKey linear(TimeValue t, const ScaleValue& v) {
  ILinScaleKey k;
  k.time = t;
  k.val = v;
  return k;
}
ILinFloatKey linear(TimeValue t, float v) {
  ILinFloatKey k;
  k.time = t;
  k.val = v;
  return k;
}
IBezPoint3Key bezier(TimeValue t, const Point3& v, const Point3& in, const Point3& out) {
  IBezPoint3Key k;
  k.time = t;
  k.val = v;
  k.intan = in;
  k.outtan = out;
  return k;
}
IBezQuatKey bezier(TimeValue t, const Quat& v) {
  IBezQuatKey k;
  k.time = t;
  k.val = v;
  return k;
}
IBezScaleKey bezier(TimeValue t, const ScaleValue& v, const Point3& in, const Point3& out) {
  IBezScaleKey k;
  k.time = t;
  k.val = v;
  k.intan = in;
  k.outtan = out;
  return k;
}
IBezFloatKey bezier(TimeValue t, float v, float in, float out) {
  IBezFloatKey k;
  k.time = t;
  k.val = v;
  k.intan = in;
  k.outtan = out;
  return k;
}

std::unique_ptr<PRSControl> transform(std::unique_ptr<Control> position,
                                      std::unique_ptr<Control> rotation,
                                      std::unique_ptr<Control> scale) {
  if (!position) position = keyframes<ILinPoint3Key>({});
  if (!rotation) rotation = keyframes<ILinRotKey>({});
  if (!scale) scale = keyframes<ILinScaleKey>({});
  return std::make_unique<PRSControl>(std::move(position), std::move(rotation), std::move(scale));
}

std::unique_ptr<PRSControl> static_transform(const Point3& position, const Quat& rotation,
                                             const Point3& scale) {
  return transform(keyframes<ILinPoint3Key>({}, position), keyframes<ILinRotKey>({}, rotation),
                   keyframes<ILinScaleKey>({}, ScaleValue{scale, Quat()}));
}

SceneBuilder::SceneBuilder() = default;
SceneBuilder::~SceneBuilder() = default;

SceneNode& SceneBuilder::node(const std::string& name, std::shared_ptr<Object> object,
                              SceneNode* parent) {
  SceneNode& n = (parent != nullptr ? *parent : scene.root()).add_child(name, std::move(object));
  n.controller = transform();
  return n;
}

SceneNode& SceneBuilder::dummy(const std::string& name, SceneNode* parent) {
  return node(name, dummy_object(), parent);
}

SceneNode& SceneBuilder::mesh(const std::string& name, SceneNode* parent) {
  return node(name, triangle_mesh(), parent);
}

SceneNode& SceneBuilder::light(const std::string& name, SceneNode* parent) {
  return node(name, light_object(), parent);
}

}  // namespace host
