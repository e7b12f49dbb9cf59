// Two files that include heaptally.h and <windows.h> in the two orders (built
// with warnings as errors, so a redefined MEM_FREE fails the build). Each
// allocates 16 bytes with MEM_ALLOC, releases them with MEM_FREE and returns
// how much MEM_SIZE fell.
#pragma once

#include <cstdint>

int32_t FreedAfterWindowsHeader();
int32_t FreedBeforeWindowsHeader();
