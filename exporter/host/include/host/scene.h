// The in-memory scene: nodes as plain data behind INode, and the Interface a
// plug-in talks to during an export. Tests and scene importers fill it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/host_api.h"
#include "host/interface.h"
#include "host/memory_controls.h"
#include "host/memory_objects.h"
#include "host/node.h"

namespace host {

class HOSTAPI SceneNode final : public INode {
 public:
  explicit SceneNode(std::string name) : name(std::move(name)) {}
  ~SceneNode() override;

  // Adds a child node (the scene's order of children is the order added).
  SceneNode& add_child(std::string child_name, std::shared_ptr<Object> child_object = nullptr);

  int NumberOfChildren() override { return int(children.size()); }
  INode* GetChildNode(int i) override;
  const char* GetName() override { return name.c_str(); }
  bool Selected() override { return selected; }
  bool IsHidden() override { return hidden; }
  bool IsNodeHidden(bool) override { return hidden || hidden_by_layer; }
  INode* GetParentNode() override { return parent; }
  bool IsRootNode() override { return parent == nullptr; }
  // The base object below any derived objects.
  ObjectState EvalWorldState(TimeValue t, bool evalHidden = true) override;
  Matrix3 GetObjectTM(TimeValue t) override;
  // The transform controller's local transform times the parent's node
  // transform; the root and a node without controller give the identity
  // (times the parent's).
  Matrix3 GetNodeTM(TimeValue t) override;
  Matrix3 GetParentTM(TimeValue t) override;
  Point3 GetObjOffsetPos() override { return offset_position; }
  Quat GetObjOffsetRot() override { return offset_rotation; }
  ScaleValue GetObjOffsetScale() override { return offset_scale; }
  Control* GetTMController() override { return controller.get(); }
  Mtl* GetMtl() override { return material.get(); }
  Object* GetObjectRef() override { return object.get(); }

  // The object-offset transform: scale, rotation, then translation.
  Matrix3 object_offset() const;

  std::string name;
  bool selected = false;
  bool hidden = false;
  bool hidden_by_layer = false;
  SceneNode* parent = nullptr;
  std::vector<std::unique_ptr<SceneNode>> children;
  std::shared_ptr<Object> object;
  std::unique_ptr<Control> controller;
  Point3 offset_position;
  Quat offset_rotation;
  ScaleValue offset_scale;
  std::shared_ptr<Mtl> material;
};

// The scene and the host around it during an export.
class HOSTAPI Scene final : public Interface {
 public:
  Scene();
  ~Scene() override;

  SceneNode& root() { return *root_; }

  HWND GetMAXHWnd() override { return &main_window; }
  bool ProgressStart(const char* title, bool dispBar, ProgressRoutine fn, void* arg) override;
  void ProgressUpdate(int pct, bool showPct = true, const char* title = nullptr) override;
  void ProgressEnd() override;
  // True once `cancel_after_polls` polls have been answered (never when < 0).
  bool GetCancel() override;
  Interval GetAnimRange() override { return anim_range; }
  INode* GetRootNode() override { return root_.get(); }
  std::string GetDir(int which) override;
  std::string GetCurFileName() override { return file_name; }
  std::string GetCurFilePath() override { return file_path; }

  Window main_window;
  Interval anim_range{0, 100 * 160};
  std::string plugin_config_dir;
  std::string file_name = "scene.max";
  std::string file_path = "C:\\scenes\\scene.max";
  int cancel_after_polls = -1;
  int cancel_polls = 0;
  // "start <title>", "update <pct>", "end", in call order.
  std::vector<std::string> progress;

 private:
  std::unique_ptr<SceneNode> root_;
};

}  // namespace host
