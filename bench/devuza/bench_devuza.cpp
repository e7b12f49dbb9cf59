// Packs and unpacks a generated car folder of about 200 MB in 160 files and
// does the same with `tar -cf` and `tar -xf` of the same folder, so that the
// throughputs can be compared within one run; then unpacks a folder of 10 000
// one-byte files against `tar -xf` of it. The peak resident memory of the
// benchmark process is reported as a counter (tar runs as a child process and
// is not counted).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "devuza/package.h"

namespace {

namespace stdfs = std::filesystem;

constexpr std::uint64_t kTotalBytes = 200ull << 20;
constexpr std::uint64_t kLargestFile = 64ull << 20;

// A car folder of 160 files: 46 in the car's folder, 16 in each of five
// painting folders, 14 in Parts, 16 in Wheels and 4 in a modder's folder,
// summing to 200 MB: one 64 MB mesh (so that a peak memory far below it shows
// that no file is held whole) and the rest from a few kilobytes to a few
// megabytes.
struct CarFolder {
  stdfs::path root;
  stdfs::path car;
  CarFolder() {
    root = stdfs::temp_directory_path() / "devuza-bench";
    stdfs::remove_all(root);
    car = root / "SKY";
    std::vector<std::pair<std::string, int>> folders = {{"", 46},      {"SKY1", 16},   {"SKY2", 16},
                                                        {"SKY3", 16},  {"SKY4", 16},   {"SKY5", 16},
                                                        {"Parts", 14}, {"Wheels", 16}, {"Mine", 4}};
    std::vector<stdfs::path> files;
    std::vector<std::uint64_t> weights;
    std::uint64_t seed = 12345, weight_sum = 0;
    for (const auto& [folder, count] : folders) {
      stdfs::create_directories(car / folder);
      for (int i = 0; i < count; ++i) {
        files.push_back(car / folder / ("SKY_file" + std::to_string(i) + ".dds"));
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        const std::uint64_t w = 1 + (seed >> 33) % 1000;
        weights.push_back(w * w);  // a few large textures, many small files
        weight_sum += w * w;
      }
    }
    std::vector<char> block(1 << 20);
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 31 + 7);
    weight_sum -= weights[0];
    for (std::size_t i = 0; i < files.size(); ++i) {
      std::uint64_t size =
          i == 0 ? kLargestFile : (kTotalBytes - kLargestFile) * weights[i] / weight_sum + 1;
      std::ofstream out(files[i], std::ios::binary);
      while (size > 0) {
        const std::uint64_t chunk = std::min<std::uint64_t>(size, block.size());
        out.write(block.data(), static_cast<std::streamsize>(chunk));
        size -= chunk;
      }
    }
  }
  ~CarFolder() { stdfs::remove_all(root); }
  std::uint64_t Bytes() const {
    std::uint64_t total = 0;
    for (const auto& entry : stdfs::recursive_directory_iterator(car)) {
      if (entry.is_regular_file()) total += entry.file_size();
    }
    return total;
  }
};

CarFolder& Folder() {
  static CarFolder folder;
  return folder;
}

void Run(const std::string& command) {
  if (std::system(command.c_str()) != 0) std::abort();
}

void ReportMemory(benchmark::State& state) {
  rusage self{};
  getrusage(RUSAGE_SELF, &self);
  state.counters["max_rss_MB"] = static_cast<double>(self.ru_maxrss) / 1024.0;
}

void BM_DevuzaPack(benchmark::State& state) {
  CarFolder& folder = Folder();
  const stdfs::path out = folder.root / "SKY.devuza";
  for (auto _ : state) {
    devuza::Package package;
    if (!devuza::OpenPackage(package, devuza::PackageMode::kWrite, out, "SKY") ||
        !devuza::AddCarFolder(package, folder.car, "") || !devuza::ClosePackage(package)) {
      state.SkipWithError(devuza::LastPackageError(package).c_str());
      break;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * folder.Bytes()));
  ReportMemory(state);
}

void BM_TarCreate(benchmark::State& state) {
  CarFolder& folder = Folder();
  const std::string command =
      "tar -cf '" + (folder.root / "SKY.tar").string() + "' -C '" + folder.root.string() + "' SKY";
  for (auto _ : state) Run(command);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * folder.Bytes()));
  ReportMemory(state);
}

