// scenepress: exports a scene file to a .3da model through the Scenepress
// plug-in, as the host does: the scene is imported into the host's scene,
// the plug-in is loaded with dlopen and its exporter runs in the output's
// folder.
//   scenepress SCENE -o OUTPUT.3da [options]
//   scenepress --tree SCENE     the imported host scene
// Exit codes: 0 success, 1 the import or the export failed, 2 usage error.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <array>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <optional>
#include <set>

#include <fmt/format.h>

#include "command_line_ui.h"
#include "host/class_ids.h"
#include "host/plugin.h"
#include "host/recording_ui.h"
#include "import/free_heap.h"
#include "import/scene_import.h"
#include "model3da/platform.h"
#include "model3da/records.h"
#include "output_folder.h"
#include "plugin_library.h"
#include "program_host.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

struct Options {
  std::string scene;
  std::string output;
  bool tree = false;
  std::vector<std::string> selected;
  std::string lighting;
  std::string type;
  std::string tcoord;
  bool material_scripts = false;
  std::string morph;
  std::string animation;
  std::string uvw_map;
  bool shorten_names = false;
  std::string plugcfg;
  std::string plugin;
  bool verbose = false;
};

void error_line(const std::string& text) {
  std::cerr << "scenepress: " << text << "\n";
}

// The user's configuration folder for the plug-in.
std::string default_plugin_config_dir() {
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] != '\0') {
    return (std::filesystem::path(xdg) / "scenepress").string();
  }
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
    return (std::filesystem::path(home) / ".config" / "scenepress").string();
  }
  return ".";
}

// "0,1,3" → slots 0, 1 and 3; false for anything else.
bool parse_tcoord(const std::string& text, std::array<bool, 4>& slots) {
  slots = {};
  if (text.empty()) return false;
  size_t at = 0;
  while (at <= text.size()) {
    const size_t comma = std::min(text.find(',', at), text.size());
    const std::string item = text.substr(at, comma - at);
    if (item.size() != 1 || item[0] < '0' || item[0] > '3') return false;
    slots[size_t(item[0] - '0')] = true;
    at = comma + 1;
  }
  return true;
}

void each_node(host::SceneNode& node, const std::function<void(host::SceneNode&)>& f) {
  for (auto& child : node.children) {
    f(*child);
    each_node(*child, f);
  }
}

// Nodes the export will walk: not hidden, a geometry or helper object, and
// with --selected below selected nodes only.
int exportable_nodes(host::SceneNode& node, bool selected_only) {
  int count = 0;
  for (auto& child : node.children) {
    if (selected_only && !child->Selected()) continue;
    Object* object = child->EvalWorldState(0).obj;
    const bool counted = !child->IsNodeHidden(false) && object != nullptr &&
                         (object->SuperClassID() == GEOMOBJECT_CLASS_ID ||
                          object->SuperClassID() == HELPER_CLASS_ID);
    count += (counted ? 1 : 0) + exportable_nodes(*child, selected_only);
  }
  return count;
}

scene_import::ImportResult import(const Options& o) {
  scene_import::ImportOptions options;
  options.animation = o.animation;
  options.uvw_map_box = o.uvw_map == "box";
  options.shorten_names = o.shorten_names;
  options.cancelled = scenepress_app::interrupted;
  scene_import::ImportResult result = scene_import::import_scene(o.scene, options);
  if (!result.ok()) return result;
  for (const std::string& note : result.notes) error_line("note: " + note);
  for (const scene_import::Rename& r : result.renamed) {
    std::cout << fmt::format("renamed {} {} -> {}\n", r.kind, r.from, r.to);
  }
  for (const std::string& node : result.box_mapped) {
    std::cout << fmt::format("box map applied to mesh {}\n", node);
  }
  return result;
}

// Marks the named nodes selected; false (with a message) when a name is not
// in the scene.
bool select_nodes(host::Scene& scene, const std::vector<std::string>& names) {
  std::set<std::string> missing(names.begin(), names.end());
  each_node(scene.root(), [&](host::SceneNode& node) {
    if (std::find(names.begin(), names.end(), node.name) == names.end()) return;
    node.selected = true;
    missing.erase(node.name);
  });
  for (const std::string& name : missing) error_line("--selected: the scene has no node " + name);
  if (!missing.empty()) return false;
  // A selected node under an unselected one is left out with its parent.
  each_node(scene.root(), [&](host::SceneNode& node) {
    if (!node.selected) return;
    for (host::SceneNode* p = node.parent; p != nullptr && p->parent != nullptr; p = p->parent) {
      if (!p->selected) {
        error_line(fmt::format("note: {} is not exported: its parent {} is not selected", node.name,
                               p->name));
        break;
      }
    }
  });
  return true;
}

