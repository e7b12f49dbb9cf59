#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "filesystem/filesystem.h"
#include "test_support/files.h"
#include "test_support/scratch_folder.h"

namespace {

namespace stdfs = std::filesystem;

class filesystem_library : public ::testing::Test {
 protected:
  void SetUp() override { FS_init(); }
  void TearDown() override { FS_init(); }
  void write(const std::string& relative, const std::string& text) {
    gm_test::WriteFile(root_ / relative, text);
  }
  std::string path(const std::string& relative) const { return (root_ / relative).string(); }
  std::string read_all(const char* name) {
    const int handle = FS_open(name, 0);
    if (handle == 0) return "<not found>";
    std::string text(static_cast<std::size_t>(FS_length(handle)), '\0');
    const long got = FS_read(handle, text.data(), static_cast<long>(text.size()));
    FS_close(handle);
    return got == static_cast<long>(text.size()) ? text : "<short read>";
  }
  gm_test::ScratchFolder scratch_;
  const stdfs::path root_ = scratch_.path();
};

TEST_F(filesystem_library, searches_sources_in_the_order_added) {
  write("first/shared.scr", "first");
  write("second/shared.scr", "second");
  write("second/only.scr", "only second");
  EXPECT_EQ(FS_add_source(path("first").c_str(), 0, 0, 0), 1);
  EXPECT_EQ(FS_add_source(path("second").c_str(), 0, 0, 0), 1);
  EXPECT_EQ(read_all("shared.scr"), "first");
  EXPECT_EQ(read_all("only.scr"), "only second");
  EXPECT_EQ(FS_exists("missing.scr"), 0);
}

TEST_F(filesystem_library, refuses_missing_source_and_forgets_sources_on_init) {
  write("src/a.txt", "a");
  EXPECT_EQ(FS_add_source(path("nowhere").c_str(), 0, 0, 0), 0);
  EXPECT_EQ(FS_add_source(path("src/a.txt").c_str(), 0, 0, 0), 0);
  ASSERT_EQ(FS_add_source(path("src").c_str(), 0, 0, 0), 1);
  EXPECT_NE(FS_exists("a.txt"), 0);
  FS_init();
  EXPECT_EQ(FS_exists("a.txt"), 0);
}

TEST_F(filesystem_library, matches_names_without_regard_to_case_and_separator) {
  write("game/Data/Cars/cars.scr", "cars");
  ASSERT_EQ(FS_add_source(path("game").c_str(), 0, 0, 0), 1);
  EXPECT_EQ(read_all("DATA\\CARS\\Cars.SCR"), "cars");
  EXPECT_EQ(read_all("data/./menu/../cars/CARS.scr"), "cars");
  EXPECT_NE(FS_exists(".\\Data\\Cars\\cars.scr"), 0);
}

TEST_F(filesystem_library, finds_only_regular_files) {
  write("src/folder/inner.txt", "x");
  ASSERT_EQ(FS_add_source(path("src").c_str(), 0, 0, 0), 1);
  EXPECT_EQ(FS_exists("folder"), 0);
  EXPECT_EQ(FS_open("folder", 0), 0);
  EXPECT_EQ(FS_exists(""), 0);
  EXPECT_EQ(FS_open("/dev/null", 0), 0);
}

TEST_F(filesystem_library, opens_absolute_paths_without_sources) {
  write("abs/File.txt", "absolute");
  EXPECT_EQ(read_all(path("abs/file.TXT").c_str()), "absolute");
}

TEST_F(filesystem_library, refuses_other_modes_and_closed_handles) {
  write("src/a.txt", "abc");
  ASSERT_EQ(FS_add_source(path("src").c_str(), 0, 0, 0), 1);
  EXPECT_EQ(FS_open("a.txt", 1), 0);

  const int handle = FS_open("a.txt", 0);
  ASSERT_NE(handle, 0);
  char buffer[8] = {};
  EXPECT_EQ(FS_length(handle), 3);
  EXPECT_EQ(FS_read(handle, buffer, 2), 2);
  EXPECT_EQ(FS_read(handle, buffer + 2, 8), 1);
  EXPECT_EQ(FS_read(handle, buffer, 8), 0);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(FS_read(handle, buffer, -1), -1);
  FS_close(handle);
  FS_close(handle);
  EXPECT_EQ(FS_length(handle), -1);
  EXPECT_EQ(FS_read(handle, buffer, 1), -1);
  EXPECT_EQ(FS_length(0), -1);
  EXPECT_EQ(FS_length(-5), -1);

  const int again = FS_open("a.txt", 0);
  EXPECT_EQ(again, handle) << "a closed handle is reused";
  FS_close(again);
}

}  // namespace
