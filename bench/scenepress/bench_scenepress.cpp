// The scenepress program's work on a generated scene of 60 nodes and 74 880
// triangles (`--nodes=N` gives N nodes of 1 248 triangles instead): the scene
// import, the plug-in's export and both together, against Assimp's own
// import of the same file with vertex welding and cache ordering, in one
// run. First the peak memory of one import and export against the size of
// Assimp's model of the file.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <vector>

#include "host/plugin.h"
#include "host/recording_ui.h"
#include "import/free_heap.h"
#include "import/reference_import.h"
#include "import/scene_import.h"
#include "model3da/platform.h"
#include "scene_file.h"

namespace {

constexpr int kRings = 24, kSegments = 26;
int scene_nodes = 60;

std::filesystem::path scene_path;
ClassDesc* exporter_class = nullptr;

std::unique_ptr<host::Scene> import_or_die() {
  scene_import::ImportResult r = scene_import::import_scene(scene_path, {});
  if (!r.ok()) {
    std::fprintf(stderr, "%s\n", r.error.c_str());
    std::exit(1);
  }
  r.scene->plugin_config_dir = (std::filesystem::current_path() / "plugcfg").string();
  return std::move(r.scene);
}

bool export_scene(host::Scene& scene) {
  host::RecordingUi ui;  // the exporter's warnings, unread
  host::ScopedUiSeam seam(&ui);
  std::unique_ptr<SceneExport> exporter(static_cast<SceneExport*>(exporter_class->Create(false)));
  return exporter->DoExport("bench.3da", nullptr, &scene, true, 0) == 1;
}

void BM_assimp_import_join_and_cache(benchmark::State& state) {
  for (auto _ : state) {
    const scene_import::ReferenceImport r = scene_import::reference_import(scene_path, true);
    benchmark::DoNotOptimize(r.triangles);
  }
}

void BM_scene_import(benchmark::State& state) {
  for (auto _ : state) {
    std::unique_ptr<host::Scene> scene = import_or_die();
    benchmark::DoNotOptimize(scene.get());
  }
}

void BM_export(benchmark::State& state) {
  std::unique_ptr<host::Scene> scene = import_or_die();
  for (auto _ : state) {
    if (!export_scene(*scene)) state.SkipWithError("the export failed");
  }
}

void BM_import_and_export(benchmark::State& state) {
  for (auto _ : state) {
    std::unique_ptr<host::Scene> scene = import_or_die();
    if (!export_scene(*scene)) state.SkipWithError("the export failed");
  }
}

// The same with the exporter's second geometry thread: one mesh's geometry
// is built beside the walk.
struct TwoThreads {
  TwoThreads() { setenv("SCENEPRESS_THREADS", "2", 1); }
  ~TwoThreads() { unsetenv("SCENEPRESS_THREADS"); }
};

void BM_export_two_threads(benchmark::State& state) {
  const TwoThreads two;
  BM_export(state);
}

void BM_import_and_export_two_threads(benchmark::State& state) {
  const TwoThreads two;
  BM_import_and_export(state);
}

// CPU times are the whole process's, the exporter's second thread included.
BENCHMARK(BM_assimp_import_join_and_cache)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_scene_import)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_export)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_import_and_export)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_export_two_threads)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_import_and_export_two_threads)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// A "Vm..." line of /proc/self/status, in KiB (-1 when missing).
long status_kib(const char* field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  const std::string key = std::string(field) + ":";
  while (std::getline(in, line)) {
    if (line.rfind(key, 0) == 0) return std::strtol(line.c_str() + key.size(), nullptr, 10);
  }
  return -1;
}

// Starts a new peak of resident memory at the current size.
bool reset_peak() {
  std::ofstream out("/proc/self/clear_refs");
  out << "5";
  out.close();
  return bool(out);
}

// Maps every page of the files this process has mapped (the program's and
// libraries' code and constants), so that a later growth of the resident
// memory is the work's data alone. False when the system cannot do it.
bool page_in_mapped_files() {
#ifdef MADV_POPULATE_READ
  std::ifstream maps("/proc/self/maps");
  std::string line;
  bool all = true;
  while (std::getline(maps, line)) {
    uintptr_t from = 0, to = 0;
    char perms[5] = {};
    unsigned long offset = 0, inode = 0;
    char device[16] = {};
    if (std::sscanf(line.c_str(), "%lx-%lx %4s %lx %15s %lu", &from, &to, perms, &offset, device,
                    &inode) != 6 ||
        inode == 0 || perms[0] != 'r') {
      continue;
    }
    all = madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_READ) == 0 && all;
  }
  return all;
