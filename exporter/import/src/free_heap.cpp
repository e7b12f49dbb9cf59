#include "free_heap.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace scene_import {

void return_free_heap() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

}  // namespace scene_import
