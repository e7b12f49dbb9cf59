// libFuzzer harness: random scenes around one mesh node (random vertices
// with NaN and infinite values, degenerate and illegal faces, broken map
// channels and alpha, mirroring and flattening object offsets, Physique
// skins with random assignments) go through the exporter's DoExport. It must
// never crash; an export either fails with a message and writes nothing, or
// writes a file that loads with finite vertex data.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "../tests/random_scene.h"
#include "host/recording_ui.h"
#include "model3da/file_system_setup.h"
#include "model3da/platform.h"
#include "scenepress/scenepress.h"

namespace {

struct Setup {
  Setup() {
    dir = std::filesystem::temp_directory_path() /
          ("fuzz_scenepress_mesh_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir / "plugcfg");
    std::ofstream(dir / "plugcfg" / "scenepress.ini") << "!Default()\nDefault()\n";
    std::filesystem::current_path(dir);
    platform::set_debugger_output_sink([](const char*) {});
    fs::set_up_file_system();
  }
  ~Setup() {
    std::error_code ignored;
    std::filesystem::current_path(std::filesystem::temp_directory_path(), ignored);
    std::filesystem::remove_all(dir, ignored);
  }
  std::filesystem::path dir;
  host::RecordingUi ui;
  host::ScopedUiSeam seam{&ui};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Setup setup;
  setup.ui.messages.clear();
  host::SceneBuilder builder;
  builder.scene.plugin_config_dir = (setup.dir / "plugcfg").string();
  scenepress::testing::ByteSource in({data, size});
  scenepress::testing::build_random_scene(in, builder);
  std::error_code ignored;
  std::filesystem::remove(setup.dir / "fuzz.3da", ignored);
  scenepress::Scenepress exporter;
  if (exporter.DoExport("fuzz.3da", nullptr, &builder.scene, false, 0) == 1) {
    model3da::LoadResult loaded = model3da::load_model_file(setup.dir / "fuzz.3da");
    if (!loaded.ok()) {
      std::fprintf(stderr, "written file does not load: %s\n", loaded.message.c_str());
      std::abort();
    }
    const std::string fault = scenepress::testing::check_exported_surfaces(*loaded.model);
    if (!fault.empty()) {
      std::fprintf(stderr, "%s\n", fault.c_str());
      std::abort();
    }
  } else if (setup.ui.messages.empty() || std::filesystem::exists(setup.dir / "fuzz.3da")) {
    std::fprintf(stderr, "a failed export showed no message or left a file\n");
    std::abort();
  }
  return 0;
}
