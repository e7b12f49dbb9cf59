// The test host: loads libscenepress.so with dlopen as the host does, and
// runs exports of builder scenes in a scratch folder with a recording UI
// and a fixed clock, computer and user.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "host/plugin.h"
#include "host/recording_ui.h"
#include "host/scene_builder.h"
#include "model3da/model.h"

namespace scenepress::testing {

// The loaded plug-in's entry points.
struct Plugin {
  void* handle = nullptr;
  LibDescriptionFn LibDescription = nullptr;
  LibNumberClassesFn LibNumberClasses = nullptr;
  LibClassDescFn LibClassDesc = nullptr;
  LibVersionFn LibVersion = nullptr;
  // The debugger output the library wrote while it was loaded.
  std::string load_output;

  // Loads the plug-in once per process (fails the test when it cannot).
  static const Plugin& get();
};

class ExportTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes the options script "scenepress.ini" of the plug-in folder.
  void write_options(const std::string& text);
  // Options that change nothing: a script with one unknown statement.
  void default_options() { write_options("!Default()\nDefault()\n"); }

  // A new exporter made through LibClassDesc(0)->Create.
  std::unique_ptr<SceneExport> make_exporter();
  // One export of the builder's scene with a new exporter.
  int export_scene(const std::string& name = "out.3da", uint32_t options = 0);

  // The bytes of a file in the scratch folder ("" when missing).
  std::string read_file(const std::string& name) const;
  // Loads an exported file; fails the test when it does not load.
  std::unique_ptr<model3da::Model> load(const std::string& name = "out.3da") const;
  // The texts of the message boxes shown so far.
  std::vector<std::string> messages() const;

  std::filesystem::path dir_;
  std::filesystem::path previous_dir_;
  host::SceneBuilder builder_;
  host::Scene& scene_ = builder_.scene;
  host::RecordingUi ui_;
  std::unique_ptr<host::ScopedUiSeam> seam_;
};

}  // namespace scenepress::testing
