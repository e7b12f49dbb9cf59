#include <gtest/gtest.h>

#include <string>

#include "filesystem/filesystem.h"

namespace {

std::string normalize(const std::string& path) {
  std::string out(path.size() + 1, '\xAA');
  FS_path_normalize(out.data(), path.c_str());
  return out.c_str();
}

std::string normalize_in_place(const std::string& path) {
  std::string buffer = path;
  FS_path_normalize(buffer.data(), buffer.c_str());
  return buffer.c_str();
}

TEST(path_normalize, folds_separators_dots_and_parents) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"Data\\Cars/AB1\\Cars.scr", "Data/Cars/AB1/Cars.scr"},
      {".\\a\\.\\b", "a/b"},
      {"a//b\\\\c/", "a/b/c"},
      {"Data\\Cars\\..\\Texts.scr", "Data/Texts.scr"},
      {"a/b/c/../../d", "a/d"},
      {"a/..", "."},
      {"./", "."},
      {"", ""},
      {"../a", "../a"},
      {"a/../../b", "../b"},
      {"../../a/../b", "../../b"},
      {"/../a", "/a"},
      {"\\x\\..\\..\\y", "/y"},
      {"C:\\Games\\..\\Data\\x.scr", "C:/Data/x.scr"},
      {"C:..\\x", "C:x"},
      {"..a/b..", "..a/b.."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(normalize(c.in), c.out) << c.in;
    EXPECT_EQ(normalize_in_place(c.in), c.out) << "in place: " << c.in;
  }
}

}  // namespace
