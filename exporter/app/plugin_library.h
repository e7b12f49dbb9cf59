// The export plug-in as the host loads it: the library opened with dlopen,
// its entry points checked (LibVersion must be the host's API version,
// LibClassDesc(0) a scene exporter), and an exporter created through the
// class descriptor.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "host/plugin.h"

namespace scenepress_app {

// The plug-in beside the running program.
std::filesystem::path default_plugin_path();

class PluginLibrary {
 public:
  PluginLibrary() = default;
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;
  // Closes the library: every exporter it made must be gone by then.
  ~PluginLibrary();

  // Loads and checks the library; "" or the reason it cannot be used.
  std::string load(const std::filesystem::path& path);
  // A new exporter (the caller owns it), or null.
  std::unique_ptr<SceneExport> create_exporter();

 private:
  void* handle_ = nullptr;
  ClassDesc* class_desc_ = nullptr;
};

}  // namespace scenepress_app
