// A one-line progress bar on a terminal: "node 12/40 [#####-----]", redrawn
// at most ten times a second, and cleared before any other line is written.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

namespace scenepress_app {

class ProgressBar {
 public:
  // Shows nothing unless `stream` is a terminal.
  explicit ProgressBar(std::FILE* stream);

  void start(std::string title, int total);
  void update(int done);
  // Removes the bar from the terminal (another line may follow).
  void clear();
  void end();

 private:
  void draw();

  std::FILE* stream_;
  bool terminal_ = false;
  bool shown_ = false;
  bool running_ = false;
  std::string title_;
  int total_ = 0;
  int done_ = 0;
  std::chrono::steady_clock::time_point last_draw_{};
};

}  // namespace scenepress_app
