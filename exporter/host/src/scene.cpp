// The in-memory scene's nodes and host interface.
#include "host/scene.h"

namespace host {

SceneNode::~SceneNode() = default;

SceneNode& SceneNode::add_child(std::string child_name, std::shared_ptr<Object> child_object) {
  auto child = std::make_unique<SceneNode>(std::move(child_name));
  child->parent = this;
  child->object = std::move(child_object);
  children.push_back(std::move(child));
  return *children.back();
}

INode* SceneNode::GetChildNode(int i) {
  return i >= 0 && i < int(children.size()) ? children[size_t(i)].get() : nullptr;
}

ObjectState SceneNode::EvalWorldState(TimeValue, bool) {
  Object* o = object.get();
  for (int depth = 0; depth < 64 && o != nullptr; ++depth) {
    auto* derived = dynamic_cast<IDerivedObject*>(o);
    if (derived == nullptr) break;
    o = derived->GetObjRef();
  }
  return ObjectState{o};
}

Matrix3 SceneNode::object_offset() const {
  Matrix3 m;
  m.PreTranslate(offset_position);
  PreRotateMatrix(m, offset_rotation);
  ApplyScaling(m, offset_scale);
  return m;
}

Matrix3 SceneNode::GetObjectTM(TimeValue t) {
  return object_offset() * GetNodeTM(t);
}

Matrix3 SceneNode::GetNodeTM(TimeValue t) {
  Matrix3 local;
  if (parent != nullptr && controller) controller->GetValue(t, local);
  return local * GetParentTM(t);
}

Matrix3 SceneNode::GetParentTM(TimeValue t) {
  return parent != nullptr ? parent->GetNodeTM(t) : Matrix3();
}

Scene::Scene() : root_(std::make_unique<SceneNode>("Scene Root")) {}

Scene::~Scene() = default;

bool Scene::ProgressStart(const char* title, bool, ProgressRoutine, void*) {
  progress.push_back(std::string("start ") + (title != nullptr ? title : ""));
  return true;
}

void Scene::ProgressUpdate(int pct, bool, const char*) {
  progress.push_back("update " + std::to_string(pct));
}

void Scene::ProgressEnd() {
  progress.push_back("end");
}

bool Scene::GetCancel() {
  if (cancel_after_polls < 0) return false;
  return cancel_polls++ >= cancel_after_polls;
}

std::string Scene::GetDir(int which) {
  return which == APP_PLUGCFG_DIR ? plugin_config_dir : std::string();
}

}  // namespace host
