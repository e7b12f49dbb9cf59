// The test host.
#include "export_fixture.h"

#include <dlfcn.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "model3da/file_system_setup.h"
#include "model3da/platform.h"

namespace scenepress::testing {

const Plugin& Plugin::get() {
  static Plugin plugin = [] {
    Plugin p;
    platform::set_debugger_output_sink([&p](const char* text) { p.load_output += text; });
    p.handle = dlopen(GM_SCENEPRESS_PLUGIN, RTLD_NOW | RTLD_LOCAL);
    platform::set_debugger_output_sink({});
    if (p.handle == nullptr) return p;
    p.LibDescription = reinterpret_cast<LibDescriptionFn>(dlsym(p.handle, "LibDescription"));
    p.LibNumberClasses = reinterpret_cast<LibNumberClassesFn>(dlsym(p.handle, "LibNumberClasses"));
    p.LibClassDesc = reinterpret_cast<LibClassDescFn>(dlsym(p.handle, "LibClassDesc"));
    p.LibVersion = reinterpret_cast<LibVersionFn>(dlsym(p.handle, "LibVersion"));
    return p;
  }();
  EXPECT_NE(plugin.handle, nullptr) << dlerror();
  return plugin;
}

void ExportTest::SetUp() {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  dir_ =
      std::filesystem::temp_directory_path() / ("scenepress_" + std::to_string(::getpid()) + "_" +
                                                info->test_suite_name() + "_" + info->name());
  std::filesystem::remove_all(dir_);
  std::filesystem::create_directories(dir_ / "plugcfg");
  previous_dir_ = std::filesystem::current_path();
  std::filesystem::current_path(dir_);
  scene_.plugin_config_dir = (dir_ / "plugcfg").string();
  seam_ = std::make_unique<host::ScopedUiSeam>(&ui_);
  platform::set_local_time_source([] { return platform::LocalTime{2005, 3, 1, 9, 5, 0}; });
  platform::set_computer_name_source([] { return std::string("BUILDBOX"); });
  platform::set_user_name_source([] { return std::string("modeller"); });
  platform::set_debugger_output_sink([](const char*) {});
  // The file layer of exporters run in this process (the plug-in sets up
  // its own when it is loaded).
  fs::set_up_file_system();
}

void ExportTest::TearDown() {
  seam_.reset();
  platform::set_local_time_source({});
  platform::set_computer_name_source({});
  platform::set_user_name_source({});
  platform::set_debugger_output_sink({});
  std::filesystem::current_path(previous_dir_);
  if (!HasFailure()) std::filesystem::remove_all(dir_);
}

void ExportTest::write_options(const std::string& text) {
  std::ofstream(dir_ / "plugcfg" / "scenepress.ini", std::ios::binary) << text;
}

std::unique_ptr<SceneExport> ExportTest::make_exporter() {
  const Plugin& plugin = Plugin::get();
  if (plugin.LibClassDesc == nullptr) return nullptr;
  return std::unique_ptr<SceneExport>(
      static_cast<SceneExport*>(plugin.LibClassDesc(0)->Create(false)));
}

int ExportTest::export_scene(const std::string& name, uint32_t options) {
  std::unique_ptr<SceneExport> exporter = make_exporter();
  if (!exporter) return -1;
  return exporter->DoExport(name.c_str(), nullptr, &scene_, false, options);
}

std::string ExportTest::read_file(const std::string& name) const {
  std::ifstream in(dir_ / name, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::unique_ptr<model3da::Model> ExportTest::load(const std::string& name) const {
  model3da::LoadResult loaded = model3da::load_model_file(dir_ / name);
  EXPECT_TRUE(loaded.ok()) << name << ": " << loaded.message;
  return std::move(loaded.model);
}

std::vector<std::string> ExportTest::messages() const {
  std::vector<std::string> texts;
  for (const auto& m : ui_.messages) texts.push_back(m.text);
  return texts;
}

}  // namespace scenepress::testing
