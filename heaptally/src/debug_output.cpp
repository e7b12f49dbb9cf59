#include "debug_output.h"

#include <cstdio>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace heaptally {

// Windows: OutputDebugStringA, which a debugger shows. Elsewhere standard
// error takes its place.
void debug_output(const char* text) {
#if defined(_WIN32)
  ::OutputDebugStringA(text);
#else
  std::fputs(text, stderr);
#endif
}

}  // namespace heaptally
