#include <gtest/gtest.h>

#include "windows_header_order.h"

// 16 bytes account for 16 + 54: MEM_FREE reached memFree in both files.
TEST(heaptally_windows_header, mem_free_works_whichever_header_comes_first) {
  EXPECT_EQ(FreedAfterWindowsHeader(), 70);
  EXPECT_EQ(FreedBeforeWindowsHeader(), 70);
}
