// The process-wide tick rate and the file test.
#include <sys/stat.h>

#include <atomic>

#include "host/types.h"

namespace {
std::atomic<int> ticks_per_frame{160};
}

int GetTicksPerFrame() {
  return ticks_per_frame.load();
}

void SetTicksPerFrame(int ticks) {
  if (ticks >= 1) ticks_per_frame.store(ticks);
}

bool DoesFileExist(const char* path) {
  struct stat info {};
  return path != nullptr && ::stat(path, &info) == 0;
}
