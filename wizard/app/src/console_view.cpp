#include "console_view.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>

namespace carwright {

namespace {

constexpr auto kDrawInterval = std::chrono::milliseconds(200);
constexpr int kBarWidth = 30;
constexpr std::size_t kMaxActionWidth = 40;

}  // namespace

ConsoleView::ConsoleView() : terminal_(::isatty(STDERR_FILENO) == 1) {}

ConsoleView::~ConsoleView() {
  if (drawn_) {
    Draw(true);
    std::cerr << '\n';
  }
}

void ConsoleView::SetProgress(double value) {
  progress_ = value;
  Draw(false);
}

void ConsoleView::SetActionText(std::string_view text) {
  action_ = text;
  Draw(false);
}

void ConsoleView::ShowErrorBox(std::string_view /*title*/, std::string_view text) {
  ClearLine();
  std::cerr << "carwright: error: " << text << '\n';
}

void ConsoleView::ClearLine() {
  if (!drawn_) return;
  std::cerr << "\r\033[K";
  drawn_ = false;
}

void ConsoleView::Draw(bool force) {
  if (!terminal_) return;
  const auto now = std::chrono::steady_clock::now();
  if (!force && drawn_ && now - last_draw_ < kDrawInterval) return;
  last_draw_ = now;
  const int filled = static_cast<int>(progress_ / wizard::kProgressMax * kBarWidth + 0.5);
  std::string line = "\r[";
  for (int i = 0; i < kBarWidth; ++i) line += i < filled ? '#' : ' ';
  line += "] ";
  char percent[8];
  std::snprintf(percent, sizeof percent, "%3d%% ",
                static_cast<int>(progress_ / wizard::kProgressMax * 100 + 0.5));
  line += percent;
  line += action_.size() > kMaxActionWidth ? action_.substr(0, kMaxActionWidth) : action_;
  line += "\033[K";
  std::cerr << line << std::flush;
  drawn_ = true;
}

}  // namespace carwright
