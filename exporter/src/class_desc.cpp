// The class descriptor and the library's attach work.
#include "scenepress/class_desc.h"

#include <mutex>

#include "model3da/file_system_setup.h"
#include "model3da/platform.h"
#include "scenepress/resources.h"
#include "scenepress/scenepress.h"

namespace scenepress {

void* ScenepressClassDesc::Create(bool) {
  return static_cast<SceneExport*>(new Scenepress());
}

const char* ScenepressClassDesc::ClassName() {
  return GetString(IDS_CLASS_NAME);
}

HINSTANCE ScenepressClassDesc::HInstance() {
  return module_handle();
}

ScenepressClassDesc* scenepress_class_desc() {
  static ScenepressClassDesc desc;
  return &desc;
}

int library_attach(HINSTANCE instance) {
  static std::once_flag once;
  std::call_once(once, [instance] {
    set_module_handle(instance);
    InitCustomControls(instance);
    InitCommonControls();
    platform::debugger_output("*************** FS INIT ********************\n");
    fs::set_up_file_system();
    platform::debugger_output("*************** FS INIT DONE ***************\n");
  });
  return 1;
}

}  // namespace scenepress
