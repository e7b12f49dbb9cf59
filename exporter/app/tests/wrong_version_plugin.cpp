// A library that looks like an export plug-in but is built for another host
// version: the program must refuse it.
#include "host/plugin.h"

extern "C" __attribute__((visibility("default"))) unsigned long LibVersion() {
  return 0x1234;
}

extern "C" __attribute__((visibility("default"))) ClassDesc* LibClassDesc(int) {
  return nullptr;
}
