#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "resources.h"
#include "test_support/files.h"
#include "test_support/program_run.h"
#include "test_support/scratch_folder.h"

namespace {

namespace stdfs = std::filesystem;

// The build ran the generator once to make the embedded assets; a second run
// now must give the very same bytes.
TEST(asset_generator, gives_the_embedded_bytes_again) {
  const gm_test::ScratchFolder scratch;
  const stdfs::path out = scratch / "generated";
  ASSERT_EQ(gm_test::RunProgram(GM_ASSETGEN, {out.string()}).exit_code, 0);
  int compared = 0;
  for (const auto& [folder, type] : {std::pair{"meshes", "MESHES"},
                                     {"textures", "TEXTURES"},
                                     {"materials", "MATERIALS"},
                                     {"skins", "SKINS"}}) {
    for (const auto& entry : stdfs::directory_iterator(out / folder)) {
      SCOPED_TRACE(entry.path().string());
      const std::string generated = gm_test::ReadFile(entry.path());
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
}

}  // namespace
