// Visibility of the host layer's classes and functions: they are shared by
// the host program and every plug-in it loads, so they stay visible even
// when a plug-in hides its own symbols.
#pragma once

#define HOSTAPI __attribute__((visibility("default")))