void BM_DevuzaExtract(benchmark::State& state) {
  CarFolder& folder = Folder();
  const stdfs::path package_path = folder.root / "SKY.devuza";
  if (!stdfs::exists(package_path)) {
    devuza::Package package;
    devuza::OpenPackage(package, devuza::PackageMode::kWrite, package_path, "SKY");
    devuza::AddCarFolder(package, folder.car, "");
    devuza::ClosePackage(package);
  }
  const stdfs::path dest = folder.root / "out-devuza";
  for (auto _ : state) {
    state.PauseTiming();
    stdfs::remove_all(dest);
    state.ResumeTiming();
    devuza::Package package;
    if (!devuza::OpenPackage(package, devuza::PackageMode::kReadFile, package_path) ||
        !devuza::ExtractPackage(package, dest / "SKY")) {
      state.SkipWithError(devuza::LastPackageError(package).c_str());
      break;
    }
    devuza::ClosePackage(package);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * folder.Bytes()));
  ReportMemory(state);
}

void BM_TarExtract(benchmark::State& state) {
  CarFolder& folder = Folder();
  const stdfs::path tar_path = folder.root / "SKY.tar";
  if (!stdfs::exists(tar_path)) {
    Run("tar -cf '" + tar_path.string() + "' -C '" + folder.root.string() + "' SKY");
  }
  const stdfs::path dest = folder.root / "out-tar";
  const std::string command = "tar -xf '" + tar_path.string() + "' -C '" + dest.string() + "'";
  for (auto _ : state) {
    state.PauseTiming();
    stdfs::remove_all(dest);
    stdfs::create_directories(dest);
    state.ResumeTiming();
    Run(command);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * folder.Bytes()));
  ReportMemory(state);
}

// 10 000 files of one byte in one folder: what counts is the cost per file,
// and above all that it does not grow with the number of files already there.
constexpr int kSmallFiles = 10000;

struct SmallFiles {
  std::filesystem::path root;
  std::filesystem::path package;
  std::filesystem::path tar;
  SmallFiles() {
    root = std::filesystem::temp_directory_path() / "devuza-bench-small";
    std::filesystem::remove_all(root);
    const std::filesystem::path car = root / "MNY";
    std::filesystem::create_directories(car);
    for (int i = 0; i < kSmallFiles; ++i) {
      std::ofstream(car / ("MNY_" + std::to_string(i) + ".dds"), std::ios::binary)
          .put(static_cast<char>(i));
    }
    package = root / "MNY.devuza";
    tar = root / "MNY.tar";
    devuza::Package writer;
    if (!devuza::OpenPackage(writer, devuza::PackageMode::kWrite, package, "MNY") ||
        !devuza::AddCarFolder(writer, car, "") || !devuza::ClosePackage(writer)) {
      std::abort();
    }
    Run("tar -cf '" + tar.string() + "' -C '" + root.string() + "' MNY");
  }
  ~SmallFiles() { std::filesystem::remove_all(root); }
};

SmallFiles& Small() {
  static SmallFiles files;
  return files;
}

void BM_DevuzaExtractSmallFiles(benchmark::State& state) {
  SmallFiles& files = Small();
  const std::filesystem::path dest = files.root / "out-devuza";
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove_all(dest);
    state.ResumeTiming();
    devuza::Package package;
    if (!devuza::OpenPackage(package, devuza::PackageMode::kReadFile, files.package) ||
        !devuza::ExtractPackage(package, dest / "MNY")) {
      state.SkipWithError(devuza::LastPackageError(package).c_str());
      break;
    }
    devuza::ClosePackage(package);
  }
  state.SetItemsProcessed(state.iterations() * kSmallFiles);
}

void BM_TarExtractSmallFiles(benchmark::State& state) {
  SmallFiles& files = Small();
  const std::filesystem::path dest = files.root / "out-tar";
  const std::string command = "tar -xf '" + files.tar.string() + "' -C '" + dest.string() + "'";
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove_all(dest);
    std::filesystem::create_directories(dest);
    state.ResumeTiming();
    Run(command);
  }
  state.SetItemsProcessed(state.iterations() * kSmallFiles);
}

// Pack and unpack alternate with tar so that drifts of a shared machine hit
// both alike.
BENCHMARK(BM_DevuzaPack)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_TarCreate)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_DevuzaExtract)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_TarExtract)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_DevuzaExtractSmallFiles)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_TarExtractSmallFiles)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

}  // namespace

BENCHMARK_MAIN();
