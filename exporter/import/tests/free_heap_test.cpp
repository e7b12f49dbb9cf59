// Giving the C heap's free pages back: memory freed in the middle of the
// heap stops being resident.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "import/free_heap.h"

namespace scene_import {
namespace {

// The process's resident anonymous memory in KiB (-1 when unknown).
long resident_anonymous_kib() {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("RssAnon:", 0) == 0) return std::strtol(line.c_str() + 8, nullptr, 10);
  }
  return -1;
}

// Only the GNU C library's own heap gives pages back (not a sanitizer's).
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
constexpr bool kHeapGivesPagesBack = true;
#else
constexpr bool kHeapGivesPagesBack = false;
#endif

TEST(FreeHeap, FreedBlocksBelowALiveOneStopBeingResident) {
  if (!kHeapGivesPagesBack) GTEST_SKIP() << "this C heap does not give pages back";
  if (resident_anonymous_kib() < 0) GTEST_SKIP() << "no resident sizes in /proc/self/status";
  // 32 MiB in blocks small enough for the heap itself (not mapped apart),
  // every page written, then a live block above them so that freeing them
  // leaves a hole the heap keeps.
  constexpr size_t kBlock = 32 * 1024;
  std::vector<char*> blocks(1025);
  for (char*& block : blocks) {
    block = static_cast<char*>(std::malloc(kBlock));
    ASSERT_NE(block, nullptr);
    for (size_t at = 0; at < kBlock; at += 512) block[at] = 1;
  }
  // The last block stays: it lies above the others.
  char* above = blocks.back();
  blocks.pop_back();
  for (char* block : blocks) std::free(block);
  const long held = resident_anonymous_kib();
  return_free_heap();
  const long after = resident_anonymous_kib();
  std::free(above);
  EXPECT_LT(after, held - 16 * 1024) << "held " << held << " KiB, after " << after << " KiB";
}

}  // namespace
}  // namespace scene_import
