// Loading the plug-in.
#include "plugin_library.h"

#include <dlfcn.h>

#include <fmt/format.h>

#include "host/class_ids.h"

namespace scenepress_app {

std::filesystem::path default_plugin_path() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return (error ? std::filesystem::path(".") : program.parent_path()) / "libscenepress.so";
}

PluginLibrary::~PluginLibrary() {
  if (handle_ != nullptr) dlclose(handle_);
}

std::string PluginLibrary::load(const std::filesystem::path& path) {
  const std::string shown = path.string();
  handle_ = dlopen(shown.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char* reason = dlerror();
    return fmt::format("cannot load the plug-in {}: {}", shown, reason ? reason : "unknown error");
  }
  auto version = reinterpret_cast<LibVersionFn>(dlsym(handle_, "LibVersion"));
  auto class_desc = reinterpret_cast<LibClassDescFn>(dlsym(handle_, "LibClassDesc"));
  if (version == nullptr || class_desc == nullptr) {
    return fmt::format("{} is not an export plug-in: it has no {}", shown,
                       version == nullptr ? "LibVersion" : "LibClassDesc");
  }
  if (version() != HOST_API_VERSION) {
    return fmt::format("{} is built for host version {:#x}; this host is {:#x}", shown, version(),
                       HOST_API_VERSION);
  }
  class_desc_ = class_desc(0);
  if (class_desc_ == nullptr || class_desc_->SuperClassID() != SCENE_EXPORT_CLASS_ID) {
    return fmt::format("{}: its first class is not a scene exporter", shown);
  }
  return "";
}

std::unique_ptr<SceneExport> PluginLibrary::create_exporter() {
  if (class_desc_ == nullptr) return nullptr;
  return std::unique_ptr<SceneExport>(static_cast<SceneExport*>(class_desc_->Create(false)));
}

}  // namespace scenepress_app
