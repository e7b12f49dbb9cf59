#include "test_support/scratch_folder.h"

#include <stdlib.h>

#include <stdexcept>

namespace gm_test {

namespace stdfs = std::filesystem;

ScratchFolder::ScratchFolder() {
  std::string pattern = (stdfs::temp_directory_path() / "gm_test.XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed for " + pattern);
  path_ = pattern;
}

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
