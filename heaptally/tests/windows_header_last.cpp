// heaptally.h before <windows.h>: both stay usable in one file.
#include "heaptally.h"

#include <windows.h>

#include "windows_header_order.h"

static_assert(MEM_COMMIT == 0x1000);

int32_t FreedBeforeWindowsHeader() {
  void* block = MEM_ALLOC(16);
  const int32_t with_block = MEM_SIZE();
  MEM_FREE(block);
  return with_block - MEM_SIZE();
}
