#include "test_support/scratch_folder.h"

#include <stdlib.h>

#include <random>
#include <stdexcept>

namespace gm_test {

namespace stdfs = std::filesystem;

#if defined(_WIN32)
// Windows has no mkdtemp: a folder with a random name that did not exist.
ScratchFolder::ScratchFolder() {
  static std::mt19937 random(std::random_device{}());
  const stdfs::path temp = stdfs::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    stdfs::path candidate = temp / ("gm_test." + std::to_string(random()));
    std::error_code ec;
    if (stdfs::create_directory(candidate, ec) && !ec) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a scratch folder in " + temp.string());
}
#else
ScratchFolder::ScratchFolder() {
  std::string pattern = (stdfs::temp_directory_path() / "gm_test.XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed for " + pattern);
  path_ = pattern;
}
#endif

ScratchFolder::~ScratchFolder() {
  std::error_code ec;
  // Give back write permission that a test took away, then remove everything.
  for (auto it = stdfs::recursive_directory_iterator(path_, ec);
       !ec && it != stdfs::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_symlink(ec)) continue;
    stdfs::permissions(it->path(), stdfs::perms::owner_all, stdfs::perm_options::add, ec);
  }
  stdfs::permissions(path_, stdfs::perms::owner_all, stdfs::perm_options::add, ec);
  stdfs::remove_all(path_, ec);
}

}  // namespace gm_test
