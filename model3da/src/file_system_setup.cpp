// Once-per-process set-up of the engine's file system.
#include "model3da/file_system_setup.h"

#include <mutex>

#include "filesystem/filesystem.h"

namespace fs {

void set_up_file_system() {
  static std::once_flag once;
  std::call_once(once, [] {
    FS_init();
    FS_add_source(".", 0, 0, 0);
  });
}

}  // namespace fs
