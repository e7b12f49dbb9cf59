// memAlloc/memFree against malloc/free on one and two threads, and the dump
// of a million live blocks over ten thousand file-and-line keys against the
// plain way of building the same report (one formatted key per block, folded
// into an ordered map).
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

#if __has_include(<sys/single_threaded.h>)
#include <sys/single_threaded.h>
#endif
#include <thread>

#include "heaptally.h"

namespace {

constexpr int kBatch = 64;

// Sizes as a program asks for them: mostly small, now and then a few KiB.
const std::array<int, 1024>& mixed_sizes() {
  static const std::array<int, 1024> sizes = [] {
    std::array<int, 1024> result{};
    std::mt19937 random(7);
    for (int& size : result) {
      const unsigned pick = random() % 100;
      size = pick < 70   ? static_cast<int>(8 + random() % 120)
             : pick < 95 ? static_cast<int>(128 + random() % 896)
                         : static_cast<int>(1024 + random() % 7168);
    }
    return result;
  }();
  return sizes;
}

// Names, in the results, whether the process had a single thread: the C heap
// and the tracker both skip their locking while it has.
void label_process(benchmark::State& state) {
#if __has_include(<sys/single_threaded.h>)
  state.SetLabel(__libc_single_threaded != 0 ? "single-threaded process"
                                             : "multi-threaded process");
#else
  state.SetLabel("threading unknown");
#endif
}

// Allocates a batch of mixed sizes, then frees it, oldest first.
template <typename Alloc, typename Free>
void run_pairs(benchmark::State& state, Alloc alloc, Free release) {
  if (state.thread_index() == 0) {
    label_process(state);
  }
  const auto& sizes = mixed_sizes();
  std::array<void*, kBatch> blocks{};
  std::size_t next = static_cast<std::size_t>(state.thread_index()) * 97;
  for (auto _ : state) {
    for (void*& block : blocks) {
      block = alloc(sizes[next++ % sizes.size()]);
      benchmark::DoNotOptimize(block);
    }
    for (void* block : blocks) {
      release(block);
    }
  }
  state.SetItemsProcessed(state.iterations() * kBatch);
}

void BM_malloc_free(benchmark::State& state) {
  run_pairs(
      state, [](int size) { return std::malloc(static_cast<std::size_t>(size)); },
      [](void* block) { std::free(block); });
}

// malloc/free of blocks as large as memAlloc asks the heap for (the request
// plus the 64-byte header of a 64-bit build): the share of the overhead that
// the heap itself adds.
void BM_malloc_free_with_header_room(benchmark::State& state) {
  run_pairs(
      state, [](int size) { return std::malloc(static_cast<std::size_t>(size) + 64); },
      [](void* block) { std::free(block); });
}

void BM_memAlloc_memFree(benchmark::State& state) {
  run_pairs(
      state, [](int size) { return memAlloc(size, __FILE__, __LINE__); },
      [](void* block) { memFree(block); });
}

// The same pairs on one thread after a second thread has run: the process
// stays multi-threaded for good, as every real game is, so the locks are on.
template <void (*Pairs)(benchmark::State&)>
void in_threaded_process(benchmark::State& state) {
  std::thread([] {}).join();
  Pairs(state);
}

// One thread in a single-threaded process first (every case of it before any
// thread starts), then one thread in a multi-threaded process, then two
// threads.
BENCHMARK(BM_malloc_free)->Threads(1)->UseRealTime();
BENCHMARK(BM_malloc_free_with_header_room)->Threads(1)->UseRealTime();
BENCHMARK(BM_memAlloc_memFree)->Threads(1)->UseRealTime();
BENCHMARK(in_threaded_process<BM_malloc_free>)
    ->Name("BM_malloc_free/threaded_process")
    ->UseRealTime();
BENCHMARK(in_threaded_process<BM_malloc_free_with_header_room>)
    ->Name("BM_malloc_free_with_header_room/threaded_process")
    ->UseRealTime();
BENCHMARK(in_threaded_process<BM_memAlloc_memFree>)
    ->Name("BM_memAlloc_memFree/threaded_process")
    ->UseRealTime();
BENCHMARK(BM_malloc_free)->Threads(2)->UseRealTime();
BENCHMARK(BM_malloc_free_with_header_room)->Threads(2)->UseRealTime();
BENCHMARK(BM_memAlloc_memFree)->Threads(2)->UseRealTime();

constexpr int kLiveBlocks = 1000000;
constexpr int kFiles = 100;
constexpr int kLinesPerFile = 100;  // 10000 keys

struct LiveBlocks {
  std::vector<std::string> files;
  std::vector<void*> blocks;
  std::vector<std::pair<const char*, int>> sites;  // per block, for the plain way
};

LiveBlocks make_live_blocks() {
  LiveBlocks live;
  for (int i = 0; i < kFiles; ++i) {
    live.files.push_back("src/game/module_" + std::to_string(i) + "/source_file.cpp");
  }
  std::mt19937 random(11);
  live.blocks.reserve(kLiveBlocks);
  live.sites.reserve(kLiveBlocks);
  for (int i = 0; i < kLiveBlocks; ++i) {
    const char* file = live.files[random() % kFiles].c_str();
    const int line = 1 + static_cast<int>(random() % kLinesPerFile);
    live.blocks.push_back(memAlloc(static_cast<int>(8 + random() % 56), file, line));
    live.sites.emplace_back(file, line);
  }
  return live;
}

void free_live_blocks(LiveBlocks& live) {
  for (void* block : live.blocks) {
    memFree(block);
  }
}

void BM_dump_million_blocks(benchmark::State& state) {
  LiveBlocks live = make_live_blocks();
  const std::string path = "heaptally_bench_dump.txt";
  for (auto _ : state) {
    Heaptally(path.c_str());
  }
  std::remove(path.c_str());
  free_live_blocks(live);
  state.SetItemsProcessed(state.iterations() * kLiveBlocks);
}

// The plain way: format "%s(%i)" for every block and fold into a std::map,
// then write the same lines.
void BM_plain_fold_million_blocks(benchmark::State& state) {
  LiveBlocks live = make_live_blocks();
  const std::string path = "heaptally_bench_plain.txt";
  for (auto _ : state) {
    struct Entry {
      long long sum = 0;
      long long count = 0;
      int largest = 0;
    };
    std::map<std::string, Entry> entries;
    char key[1024];
    for (std::size_t i = 0; i < live.blocks.size(); ++i) {
      std::snprintf(key, sizeof key, "%s(%i)", live.sites[i].first, live.sites[i].second);
      Entry& entry = entries[key];
      entry.sum += 62;
      entry.count += 1;
      entry.largest = 62;
    }
    std::FILE* file = std::fopen(path.c_str(), "w");
    for (const auto& [text, entry] : entries) {
      std::fprintf(file, "%lld\t%lld\t%i\t%s\n", entry.sum, entry.count, entry.largest,
                   text.c_str());
    }
    std::fclose(file);
  }
  std::remove(path.c_str());
  free_live_blocks(live);
  state.SetItemsProcessed(state.iterations() * kLiveBlocks);
}

BENCHMARK(BM_dump_million_blocks)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_plain_fold_million_blocks)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
