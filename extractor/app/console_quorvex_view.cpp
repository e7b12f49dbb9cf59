#include "console_quorvex_view.h"

#include <cstdio>
#include <iostream>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace quorvex {

void PrintError(std::string_view text) {
  std::cerr << "quorvex: " << text << '\n';
}

ConsoleQuorvexView::ConsoleQuorvexView(bool answer_yes) : answer_yes_(answer_yes) {
#ifdef _WIN32
  terminal_ = _isatty(_fileno(stderr)) != 0;
#else
  terminal_ = ::isatty(STDERR_FILENO) != 0;
#endif
}

ConsoleQuorvexView::~ConsoleQuorvexView() {
  ClearLine();
}

void ConsoleQuorvexView::SetProgress(double value) {
  progress_ = value;
  Draw();
}

void ConsoleQuorvexView::SetActionText(std::string_view text) {
  action_ = text;
  Draw();
}

void ConsoleQuorvexView::Draw() {
  if (!terminal_) return;
  const int percent = static_cast<int>(progress_ / wizard::kProgressMax * 100 + 0.5);
  std::cerr << "\r\033[K[" << percent << "%] " << action_ << std::flush;
  drawn_ = true;
}

void ConsoleQuorvexView::ClearLine() {
  if (!drawn_) return;
  std::cerr << "\r\033[K" << std::flush;
  drawn_ = false;
}

void ConsoleQuorvexView::ShowErrorBox(std::string_view, std::string_view text) {
  ClearLine();
  ++errors_shown_;
  PrintError(text);
}

bool ConsoleQuorvexView::AskQuestion(std::string_view, std::string_view text,
                                     wizard::QuestionButtons) {
  if (answer_yes_) return true;
  refused_question_ = text;
  return false;
}

}  // namespace quorvex