// The header of the .3da file at `path`, or nothing when it has none.
std::optional<model3da::FileHeader> written_header(const std::filesystem::path& path) {
  std::array<std::byte, model3da::kFileHeaderSize> bytes{};
  std::ifstream in(path, std::ios::binary);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()))) return {};
  const model3da::FileHeader header = model3da::read_file_header(bytes.data());
  if (header.magic != model3da::kMagic) return {};
  return header;
}

int run_tree(const Options& o) {
  scene_import::ImportResult result = import(o);
  if (!result.ok()) {
    error_line(result.error);
    return kExitFailed;
  }
  std::cout << scene_import::scene_tree(*result.scene);
  return kExitOk;
}

int run_export(const Options& o, const scenepress_app::DialogAnswers& answers) {
  std::error_code error;
  const std::filesystem::path output = std::filesystem::absolute(o.output, error);
  const std::filesystem::path folder = output.parent_path();
  if (error || output.filename().empty() || output.filename() == "." || output.filename() == "..") {
    error_line(fmt::format("{}: names no file to write", o.output));
    return kExitFailed;
  }
  if (std::filesystem::exists(folder, error) && !std::filesystem::is_directory(folder, error)) {
    error_line(fmt::format("{}: the output's folder is not a folder", folder.string()));
    return kExitFailed;
  }
  const std::filesystem::path plugin_path = o.plugin.empty()
                                                ? scenepress_app::default_plugin_path()
                                                : std::filesystem::absolute(o.plugin, error);
  scenepress_app::PluginLibrary plugin;
  if (const std::string problem = plugin.load(plugin_path); !problem.empty()) {
    error_line(problem);
    return kExitFailed;
  }

  scene_import::ImportResult imported = import(o);
  if (!imported.ok()) {
    error_line(imported.error);
    return kExitFailed;
  }
  host::Scene& scene = *imported.scene;
  if (!o.selected.empty() && !select_nodes(scene, o.selected)) return kExitUsage;
  // A missing output folder is made now that there is something to write;
  // it goes again when the export fails before anything is in it.
  scenepress_app::OutputFolder made;
  if (const std::string problem = made.create(folder); !problem.empty()) {
    error_line(problem);
    return kExitFailed;
  }
  if (!made.created().empty()) std::cout << fmt::format("created {}\n", folder.string());
  if (const std::string problem = scene_import::write_embedded_images(imported.images, folder);
      !problem.empty()) {
    error_line(problem);
    return kExitFailed;
  }
  for (const auto& image : imported.images) {
    std::cout << fmt::format("wrote {}\n", (folder / image.file_name).string());
  }
  imported.images = {};  // written; the export does not need their bytes
  // Assimp's model is gone; the export need not sit on top of its pages.
  scene_import::return_free_heap();

  // The export runs in the output's folder: .mat scripts and the
  // "exportselected" marker are beside the model.
  std::filesystem::current_path(folder, error);
  if (error) {
    error_line(fmt::format("{}: cannot work in this folder: {}", folder.string(), error.message()));
    return kExitFailed;
  }
  if (o.selected.empty() && std::filesystem::exists("exportselected")) {
    error_line(
        fmt::format("note: {} holds an exportselected marker: only selected nodes are "
                    "exported, and none is",
                    folder.string()));
  }
  const std::string plugin_config = o.plugcfg.empty() ? default_plugin_config_dir() : o.plugcfg;
  const bool selected_only = !o.selected.empty();

  scenepress_app::ProgressBar progress(stderr);
  scenepress_app::CommandLineUi ui(answers, progress);
  host::ScopedUiSeam seam(&ui);
  scenepress_app::ProgramHost host(scene, progress, plugin_config,
                                   exportable_nodes(scene.root(), selected_only));
  std::unique_ptr<SceneExport> exporter = plugin.create_exporter();
  if (!exporter) {
    error_line(plugin_path.string() + ": the plug-in made no exporter");
    return kExitFailed;
  }
  const std::string name = output.filename().string();
  const int done = exporter->DoExport(name.c_str(), nullptr, &host, false,
                                      selected_only ? SCENE_EXPORT_SELECTED : 0);
  exporter.reset();
  progress.end();
  if (done) made.keep();

  if (ui.refused_control() != 0) {
    error_line(
        ui.refused_control() == scenepress_app::kPerPixelLighting
            ? "--lighting pixel: the plug-in's options dialog does not offer per-pixel "
              "lighting; an options script (LightingType \"per pixel\") does"
            : fmt::format("the plug-in's options dialog refused control {}", ui.refused_control()));
    return kExitUsage;
  }
  if (!ui.options_dialog_shown()) {
    error_line(
        fmt::format("note: the options come from {}/scenepress.ini, which takes "
                    "precedence over --lighting, --type, --tcoord, --material-scripts "
                    "and --morph",
                    plugin_config));
  }
  if (host.cancel_seen()) {
    error_line(done ? fmt::format("cancelled: {} holds only the nodes exported before", name)
                    : "cancelled: nothing written");
    return kExitFailed;
  }
  if (!done) {
    error_line(fmt::format("the export of {} to {} failed", o.scene, output.string()));
    return kExitFailed;
  }
  // The plug-in has loaded and checked the file it wrote; its header is
  // enough here (loading the whole file again would double the memory the
  // export took).
  if (const std::optional<model3da::FileHeader> header = written_header(name)) {
    std::cout << fmt::format("wrote {}: {} nodes, {} materials, {} frames; log {}.log\n",
                             output.string(), header->nodeCount, header->materialCount,
                             header->frameCount, output.string());
  } else {
    std::cout << fmt::format("wrote {}\n", output.string());
  }
  return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Exports a scene file (glTF, FBX, COLLADA, OBJ, 3DS and more) to a .3da model "
      "through the Scenepress plug-in.",
      "scenepress"};
  app.footer(
      "The plug-in is libscenepress.so beside this program unless --plugin names another; its\n"
      "options script scenepress.ini, when --plugcfg's folder (default ~/.config/scenepress)\n"
      "has one, takes precedence over the export options given here.\n"
      "Exit codes: 0 success, 1 the import or the export failed, 2 usage error.");
  Options o;
  app.add_option("SCENE", o.scene, "the scene file to export")->required();
  app.add_option("-o,--output", o.output, "the .3da file to write");
  app.add_flag("--tree", o.tree, "print the imported host scene and write nothing");
  app.add_option("--selected", o.selected, "export only these nodes (and what is below them)")
      ->expected(1, -1);
  app.add_option("--lighting", o.lighting, "lighting of the material scripts (default none)")
      ->check(CLI::IsMember({"none", "vertex", "pixel"}));
  app.add_option("--type", o.type, "what to export (default normal)")
      ->check(CLI::IsMember({"normal", "no-animation", "no-geometry"}));
  app.add_option("--tcoord", o.tcoord, "texture coordinate slots to export, e.g. 0,1 (default)");
  app.add_flag("--material-scripts", o.material_scripts, "write a .mat script per material");
  app.add_option("--morph", o.morph, "export a morph source or target")
      ->check(CLI::IsMember({"src", "dst"}));
  app.add_option("--animation", o.animation, "the animation to export, by name or index");
  app.add_option("--uvw-map", o.uvw_map,
                 "give meshes without texture coordinates a map (only: box)")
      ->check(CLI::IsMember({"box"}));
  app.add_flag("--shorten-names", o.shorten_names,
               "shorten node and material names that the file cannot hold");
  app.add_option("--plugcfg", o.plugcfg, "the plug-in configuration folder");
  app.add_option("--plugin", o.plugin, "the plug-in library to load");
  app.add_flag("-v,--verbose", o.verbose, "show the plug-in's debugger output");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? kExitOk : kExitUsage;
  }

  scenepress_app::DialogAnswers answers;
  if (!o.tcoord.empty()) {
    if (!parse_tcoord(o.tcoord, answers.tex_coords)) {
      error_line("--tcoord: a list of slots 0 to 3, like 0,1");
      return kExitUsage;
    }
    answers.set_tex_coords = true;
  }
  if (!o.tree && o.output.empty()) {
    error_line("--output is required (or --tree to see the scene)");
    std::cerr << "Run with --help for more information.\n";
    return kExitUsage;
  }
  if (o.lighting == "vertex") answers.lighting = scenepress_app::kPerVertexLighting;
  if (o.lighting == "pixel") answers.lighting = scenepress_app::kPerPixelLighting;
  if (o.type == "no-animation") answers.export_type = scenepress_app::kNoAnimation;
  if (o.type == "no-geometry") answers.export_type = scenepress_app::kNoGeometry;
  answers.material_scripts = o.material_scripts;
  if (o.morph == "src") answers.morph = scenepress_app::kMorphSource;
  if (o.morph == "dst") answers.morph = scenepress_app::kMorphTarget;

  if (!o.verbose) platform::set_debugger_output_sink([](const char*) {});
  scenepress_app::catch_interrupts();
  return o.tree ? run_tree(o) : run_export(o, answers);
}
