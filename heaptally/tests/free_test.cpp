#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "block_header.h"
#include "header_record.h"
#include "heaptally.h"
#include "plain_block.h"
#include "test_support.h"

namespace {

using heaptally_test::dump_text;
using heaptally_test::StderrCapture;

void write_u32(unsigned char* at, uint32_t value) {
  std::memcpy(at, &value, sizeof value);
}

TEST(heaptally_free, newest_and_middle_blocks_leave_the_rest_intact) {
  void* first = memAlloc(4, "list.cpp", 1);
  void* second = memAlloc(8, "list.cpp", 2);
  void* third = memAlloc(12, "list.cpp", 3);
  void* fourth = memAlloc(16, "list.cpp", 4);
  memFree(fourth);  // the newest
  memFree(second);  // a middle one
  EXPECT_EQ(memSize(), 58 + 66);
  EXPECT_EQ(dump_text(),
            "-- Mem dump --\nfile(line) size\n"
            "summary size: 124, count: 2\n"
            "\n-- Summary mem dump --\n\nsumsize count maxalloc file(line)\n"
            "58\t1\t58\tlist.cpp(1)\n"
            "66\t1\t66\tlist.cpp(3)\n");
  void* fifth = memAlloc(0, "list.cpp", 5);  // links in front of the new newest
  memFree(first);                            // the oldest
  memFree(third);
  EXPECT_EQ(memSize(), 54);
  memFree(fifth);
  EXPECT_EQ(dump_text(), heaptally_test::kEmptyDump);
}

TEST(heaptally_free, plain_heap_block_is_released_as_such) {
  void* ours = MEM_ALLOC(3);
  for (std::size_t size : {1u, 24u, 100u, 1000000u}) {
    void* plain = std::malloc(size);
    ASSERT_NE(plain, nullptr);
    std::memset(plain, 0, size);
    StderrCapture capture;
    memFree(plain);  // the leak check of the sanitizer build sees a block not released
    EXPECT_EQ(capture.finish(), "");
  }
  EXPECT_EQ(memSize(), 58);
  memFree(ours);
  EXPECT_EQ(memSize(), 0);
}

TEST(heaptally_free, damaged_back_guard_is_reported_and_the_block_released_whole) {
  void* keep = memAlloc(1, "keep.cpp", 1);
  auto* block = static_cast<unsigned char*>(memAlloc(16, "overrun.cpp", 31));
  void* newer = memAlloc(2, "keep.cpp", 2);
  block[-1] = 0;  // the caller wrote just in front of its block
  StderrCapture capture;
  memFree(block);
  const std::string report = capture.finish();
  EXPECT_NE(report.find("damaged back guard"), std::string::npos) << report;
  EXPECT_NE(report.find("overrun.cpp(31)"), std::string::npos) << report;
  EXPECT_EQ(memSize(), 58 + 58);  // unlinked; its neighbours joined
  memFree(newer);
  memFree(keep);
  EXPECT_EQ(memSize(), 0);
}

TEST(heaptally_free, underrun_into_the_links_leaves_the_list_intact) {
  void* older = memAlloc(1, "keep.cpp", 1);
  auto* block = static_cast<unsigned char*>(memAlloc(16, "overrun.cpp", 44));
  void* newer = memAlloc(2, "keep.cpp", 2);
  std::memset(block - 12, 0xEE, 12);  // the back guard and the link words before it
  StderrCapture capture;
  memFree(block);
  EXPECT_NE(capture.finish().find("overrun.cpp(44)"), std::string::npos);
  EXPECT_EQ(dump_text(),
            "-- Mem dump --\nfile(line) size\n"
            "summary size: 116, count: 2\n"
            "\n-- Summary mem dump --\n\nsumsize count maxalloc file(line)\n"
            "58\t1\t58\tkeep.cpp(1)\n"
            "58\t1\t58\tkeep.cpp(2)\n");
  memFree(older);
  memFree(newer);
  EXPECT_EQ(memSize(), 0);
}

TEST(heaptally_free, damaged_front_guard_is_reported_and_the_block_released_whole) {
  auto* block = static_cast<unsigned char*>(memAlloc(40, "underrun.cpp", 7));
  write_u32(block - heaptally::kHeaderSize, 0xDEADBEEF);
  StderrCapture capture;
  memFree(block);
  const std::string report = capture.finish();
  EXPECT_NE(report.find("damaged front guard"), std::string::npos) << report;
  EXPECT_NE(report.find("underrun.cpp(7)"), std::string::npos) << report;
  EXPECT_EQ(memSize(), 0);
}

TEST(heaptally_free, pointer_into_a_block_is_never_released) {
  // A caller that keeps guard values in its data and frees a pointer into the
  // middle of the block: the C runtime must never see that pointer.
  auto* block = static_cast<unsigned char*>(memAlloc(256, "inner.cpp", 3));
  unsigned char* inner = block + 128;
  write_u32(inner - 4, heaptally::kGuard);
  StderrCapture capture;
  memFree(inner);
  const std::string report = capture.finish();
  EXPECT_NE(report.find("is not a live block"), std::string::npos) << report;
  EXPECT_EQ(memSize(), 310);
  memFree(block);
  EXPECT_EQ(memSize(), 0);
}

// A block freed twice, for blocks that the C heap keeps in its caches, merges
// with the free space after them, or maps for themselves and unmaps when
// freed. Nothing is allocated between the two frees, so the address cannot
// have become a new block. The test never reads the freed memory itself.
TEST(heaptally_free, block_freed_twice_is_reported_and_left_alone_at_any_size) {
  for (const int32_t size : {24, 2000, 4 << 20}) {
    void* older = memAlloc(1, "keep.cpp", 1);
    void* newer = memAlloc(2, "keep.cpp", 2);
    void* block = memAlloc(size, "twice.cpp", 3);  // the last one: next to the heap's free top
    ASSERT_NE(block, nullptr);
    memFree(block);
    StderrCapture capture;
    memFree(block);
    const std::string report = capture.finish();
    EXPECT_NE(report.find("is not a live block"), std::string::npos) << size << ": " << report;
    EXPECT_EQ(dump_text(),
              "-- Mem dump --\nfile(line) size\n"
              "summary size: 116, count: 2\n"
              "\n-- Summary mem dump --\n\nsumsize count maxalloc file(line)\n"
              "58\t1\t58\tkeep.cpp(1)\n"
              "58\t1\t58\tkeep.cpp(2)\n")
        << size;
    memFree(newer);
    memFree(older);
    EXPECT_EQ(memSize(), 0) << size;
  }
}

}  // namespace

