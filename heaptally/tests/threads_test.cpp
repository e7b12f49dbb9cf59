#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "heaptally.h"
#include "test_support.h"
#include "test_support/files.h"

namespace {

constexpr int kWorkers = 4;
constexpr int kRounds = 3000;
constexpr int kKeptPerWorker = 25;

// Workers allocate and free blocks of mixed sizes while a dumper writes
// reports and sums sizes; afterwards every kept block must still be there.
TEST(heaptally_threads, concurrent_allocations_frees_and_dumps_lose_nothing) {
  ASSERT_EQ(memSize(), 0);
  std::atomic<int> workers_left{kWorkers};
  std::vector<std::vector<void*>> kept(kWorkers);

  auto worker = [&](int index) {
    std::mt19937 random(static_cast<unsigned>(index) + 1);
    std::vector<void*> live;
    for (int round = 0; round < kRounds; ++round) {
      if (live.size() < 40 && random() % 3 != 0) {
        auto* block = static_cast<unsigned char*>(
            memAlloc(static_cast<int32_t>(1 + random() % 300), "worker.cpp", index));
        ASSERT_NE(block, nullptr);
        block[0] = static_cast<unsigned char>(round);  // the block is the caller's
        live.push_back(block);
      } else if (!live.empty()) {
        const std::size_t at = random() % live.size();
        memFree(live[at]);
        live[at] = live.back();
        live.pop_back();
      }
    }
    for (void* block : live) {
      memFree(block);
    }
    for (int i = 0; i < kKeptPerWorker; ++i) {
      kept[index].push_back(memAlloc(8, "kept.cpp", index));
    }
    --workers_left;
  };

  const std::string path = heaptally_test::temp_path("threads.txt");
  auto dumper = [&] {
    while (workers_left > 0) {
      Heaptally(path.c_str());
      EXPECT_GE(memSize(), 0);
    }
  };

  std::vector<std::thread> threads;
  for (int i = 0; i < kWorkers; ++i) {
    threads.emplace_back(worker, i);
  }
  threads.emplace_back(dumper);
  for (std::thread& thread : threads) {
    thread.join();
  }

  EXPECT_EQ(memSize(), kWorkers * kKeptPerWorker * 62);
  Heaptally(path.c_str());
  const std::string text = gm_test::ReadFile(path);
  const std::string totals = "summary size: " + std::to_string(kWorkers * kKeptPerWorker * 62) +
                             ", count: " + std::to_string(kWorkers * kKeptPerWorker) + "\n";
  EXPECT_NE(text.find(totals), std::string::npos) << text;
  for (int i = 0; i < kWorkers; ++i) {
    const std::string line = std::to_string(kKeptPerWorker * 62) + "\t" +
                             std::to_string(kKeptPerWorker) + "\t62\tkept.cpp(" +
                             std::to_string(i) + ")\n";
    EXPECT_NE(text.find(line), std::string::npos) << line;
    for (void* block : kept[i]) {
      memFree(block);
    }
  }
  EXPECT_EQ(memSize(), 0);
  std::remove(path.c_str());
}

}  // namespace
