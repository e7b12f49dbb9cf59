// The class descriptor through which the host creates Scenepress exporters,
// and the work the library does when it is first attached.
#pragma once

#include "host/plugin.h"

namespace scenepress {

// Class id of the exporter.
inline constexpr Class_ID SCENEPRESS_CLASS_ID{0x1E211639, 0x1EAC4CD1};

class ScenepressClassDesc final : public ClassDesc2 {
 public:
  int IsPublic() override { return 1; }
  // A new Scenepress exporter; the host owns it.
  void* Create(bool loading = false) override;
  const char* ClassName() override;
  SClass_ID SuperClassID() override { return SCENE_EXPORT_CLASS_ID; }
  Class_ID ClassID() override { return SCENEPRESS_CLASS_ID; }
  const char* Category() override { return ""; }
  const char* InternalName() override { return "Scenepress"; }
  HINSTANCE HInstance() override;
};

// The single static descriptor.
ScenepressClassDesc* scenepress_class_desc();

// The library's attach work, done on the first call only: keeps the module
// handle, sets up the host's controls, and sets up the engine's file system
// with the current folder as its source, between two banner lines on the
// debugger output. Returns 1.
int library_attach(HINSTANCE instance);

}  // namespace scenepress
