// Mesh nodes through the plug-in, as the host runs it: libscenepress.so is
// loaded with dlopen and exports an in-memory scene holding one UV sphere of
// 250 segments and 200 rings (99 500 triangles, a textured material, map
// channel 1 with a seam, four latitude bands in their own smoothing groups
// and material ids), or one of 177 x 142 (49 914 triangles) skinned by
// Physique to two bones.
// Each export is the whole DoExport: options, walk, geometry, tracks, the
// file written, read back, its collision section built and appended, and the
// log. In the same run: the load of the finished file, and the plug-in's
// steps on the same sphere (the host's mesh to the geometry core's
// description, the core's export, the collision section).
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "../../exporter/tests/mesh_scenes.h"
#include "geometry/geometry_export.h"
#include "host/plugin.h"
#include "host/recording_ui.h"
#include "host/scene_builder.h"
#include "model3da/collision.h"
#include "model3da/model.h"
#include "model3da/platform.h"
#include "scenepress/mesh_gather.h"
#include "scenepress/scene_order.h"

namespace {

std::shared_ptr<Mtl> paint() {
  auto material = std::make_shared<host::StandardMaterial>("Paint");
  material->diffuse = Color{0.8f, 0.1f, 0.1f};
  material->maps[ID_DI] = std::make_shared<host::BitmapMap>("paint.tga");
  return material;
}

// The scenes, the folder they are exported in, and the loaded plug-in.
struct Bench {
  Bench() {
    dir =
        std::filesystem::temp_directory_path() / ("bench_scenepress_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir / "plugcfg");
    std::ofstream(dir / "plugcfg" / "scenepress.ini") << "!Default()\nDefault()\n";
    std::filesystem::current_path(dir);
    platform::set_debugger_output_sink([](const char*) {});
    plugin = dlopen(GM_SCENEPRESS_PLUGIN, RTLD_NOW | RTLD_LOCAL);
    if (plugin == nullptr) {
      std::fprintf(stderr, "%s\n", dlerror());
      std::abort();
    }
    class_desc = reinterpret_cast<LibClassDescFn>(dlsym(plugin, "LibClassDesc"));

    plain.scene.plugin_config_dir = (dir / "plugcfg").string();
    host::SceneNode& ball = plain.node("Sphere_0", scenepress::testing::sphere_object(250, 200));
    ball.material = paint();

    skinned.scene.plugin_config_dir = (dir / "plugcfg").string();
    host::SceneNode& lower = skinned.dummy("BoneLower_0");
    host::SceneNode& upper = skinned.dummy("BoneUpper_0");
    auto physique = std::make_shared<host::PhysiqueModifier>();
    std::shared_ptr<TriObject> arm = scenepress::testing::sphere_object(177, 142);
    host::SceneNode& node =
        skinned.node("Arm_0", std::make_shared<host::DerivedObject>(
                                  arm, std::vector<std::shared_ptr<Modifier>>{physique}));
    node.material = paint();
    scenepress::testing::bind_to_two_bones(*physique, node, arm->mesh, lower, upper);
  }
  ~Bench() {
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(dir);
  }

  int run(host::SceneBuilder& scene, const char* name) {
    std::unique_ptr<SceneExport> exporter(static_cast<SceneExport*>(class_desc(0)->Create(false)));
    return exporter->DoExport(name, nullptr, &scene.scene, false, 0);
  }

  std::filesystem::path dir;
  void* plugin = nullptr;
  LibClassDescFn class_desc = nullptr;
  host::RecordingUi ui;
  host::ScopedUiSeam seam{&ui};
  host::SceneBuilder plain;
  host::SceneBuilder skinned;
};

Bench& bench() {
  static Bench b;
  return b;
}

void count(benchmark::State& state, const char* file) {
  model3da::LoadResult loaded = model3da::load_model_file(bench().dir / file);
  if (!loaded.ok()) {
    state.SkipWithError(loaded.message.c_str());
    return;
  }
  uint32_t triangles = 0, vertices = 0;
  for (const auto& node : loaded.model->nodes)
    for (const auto& s : node.surfaces) {
      triangles += s.record.listIndexCount / 3;
      vertices += s.record.vertexCount;
    }
  state.counters["triangles"] = triangles;
  state.counters["vertices"] = vertices;
  state.counters["MB"] = double(loaded.model->block.size()) / 1e6;
}

void plugin_export_sphere_100k(benchmark::State& state) {
  for (auto _ : state) {
    if (bench().run(bench().plain, "sphere.3da") != 1) state.SkipWithError("export failed");
  }
  count(state, "sphere.3da");
}

void plugin_export_skinned_50k(benchmark::State& state) {
  for (auto _ : state) {
    if (bench().run(bench().skinned, "arm.3da") != 1) state.SkipWithError("export failed");
  }
  count(state, "arm.3da");
}

void load_result(benchmark::State& state) {
  for (auto _ : state) {
    model3da::LoadResult loaded = model3da::load_model_file(bench().dir / "sphere.3da");
    if (!loaded.ok()) state.SkipWithError(loaded.message.c_str());
    benchmark::DoNotOptimize(loaded.model.get());
  }
}

// The plug-in's steps on the sphere, one by one.
INode* sphere_node() {
  return bench().plain.scene.root().GetChildNode(0);
}

geometry::MeshInput gather() {
  INode* node = sphere_node();
  Mesh mesh = dynamic_cast<TriObject*>(node->EvalWorldState(0).obj)->GetMesh();
  mesh.RemoveDegenerateFaces();
  mesh.RemoveIllegalFaces();
  mesh.DeleteIsoMapVerts();
  geometry::MeshInput input;
  input.node_name = "Sphere_0";
  scenepress::gather_mesh(mesh, scenepress::present_map_channels(mesh), input);
  const Matrix3 offset = scenepress::object_offset_matrix(node);
  input.positions = scenepress::file_positions(mesh, offset);
  input.normal_matrix = scenepress::normal_matrix(offset);
  return input;
}

void step_host_mesh_to_description(benchmark::State& state) {
  for (auto _ : state) {
    geometry::MeshInput input = gather();
    benchmark::DoNotOptimize(input.faces.data());
  }
}

void step_geometry_core(benchmark::State& state) {
  const geometry::MeshInput input = gather();
  for (auto _ : state) {
    geometry::GeometryResult r = geometry::export_geometry(input);
    benchmark::DoNotOptimize(r.surfaces.data());
  }
}

void step_collision_section(benchmark::State& state) {
  model3da::LoadResult loaded = model3da::load_model_file(bench().dir / "sphere.3da");
  if (!loaded.ok()) {
    state.SkipWithError(loaded.message.c_str());
    return;
  }
  for (auto _ : state) {
    model3da::CollisionSet set = model3da::build_collision_set(*loaded.model, {});
    benchmark::DoNotOptimize(&set);
    model3da::release_collision_set(set);
  }
}

}  // namespace

BENCHMARK(plugin_export_sphere_100k)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(plugin_export_skinned_50k)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(load_result)->Unit(benchmark::kMillisecond);
BENCHMARK(step_host_mesh_to_description)->Unit(benchmark::kMillisecond);
BENCHMARK(step_geometry_core)->Unit(benchmark::kMillisecond);
BENCHMARK(step_collision_section)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
