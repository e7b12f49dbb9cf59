#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "heaptally.h"
#include "test_support.h"
#include "test_support/files.h"

namespace {

using heaptally_test::dump_text;
using heaptally_test::kEmptyDump;
using heaptally_test::StderrCapture;

// Frees its blocks when the test ends, so that every test starts empty.
class Blocks {
 public:
  ~Blocks() {
    for (void* block : blocks_) {
      memFree(block);
    }
  }
  void add(int32_t size, const char* file, int32_t line) {
    void* block = memAlloc(size, file, line);
    ASSERT_NE(block, nullptr);
    blocks_.push_back(block);
  }

 private:
  std::vector<void*> blocks_;
};

TEST(heaptally_dump, empty_list_gives_headings_and_zero_summary) {
  ASSERT_EQ(memSize(), 0);
  EXPECT_EQ(dump_text(), kEmptyDump);
}

TEST(heaptally_dump, blocks_of_one_file_and_line_share_a_summary_line) {
  Blocks blocks;
  blocks.add(1, "game.cpp", 42);
  blocks.add(5, "game.cpp", 42);
  EXPECT_EQ(dump_text(),
            "-- Mem dump --\nfile(line) size\n"
            "summary size: 120, count: 2\n"
            "\n-- Summary mem dump --\n\nsumsize count maxalloc file(line)\n"
            "120\t2\t62\tgame.cpp(42)\n");
}

TEST(heaptally_dump, keys_sort_as_byte_text) {
  Blocks blocks;
  blocks.add(0, "b.cpp", 9);
  blocks.add(0, "b.cpp", 10);
  blocks.add(8, "a.cpp", 3);
  blocks.add(4, "B.cpp", 1);
  EXPECT_EQ(dump_text(),
            "-- Mem dump --\nfile(line) size\n"
            "summary size: 228, count: 4\n"
            "\n-- Summary mem dump --\n\nsumsize count maxalloc file(line)\n"
            "58\t1\t58\tB.cpp(1)\n"
            "62\t1\t62\ta.cpp(3)\n"
            "54\t1\t54\tb.cpp(10)\n"
            "54\t1\t54\tb.cpp(9)\n");
}

TEST(heaptally_dump, equal_file_texts_at_different_addresses_share_a_line) {
  const std::string first = "shared.cpp";
  const std::string second = "shared.cpp";
  ASSERT_NE(first.c_str(), second.c_str());
  Blocks blocks;
  blocks.add(4, first.c_str(), 5);
  blocks.add(12, second.c_str(), 5);
  blocks.add(1, nullptr, -3);
  EXPECT_EQ(dump_text(),
            "-- Mem dump --\nfile(line) size\n"
            "summary size: 182, count: 3\n"
            "\n-- Summary mem dump --\n\nsumsize count maxalloc file(line)\n"
            "58\t1\t58\t(null)(-3)\n"
            "124\t2\t66\tshared.cpp(5)\n");
}

TEST(heaptally_dump, cuts_keys_to_the_key_buffer) {
  const std::string long_file(1500, 'x');
  Blocks blocks;
  blocks.add(0, long_file.c_str(), 123);
  const std::string text = dump_text();
  const std::string expected_line = "54\t1\t54\t" + std::string(1023, 'x') + "\n";
  ASSERT_GE(text.size(), expected_line.size());
  EXPECT_EQ(text.substr(text.size() - expected_line.size()), expected_line);
}

TEST(heaptally_dump, replaces_the_file_and_leaves_the_blocks_alone) {
  const std::string path = heaptally_test::temp_path("replaced.txt");
  {
    std::FILE* file = std::fopen(path.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs(std::string(5000, '#').c_str(), file);
    std::fclose(file);
  }
  Blocks blocks;
  blocks.add(1, "keep.cpp", 1);
  Heaptally(path.c_str());
  const std::string first = gm_test::ReadFile(path);
  EXPECT_EQ(first.find('#'), std::string::npos);
  EXPECT_NE(first.find("58\t1\t58\tkeep.cpp(1)\n"), std::string::npos);
  EXPECT_EQ(memSize(), 58);
  Heaptally(path.c_str());
  EXPECT_EQ(gm_test::ReadFile(path), first);
  std::remove(path.c_str());
}

TEST(heaptally_dump, without_a_path_goes_to_the_debugger_output) {
  Blocks blocks;
  blocks.add(1, "out.cpp", 8);
  StderrCapture capture;
  Heaptally(nullptr);
  EXPECT_EQ(capture.finish(),
            "-- Mem dump --\nfile(line) size\n"
            "summary size: 58, count: 1\n"
            "\n-- Summary mem dump --\n\nsumsize count maxalloc file(line)\n"
            "58\t1\t58\tout.cpp(8)\n");
}

TEST(heaptally_dump, unopenable_path_falls_back_to_the_debugger_output) {
  const std::string path = heaptally_test::temp_path("no_such_folder") + "/dump.txt";
  StderrCapture capture;
  Heaptally(path.c_str());
  const std::string text = capture.finish();
  EXPECT_FALSE(std::filesystem::exists(path));
  const std::string notice = "Heaptally: cannot open \"" + path + "\" for writing (";
  EXPECT_EQ(text.rfind(notice, 0), 0u) << text;
  ASSERT_GE(text.size(), std::string(kEmptyDump).size());
  EXPECT_EQ(text.substr(text.size() - std::string(kEmptyDump).size()), kEmptyDump);
}

}  // namespace
