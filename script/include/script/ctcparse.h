// CTCParse: the parser of the engine's script language. A script declares its
// keywords with typedef lines ("!name(i,f,s)"), calls them with values
// ("name(1, 2.5, "text")") optionally followed by a nested block in braces,
// defines constants ("$name(f, 20)"), reads variables from the host through
// callbacks ("%name") and includes other scripts ("!include(...)",
// "!include_if_int(...)", "!include_if_float(...)").
//
// Files are read through the engine's file system; syntax errors are reported
// once through report_error(), which by default writes them to the crash log.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "script/ctcparse_keyword.h"
#include "script/ctcparse_param.h"

// Receives the text of every error a parser reports.
class CTCParseErrorListener {
 public:
  virtual ~CTCParseErrorListener() = default;
  virtual void on_error(const char* text) = 0;
};

class CTCParse {
 public:
  // Variable callbacks: given a variable name, write its value and return true
  // when the variable exists.
  using IntVariableCallback = std::function<bool(std::int32_t* value, const char* name)>;
  using FloatVariableCallback = std::function<bool(float* value, const char* name)>;
  using StringVariableCallback = std::function<bool(std::string* value, const char* name)>;

  // Includes nest at most this deep; a deeper include is a syntax error.
  static constexpr int kMaxIncludeDepth = 16;
  // Blocks (counted across includes) nest at most this deep.
  static constexpr int kMaxBlockDepth = 200;
  // Larger files are not read.
  static constexpr long kMaxFileSize = 256L << 20;

  // Reads the whole file at `path` through the engine's file system. A file
  // that cannot be read gives the warning "WARNING [CTCParse] cannot open
  // <path>" on the message output and leaves the parser without data.
  explicit CTCParse(const char* path);
  // Takes the script text from memory; `path` names it in messages and is
  // the base of its includes.
  CTCParse(const char* path, std::string_view text);
  virtual ~CTCParse();

  CTCParse(const CTCParse&) = delete;
  CTCParse& operator=(const CTCParse&) = delete;

  // Reports one error: formats the message, passes it to the error listener
  // when one is set, then writes to the crash log "[CTCParse] ", the message,
  // ": in file '<path>' in line <n>", the current source line and a blank
  // line.
  virtual void report_error(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // Parses the whole script once. Returns the top-level statements (or none)
  // and sets `*error` (when not nullptr) when an error was reported; on error the statements
  // built so far are returned. "its not c!" is reported without setting the
  // flag. A parser without data gives none and no error.
  std::unique_ptr<CTCPARSE_KEYWORD> parse(bool* error);

  bool has_data() const { return has_data_; }
  const std::string& path() const { return path_; }
  // The folder part of the path, up to and including its last "\" (or else
  // its last "/"); "" when it has neither.
  const std::string& directory() const { return directory_; }
  // The current line number, starting at 1.
  int line() const;

  // The newest constant of that name (without regard to case), or nullptr.
  const CTCPARSE_KEYWORD* find_constant(std::string_view name) const;

  // Errors inside included files are reported by the parsers of those files
  // (to the crash log), not to this listener; the include then fails here.
  void set_error_listener(CTCParseErrorListener* listener) { listener_ = listener; }
  void set_int_variable_callback(IntVariableCallback callback) {
    int_variable_ = std::move(callback);
  }
  void set_float_variable_callback(FloatVariableCallback callback) {
    float_variable_ = std::move(callback);
  }
  void set_string_variable_callback(StringVariableCallback callback) {
    string_variable_ = std::move(callback);
  }

 private:
  struct Typedef {
    std::string name;
    std::vector<int> types;
  };
  using Typedefs = std::vector<Typedef>;  // back = newest
  using Constants = std::unordered_map<std::string, std::unique_ptr<CTCPARSE_KEYWORD>>;

  // The statement list being built, with its last element for appending.
  struct StatementList {
    std::unique_ptr<CTCPARSE_KEYWORD> head;
    CTCPARSE_KEYWORD* tail = nullptr;
    void append(std::unique_ptr<CTCPARSE_KEYWORD> chain);
  };

  enum class Read { kOk, kFailed, kReported };

  void read_file();
  bool parse_top_level(StatementList& list, int depth);
  bool parse_statements(StatementList& list, int depth, bool top_level);
  bool parse_call(StatementList& list, int depth);
  bool parse_constant();
  bool parse_directive(StatementList& list, int depth);
  bool parse_typedef(std::string name);
  bool parse_include(StatementList& list, int depth);
  bool parse_conditional_include(StatementList& list, int depth, bool floats);
  bool include_file(const std::string& relative, StatementList& list, int depth);

  // Value readers: on a character that cannot start a value they report
  // `not_a_value`; every other failure reports its own message.
  bool read_int(std::int32_t* value, std::string* variable, const char* not_a_value);
  bool read_float(float* value, std::string* variable, const char* not_a_value);
  bool read_string(std::string* value, std::string* variable, const char* not_a_value);
  // Reads the name of a `%variable` (the read position is past the '%') and
  // asks `callback` for its value; `kind` ("int", "float", "string") words the
  // error when the callback does not know the name.
  template <typename T, typename Callback>
  bool read_variable(T* value, std::string* variable, const char* not_a_value,
                     const Callback& callback, const char* kind);
  std::unique_ptr<CTCPARSE_PARAM> read_param(int type);
  // Reads a number's text: digits, and for floats an optional point and
  // more digits; reports a missing number or a wrong character after it.
  bool read_number(std::string_view* text, bool floats);
  const CTCPARSE_PARAM* constant_value(std::string_view word, int type);

  // Reads a word at the read position into `word` (no copy).
  Read read_word(std::string_view* word);
  // Reads a word and lower-cases it into `out`.
  Read read_lower_word(std::string* out);
  void skip_blank();
  bool take(char c);
  std::string current_line_text() const;

  std::string path_;
  std::string directory_;
  std::string data_;
  bool has_data_ = false;
  const char* begin_ = nullptr;
  const char* cur_ = nullptr;
  const char* end_ = nullptr;
  std::string literal_;                      // buffer for building string literals
  mutable const char* line_mark_ = nullptr;  // line() counted up to here
  mutable int line_at_mark_ = 1;

  Constants constants_;
  Typedefs* typedefs_ = nullptr;  // set while parsing
  int include_depth_ = 0;

  CTCParseErrorListener* listener_ = nullptr;
  IntVariableCallback int_variable_;
  FloatVariableCallback float_variable_;
  StringVariableCallback string_variable_;
};