#else
  return false;
#endif
}

struct PeakGrowth {
  long peak_kib = -1;  // the growth of the peak resident memory
  long code_kib = -1;  // the growth of the resident pages mapped from files
};

// The growth of the peak resident memory while `work` runs, in KiB, in a
// child process that starts as this one is (so that no run profits from
// memory another one freed); -1 when it cannot be measured. Also the growth
// of the resident pages mapped from files: the libraries' code that the work
// runs for the first time, which every process doing the work pages in
// whatever the scene.
PeakGrowth peak_growth(const std::function<void()>& work, bool code_resident = false) {
  PeakGrowth growth;
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) return growth;
  const pid_t child = fork();
  if (child == 0) {
    if ((!code_resident || page_in_mapped_files()) && reset_peak()) {
      const long before = status_kib("VmRSS");
      const long file_before = status_kib("RssFile");
      work();
      growth.peak_kib = status_kib("VmHWM") - before;
      growth.code_kib = status_kib("RssFile") - file_before;
    }
    const ssize_t written = write(pipe_ends[1], &growth, sizeof growth);
    std::_Exit(written == sizeof growth ? 0 : 1);
  }
  // The parent's write end goes first, so that a child that dies without
  // writing ends the read instead of leaving it waiting.
  close(pipe_ends[1]);
  if (child < 0 || read(pipe_ends[0], &growth, sizeof growth) != sizeof growth) growth = {};
  close(pipe_ends[0]);
  if (child > 0) waitpid(child, nullptr, 0);
  return growth;
}

// Takes `--nodes=N` (1 to 100 000) out of the arguments into scene_nodes;
// false when its value is not such a number.
bool take_nodes_option(int& argc, char** argv) {
  int kept = 1;
  bool ok = true;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("--nodes=", 0) != 0) {
      argv[kept++] = argv[i];
      continue;
    }
    char* end = nullptr;
    const long n = std::strtol(arg.c_str() + 8, &end, 10);
    ok = ok && end != arg.c_str() + 8 && *end == '\0' && n >= 1 && n <= 100000;
    if (ok) scene_nodes = int(n);
  }
  argc = kept;
  return ok;
}

struct RunTime {
  double cpu_ms = -1;   // user and system time of the whole process
  double wall_ms = -1;  // from the fork to the child's end
};

// The CPU and wall time of `work` run once in a child process forked from
// this one, as a program that starts, does the work once and ends: the
// child faults in its own pages and the code it runs. -1 when it cannot be
// measured or the child fails.
RunTime fresh_process_time(const std::function<void()>& work) {
  RunTime t;
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    work();
    std::_Exit(0);
  }
  int status = 0;
  rusage usage{};
  if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    return t;
  }
  const auto wall = std::chrono::steady_clock::now() - start;
  t.wall_ms = std::chrono::duration<double, std::milli>(wall).count();
  t.cpu_ms = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
             double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
  return t;
}

// The median CPU time and the median wall time of `times` (not empty).
RunTime median(std::vector<RunTime> times) {
  const size_t middle = times.size() / 2;
  auto by = [&times, middle](double RunTime::*field) {
    std::nth_element(times.begin(), times.begin() + ptrdiff_t(middle), times.end(),
                     [field](const RunTime& x, const RunTime& y) { return x.*field < y.*field; });
    return times[middle].*field;
  };
  return {by(&RunTime::cpu_ms), by(&RunTime::wall_ms)};
}

// The median times of `runs` fresh-process runs of each piece of work, taken
// in turn (a, b, a, b, ...) so that both see the same load; -1 when a run
// could not be measured.
std::pair<RunTime, RunTime> fresh_process_medians(const std::function<void()>& a,
                                                  const std::function<void()>& b, int runs) {
  std::vector<RunTime> times_a, times_b;
  for (int r = 0; r < runs; ++r) {
    times_a.push_back(fresh_process_time(a));
    times_b.push_back(fresh_process_time(b));
    if (times_a.back().cpu_ms < 0 || times_b.back().cpu_ms < 0) return {};
  }
  return {median(std::move(times_a)), median(std::move(times_b))};
}

}  // namespace

