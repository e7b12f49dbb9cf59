// The debugger output: where Heaptally's reports go when no file takes them.
// Here it is standard error.
#pragma once

namespace heaptally {

// Writes text, as given, to the debugger output.
void debug_output(const char* text);

}  // namespace heaptally
