#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "resources.h"

namespace {

namespace stdfs = std::filesystem;

std::string ReadFile(const stdfs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The build ran the generator once to make the embedded assets; a second run
// now must give the very same bytes.
TEST(asset_generator, gives_the_embedded_bytes_again) {
  const stdfs::path out =
      stdfs::temp_directory_path() / ("gm_assetgen_test_" + std::to_string(::getpid()));
  const std::string command = std::string("\"") + GM_ASSETGEN + "\" \"" + out.string() + "\"";
  ASSERT_EQ(std::system(command.c_str()), 0);
  int compared = 0;
  for (const auto& [folder, type] : {std::pair{"meshes", "MESHES"},
                                     {"textures", "TEXTURES"},
                                     {"materials", "MATERIALS"},
                                     {"skins", "SKINS"}}) {
    for (const auto& entry : stdfs::directory_iterator(out / folder)) {
      SCOPED_TRACE(entry.path().string());
      const std::string generated = ReadFile(entry.path());
      std::string embedded = assets_test::Resource(type, entry.path().stem().string());
      if (std::string(type) == "MATERIALS" || std::string(type) == "SKINS") {
        // Texts are stored padded to four bytes with NULs.
        ASSERT_GE(embedded.size(), generated.size());
        EXPECT_LT(embedded.size() - generated.size(), 4u);
        EXPECT_EQ(embedded.find_first_not_of('\0', generated.size()), std::string::npos);
        embedded.resize(generated.size());
      }
      EXPECT_TRUE(generated == embedded);
      ++compared;
    }
  }
  EXPECT_EQ(compared, 56 + 17 + 34 + 4);
  std::error_code ignored;
  stdfs::remove_all(out, ignored);
}

}  // namespace
