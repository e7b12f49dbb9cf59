// Helpers shared by Heaptally's tests.
#pragma once

#include <string>

namespace heaptally_test {

// Catches the debugger output until finish() returns what was written: on
// Windows what OutputDebugStringA sends to a debug monitor, elsewhere
// standard error, sent to a temporary file.
class StderrCapture {
 public:
  StderrCapture();
  ~StderrCapture();
  StderrCapture(const StderrCapture&) = delete;
  StderrCapture& operator=(const StderrCapture&) = delete;

  std::string finish();

 private:
#if defined(_WIN32)
  struct Listener;
  Listener* listener_ = nullptr;
#else
  int saved_fd_ = -1;
  std::string path_;
#endif
};

// A fresh path in a scratch folder that lives as long as the test program;
// nothing exists there yet.
std::string temp_path(const std::string& name);

// The dump text with no live blocks.
inline constexpr const char* kEmptyDump =
    "-- Mem dump --\nfile(line) size\n"
    "summary size: 0, count: 0\n"
    "\n-- Summary mem dump --\n\nsumsize count maxalloc file(line)\n";

// Dumps the live blocks to a temporary file and returns the text.
std::string dump_text();

}  // namespace heaptally_test
