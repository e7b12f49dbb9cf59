#include "console_quorvex_view.h"

#include <iostream>

namespace quorvex {

void PrintError(std::string_view text) {
  std::cerr << "quorvex: " << text << '\n';
}

void ConsoleQuorvexView::ShowErrorBox(std::string_view, std::string_view text) {
  ++errors_shown_;
  PrintError(text);
}

void ConsoleQuorvexView::ShowError(std::string_view text) {
  ++errors_shown_;
  PrintError(text);
}

bool ConsoleQuorvexView::AskQuestion(std::string_view, std::string_view text, QuestionButtons) {
  if (answer_yes_) return true;
  refused_question_ = text;
  return false;
}

}  // namespace quorvex
