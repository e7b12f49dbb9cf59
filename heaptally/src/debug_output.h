// The debugger output: where Heaptally's reports go when no file takes them.
// On Windows it is OutputDebugStringA; elsewhere standard error.
#pragma once

namespace heaptally {

// Writes text, as given, to the debugger output.
void debug_output(const char* text);

}  // namespace heaptally
