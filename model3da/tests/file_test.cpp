#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "filesystem/filesystem.h"
#include "model3da/file.h"
#include "model3da/local_file.h"
#include "model3da/message_output.h"
#include "test_support/scratch_folder.h"

namespace {

namespace stdfs = std::filesystem;

class file_object : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(folder_ / "Options.ini", std::ios::binary) << "hello";
    FS_init();
    FS_add_source(folder_.string().c_str(), 0, 0, 0);
    fs::set_log_hook([this](const char* text) { messages_ += text; });
  }
  void TearDown() override {
    fs::set_log_hook({});
    FS_init();
  }
  gm_test::ScratchFolder scratch_;
  const stdfs::path folder_ = scratch_.path();
  std::string messages_;
};

int code_of(const std::function<void()>& action) {
  try {
    action();
  } catch (const fs::file_exception& error) {
    return error.code();
  }
  return -1;
}

TEST_F(file_object, reads_a_file_found_through_the_engine_file_system) {
  fs::file file;
  file.open("options.INI", 0);
  ASSERT_EQ(file.length(), 5);
  char buffer[8] = {};
  EXPECT_EQ(file.read(buffer, 8), 5);
  EXPECT_STREQ(buffer, "hello");
  file.close();
  file.close();
  EXPECT_FALSE(file.is_open());
  EXPECT_TRUE(messages_.empty());
}

TEST_F(file_object, throws_open_length_and_read_codes) {
  fs::file file;
  EXPECT_EQ(code_of([&] { file.open("missing.ini", 0); }), 0);
  EXPECT_EQ(messages_, "WARNING [file] cannot open file missing.ini\n");
  EXPECT_EQ(code_of([&] { (void)file.length(); }), 3);
  char buffer[4];
  EXPECT_EQ(code_of([&] { (void)file.read(buffer, 4); }), 1);
  EXPECT_EQ(messages_, "WARNING [file] cannot open file missing.ini\n")
      << "length and read failures print nothing";
}

TEST_F(file_object, local_files_give_length_and_whole_contents_or_nothing) {
  EXPECT_EQ(fs::local_file_length((folder_ / "Options.ini").string()), 5u);
  EXPECT_EQ(fs::local_file_length((folder_ / "missing").string()), 0u);

  const auto block = fs::read_whole_local_file((folder_ / "Options.ini").string());
  ASSERT_TRUE(block.has_value());
  EXPECT_EQ(std::string(block->begin(), block->end()), "hello");
  EXPECT_FALSE(fs::read_whole_local_file((folder_ / "missing").string()).has_value());
  EXPECT_FALSE(fs::read_whole_local_file(folder_.string()).has_value()) << "a folder";
  EXPECT_FALSE(fs::read_whole_local_file((folder_ / "Options.ini").string(), 4).has_value())
      << "larger than the cap";
}

TEST_F(file_object, message_output_cuts_text_at_the_formatting_buffer) {
  const std::string long_text(3000, 'm');
  fs::message_output("%s", long_text.c_str());
  EXPECT_EQ(messages_, std::string(2047, 'm'));
}

}  // namespace