int main(int argc, char** argv) {
  if (!take_nodes_option(argc, argv)) {
    std::fprintf(stderr, "--nodes takes a number of nodes from 1 to 100000\n");
    return 2;
  }
  // --write-scene PATH: only writes the scene (to run the program on it).
  if (argc == 3 && std::string(argv[1]) == "--write-scene") {
    bench_scenepress::write_sphere_scene(argv[2], scene_nodes, kRings, kSegments);
    return 0;
  }
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("bench_scenepress_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir / "plugcfg");
  std::filesystem::current_path(dir);
  scene_path = dir / "spheres.glb";
  // The scene is written by a child process, so that this one's memory is
  // not grown before it is measured.
  if (const pid_t child = fork(); child == 0) {
    bench_scenepress::write_sphere_scene(scene_path, scene_nodes, kRings, kSegments);
    std::_Exit(0);
  } else {
    waitpid(child, nullptr, 0);
  }
  // An options script, so that the exporter asks no dialog.
  std::ofstream(dir / "plugcfg" / "scenepress.ini") << "!Default()\nDefault()\n";
  platform::set_debugger_output_sink([](const char*) {});
  void* plugin = dlopen(GM_SCENEPRESS_PLUGIN, RTLD_NOW | RTLD_LOCAL);
  auto class_desc =
      plugin ? reinterpret_cast<LibClassDescFn>(dlsym(plugin, "LibClassDesc")) : nullptr;
  exporter_class = class_desc ? class_desc(0) : nullptr;
  if (exporter_class == nullptr || !std::filesystem::exists(scene_path)) {
    std::fprintf(stderr, "cannot load %s or write the scene\n", GM_SCENEPRESS_PLUGIN);
    return 1;
  }

  // Memory: one import and export, and Assimp's own imports, each from the
  // resident size before it.
  // As the program does it: the freed heap goes back between the two (not in
  // the timing loops below, where each import would then take its pages
  // anew, which a program that imports once never does).
  const auto import_and_export = [] {
    std::unique_ptr<host::Scene> scene = import_or_die();
    scene_import::return_free_heap();
    if (!export_scene(*scene)) std::fprintf(stderr, "the export failed\n");
  };
  const PeakGrowth ours = peak_growth(import_and_export);
  const PeakGrowth data_only = peak_growth(import_and_export, true);
  const PeakGrowth import_only = peak_growth([] { import_or_die(); });
  const PeakGrowth plain = peak_growth([] { scene_import::reference_import(scene_path, false); });
  const PeakGrowth joined = peak_growth([] { scene_import::reference_import(scene_path, true); });
  const scene_import::ReferenceImport model = scene_import::reference_import(scene_path, false);
  const double model_kib = double(model.model_bytes) / 1024.0;
  std::printf("scene: %d nodes, %zu triangles, %ju bytes; Assimp's model of it: %zu KiB\n",
              scene_nodes, model.triangles, std::uintmax_t(std::filesystem::file_size(scene_path)),
              model.model_bytes / 1024);
  std::printf(
      "peak memory growth: import and export %ld KiB (%.2f x the model), the import alone %ld "
      "KiB; Assimp's import %ld KiB, with welding and cache order %ld KiB\n",
      ours.peak_kib, double(ours.peak_kib) / model_kib, import_only.peak_kib, plain.peak_kib,
      joined.peak_kib);
  std::printf(
      "of which library code paged in: import and export %ld KiB, the import alone %ld KiB, "
      "Assimp's import %ld KiB; import and export with all code resident before: %ld KiB (%.2f x "
      "the model)\n",
      ours.code_kib, import_only.code_kib, plain.code_kib, data_only.peak_kib,
      double(data_only.peak_kib) / model_kib);

  // Time: one import and export, and one Assimp import with welding and
  // cache order, each in a fresh process, as a user runs the program once
  // on a scene (the timing loops below measure the steady state of a
  // process that exports again and again, as the host application does).
  const auto [fresh_ours, fresh_peer] = fresh_process_medians(
      import_and_export, [] { scene_import::reference_import(scene_path, true); }, 11);
  std::printf(
      "one run in a fresh process (median of 11): import and export %.1f ms CPU, %.1f ms wall; "
      "Assimp's import with welding and cache order %.1f ms CPU, %.1f ms wall (%.2f x by CPU)\n",
      fresh_ours.cpu_ms, fresh_ours.wall_ms, fresh_peer.cpu_ms, fresh_peer.wall_ms,
      fresh_ours.cpu_ms / fresh_peer.cpu_ms);

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::current_path(dir.parent_path());
  std::filesystem::remove_all(dir);
  return 0;
}
