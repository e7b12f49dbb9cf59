#include "debug_output.h"

#include <cstdio>

namespace heaptally {

void debug_output(const char* text) {
  std::fputs(text, stderr);
}

}  // namespace heaptally