namespace {

// Whether the header in front of block starts on an earlier page than the
// block (no system has pages smaller than 4096 bytes).
bool header_leaves_page(const void* block) {
  return reinterpret_cast<std::uintptr_t>(block) % 4096 < heaptally::kHeaderSize;
}

// Blocks of ours whose header reaches onto the page before the block: found
// by allocating until enough turn up.
std::vector<unsigned char*> page_straddling_blocks(std::size_t wanted, std::vector<void*>& others) {
  std::vector<unsigned char*> found;
  for (int i = 0; i < 200000 && found.size() < wanted; ++i) {
    auto* block = static_cast<unsigned char*>(memAlloc(16 + (i * 16) % 4000, "straddle.cpp", i));
    if (header_leaves_page(block)) {
      found.push_back(block);
    } else {
      others.push_back(block);
    }
  }
  return found;
}

TEST(heaptally_free, blocks_whose_header_starts_on_the_page_before_are_recognised) {
  std::vector<void*> others;
  const std::vector<unsigned char*> straddlers = page_straddling_blocks(3, others);
  ASSERT_EQ(straddlers.size(), 3u);
  for (void* block : others) {
    memFree(block);
  }
  const int32_t size_before = memSize();
  const int32_t first_size =
      reinterpret_cast<heaptally::BlockHeader*>(straddlers[0] - heaptally::kHeaderSize)
          ->accounted_size;
  {
    StderrCapture capture;
    memFree(straddlers[0]);
    EXPECT_EQ(capture.finish(), "");
  }
  EXPECT_EQ(memSize(), size_before - first_size);
  straddlers[1][-2] = 0;  // a damaged back guard on the earlier page
  {
    StderrCapture capture;
    memFree(straddlers[1]);
    EXPECT_NE(capture.finish().find("damaged back guard"), std::string::npos);
  }
  memFree(straddlers[2]);
  EXPECT_EQ(memSize(), 0);
}

TEST(heaptally_probe, a_retired_header_never_passes_as_live_but_still_reads_as_ours) {
  alignas(std::max_align_t) unsigned char memory[heaptally::kHeaderSize + 16] = {};
  heaptally::BlockHeader* header = heaptally::init_header(memory, 16, "stale.cpp", 1);
  const void* block = heaptally::user_block_of(header);
  ASSERT_TRUE(heaptally::probe_live_header(header).all());
  ASSERT_TRUE(heaptally::probe_checked(block).all());
  heaptally::retire_header(header);
  EXPECT_EQ(heaptally::probe_live_header(header).marks, 0u);
  EXPECT_EQ(heaptally::probe_checked(block).marks, heaptally::GuardProbe::kRetired);
  EXPECT_EQ(heaptally::probe_nearby(block).marks, heaptally::GuardProbe::kRetired);
}

// Two pages of which the first cannot be read; released by release_pages.
unsigned char* second_of_two_pages(void*& pages, std::size_t& page) {
#if defined(_WIN32)
  SYSTEM_INFO info;
  ::GetSystemInfo(&info);
  page = info.dwPageSize;
  pages = ::VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  DWORD old = 0;
  if (pages == nullptr || !::VirtualProtect(pages, page, PAGE_NOACCESS, &old)) return nullptr;
#else
  page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  pages = mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (pages == MAP_FAILED || mprotect(pages, page, PROT_NONE) != 0) return nullptr;
#endif
  return static_cast<unsigned char*>(pages) + page;
}

bool release_pages(void* pages, [[maybe_unused]] std::size_t page) {
#if defined(_WIN32)
  return ::VirtualFree(pages, 0, MEM_RELEASE) != 0;
#else
  return munmap(pages, 2 * page) == 0;
#endif
}

TEST(heaptally_probe, never_faults_on_unmapped_memory_in_front_of_a_pointer) {
  void* pages = nullptr;
  std::size_t page = 0;
  unsigned char* second = second_of_two_pages(pages, page);
  ASSERT_NE(second, nullptr);
  write_u32(second, heaptally::kGuard);
  write_u32(second + 12, heaptally::kGuard);  // a back guard, but the header is unreadable
  for (const auto probe : {heaptally::probe_checked, heaptally::probe_nearby}) {
    EXPECT_EQ(probe(second).marks, heaptally::GuardProbe::kUnreadable);
    const heaptally::GuardProbe found = probe(second + 16);
    EXPECT_TRUE(found.back_ok());
    EXPECT_FALSE(found.front_ok());
    EXPECT_FALSE(found.all());
  }
  // A pointer with nothing mapped in front of it never had a header of ours:
  // a heap may place a plain block at the start of a mapping.
  heaptally::HeaderRecord headers;
  EXPECT_TRUE(heaptally::is_plain_block(headers, second, heaptally::HeaderState::kNone));
  ASSERT_TRUE(release_pages(pages, page));
  // Once nothing is mapped there, not even the pointer's own page.
  EXPECT_EQ(heaptally::probe_checked(second + 16).marks, heaptally::GuardProbe::kUnreadable);
}

}  // namespace
