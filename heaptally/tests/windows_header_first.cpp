// <windows.h> before heaptally.h: both stay usable in one file.
#include <windows.h>

#include "heaptally.h"
#include "windows_header_order.h"

static_assert(MEM_COMMIT == 0x1000);

int32_t FreedAfterWindowsHeader() {
  void* block = MEM_ALLOC(16);
  const int32_t with_block = MEM_SIZE();
  MEM_FREE(block);
  return with_block - MEM_SIZE();
}
