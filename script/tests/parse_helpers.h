// Shared helpers of the parser tests: parse a text and collect what came out.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model3da/crash_log.h"
#include "model3da/platform.h"
#include "script/ctcparse.h"
#include "script/statement_tree.h"

namespace script_test {

// Keeps the crash log off the disk and the terminal for the whole test run.
inline void quiet_crash_log() {
  static const bool done = [] {
    platform::set_debugger_output_sink([](const char*) {});
    fs::crash_log_start_without_file();
    return true;
  }();
  (void)done;
}

struct ErrorCollector : CTCParseErrorListener {
  void on_error(const char* text) override { errors.emplace_back(text); }
  std::vector<std::string> errors;
};

struct Parsed {
  std::unique_ptr<CTCPARSE_KEYWORD> statements;
  std::vector<std::string> errors;
  bool error = false;
  std::string tree;
  int line = 0;
};

inline Parsed parse_parser(CTCParse& parser) {
  quiet_crash_log();
  ErrorCollector collector;
  parser.set_error_listener(&collector);
  Parsed parsed;
  parsed.statements = parser.parse(&parsed.error);
  parsed.errors = collector.errors;
  parsed.tree = format_statement_tree(parsed.statements.get());
  parsed.line = parser.line();
  return parsed;
}

inline Parsed parse_text(const std::string& text, const char* path = "test.scr") {
  CTCParse parser(path, text);
  return parse_parser(parser);
}

// The only error of a parse that must fail.
inline std::string failure_of(const std::string& text) {
  const Parsed parsed = parse_text(text);
  if (!parsed.error) return "<no error>";
  if (parsed.errors.size() != 1) return "<" + std::to_string(parsed.errors.size()) + " errors>";
  return parsed.errors[0];
}

}  // namespace script_test
