#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "filesystem/filesystem.h"
#include "model3da/crash_log.h"
#include "model3da/message_output.h"
#include "model3da/platform.h"
#include "test_support/scratch_folder.h"

namespace {

namespace stdfs = std::filesystem;

std::string read_file(const stdfs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs each case in a scratch current folder that is also the engine file
// system's source, with a fixed clock and captured debugger output.
class crash_log : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = stdfs::current_path();
    stdfs::current_path(folder_);
    FS_init();
    FS_add_source(".", 0, 0, 0);
    fs::crash_log_close();
    platform::set_local_time_source([] { return platform::LocalTime{2005, 3, 1, 9, 5, 42}; });
    platform::set_debugger_output_sink([this](const char* text) { debugger_ += text; });
    fs::set_log_hook([this](const char* text) { hook_ += text; });
  }
  void TearDown() override {
    fs::crash_log_close();
    fs::set_log_hook({});
    platform::set_debugger_output_sink({});
    platform::set_local_time_source({});
    FS_init();
    stdfs::current_path(previous_);
  }
  stdfs::path previous_;
  gm_test::ScratchFolder scratch_;
  const stdfs::path folder_ = scratch_.path();
  std::string debugger_;
  std::string hook_;
};

TEST_F(crash_log, name_uses_local_date_and_24_hour_time) {
  EXPECT_EQ(fs::crash_log_name(), "logs/crash_2005-03-01_0905.log");
  EXPECT_TRUE(stdfs::is_directory("logs"));
  platform::set_local_time_source([] { return platform::LocalTime{2026, 12, 8, 21, 30, 0}; });
  EXPECT_EQ(fs::crash_log_name(), "logs/crash_2026-12-08_2130.log") << "an existing logs folder";
}

TEST_F(crash_log, without_debug_marker_each_run_overwrites_crash_log) {
  fs::crash_log_line("first run %d\n", 1);
  fs::crash_log_line("second line\n");
  EXPECT_EQ(fs::crash_log_file_name(), "crash.log");
  EXPECT_EQ(read_file("crash.log"), "first run 1\r\nsecond line\r\n");
  EXPECT_EQ(debugger_, "first run 1\r\nsecond line\r\n");
  EXPECT_EQ(hook_, debugger_);
  EXPECT_FALSE(stdfs::exists("logs"));

  fs::crash_log_close();
  fs::crash_log_line("next run\n");
  EXPECT_EQ(read_file("crash.log"), "next run\r\n");
}

TEST_F(crash_log, with_debug_marker_writes_under_logs) {
  std::ofstream("Debug.FNT") << "";
  fs::crash_log_line("marked\n");
  EXPECT_EQ(fs::crash_log_file_name(), "logs/crash_2005-03-01_0905.log");
  EXPECT_EQ(read_file("logs/crash_2005-03-01_0905.log"), "marked\r\n");
  EXPECT_FALSE(stdfs::exists("crash.log"));
}

TEST_F(crash_log, falls_back_to_crash_log_then_to_debugger_only) {
  std::ofstream("debug.fnt") << "";
  std::ofstream("logs") << "a file where the folder should be";
  fs::crash_log_line("fallback\n");
  EXPECT_EQ(fs::crash_log_file_name(), "crash.log");
  EXPECT_EQ(read_file("crash.log"), "fallback\r\n");

  fs::crash_log_close();
  stdfs::remove("crash.log");
  stdfs::create_directory("crash.log");
  fs::crash_log_line("nowhere to write\n");
  EXPECT_EQ(fs::crash_log_file_name(), "");
  EXPECT_EQ(debugger_, "fallback\r\nnowhere to write\r\n");
}

TEST_F(crash_log, started_without_file_writes_nothing_to_disk) {
  fs::crash_log_start_without_file();
  fs::crash_log_line("to the terminal\n");
  EXPECT_EQ(debugger_, "to the terminal\r\n");
  EXPECT_FALSE(stdfs::exists("crash.log"));
}

TEST(crash_log_line_ends, converts_lone_line_feeds_only) {
  EXPECT_EQ(fs::crash_log_convert_line_ends("a\nb\n"), "a\r\nb\r\n");
  EXPECT_EQ(fs::crash_log_convert_line_ends("a\r\nb\r\n"), "a\r\nb\r\n");
  EXPECT_EQ(fs::crash_log_convert_line_ends("\nstart"), "\nstart") << "no CR before the first byte";
  EXPECT_EQ(fs::crash_log_convert_line_ends("\n\n"), "\n\r\n");
  EXPECT_EQ(fs::crash_log_convert_line_ends("\r\r\n\n"), "\r\r\n\r\n");
}

TEST(crash_log_line_ends, stops_at_2046_output_bytes) {
  EXPECT_EQ(fs::crash_log_convert_line_ends(std::string(3000, 'a')), std::string(2046, 'a'));

  std::string lines;
  for (int i = 0; i < 600; ++i) lines += "ab\n";  // four bytes each once converted
  const std::string converted = fs::crash_log_convert_line_ends(lines);
  ASSERT_EQ(converted.size(), 2046u);
  EXPECT_EQ(converted.substr(2036), "ab\r\nab\r\nab");

  const std::string cut_between =
      fs::crash_log_convert_line_ends(std::string(2045, 'x') + "\nmore");
  EXPECT_EQ(cut_between.size(), 2046u);
  EXPECT_EQ(cut_between.back(), '\r') << "the line feed after the cap is dropped";
}

}  // namespace
