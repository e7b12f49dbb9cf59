// The library's entry points: the four C exports the host looks up, and the
// attach code that runs when the host loads the library.
#include <dlfcn.h>

#include "host/plugin.h"
#include "scenepress/class_desc.h"
#include "scenepress/resources.h"

#define SCENEPRESS_EXPORT extern "C" __attribute__((visibility("default")))

SCENEPRESS_EXPORT const char* LibDescription() {
  return scenepress::GetString(scenepress::IDS_LIBDESCRIPTION);
}

SCENEPRESS_EXPORT int LibNumberClasses() {
  return 1;
}

SCENEPRESS_EXPORT ClassDesc* LibClassDesc(int i) {
  return i == 0 ? scenepress::scenepress_class_desc() : nullptr;
}

SCENEPRESS_EXPORT unsigned long LibVersion() {
  return HOST_API_VERSION;
}

namespace {

// Runs when the library is loaded. The module handle is the library's load
// address, as a module handle is on the system the plug-in was made for.
__attribute__((constructor)) void attach_library() {
  Dl_info info{};
  HINSTANCE instance = nullptr;
  if (dladdr(reinterpret_cast<void*>(&LibVersion), &info) != 0) {
    instance = static_cast<HINSTANCE>(info.dli_fbase);
  }
  scenepress::library_attach(instance);
}

}  // namespace
