// The terminal progress bar.
#include "progress_bar.h"

#include <unistd.h>

#include <algorithm>

namespace scenepress_app {
namespace {

constexpr int kWidth = 30;
constexpr auto kRedraw = std::chrono::milliseconds(100);

}  // namespace

ProgressBar::ProgressBar(std::FILE* stream)
    : stream_(stream), terminal_(stream != nullptr && ::isatty(::fileno(stream)) != 0) {}

void ProgressBar::start(std::string title, int total) {
  title_ = std::move(title);
  total_ = std::max(total, 0);
  done_ = 0;
  running_ = true;
  last_draw_ = {};
  draw();
}

void ProgressBar::update(int done) {
  done_ = done;
  if (std::chrono::steady_clock::now() - last_draw_ >= kRedraw) draw();
}

void ProgressBar::draw() {
  if (!terminal_ || !running_) return;
  last_draw_ = std::chrono::steady_clock::now();
  const int shown = total_ > 0 ? std::clamp(done_, 0, total_) : done_;
  const int filled = total_ > 0 ? shown * kWidth / total_ : 0;
  std::string bar(size_t(filled), '#');
  bar.resize(kWidth, '-');
  std::fprintf(stream_, "\r%s%d/%d [%s]", title_.c_str(), shown, total_, bar.c_str());
  std::fflush(stream_);
  shown_ = true;
}

void ProgressBar::clear() {
  if (!shown_) return;
  std::fprintf(stream_, "\r\033[K");
  std::fflush(stream_);
  shown_ = false;
  last_draw_ = {};  // the next update redraws at once
}

void ProgressBar::end() {
  clear();
  running_ = false;
}

}  // namespace scenepress_app
