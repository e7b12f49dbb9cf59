// CTCParse: statements, blocks, typedefs, constants and include directives.
#include <cstring>
#include <vector>

#include "ctcparse_chars.h"
#include "filesystem/filesystem.h"
#include "script/ctcparse.h"

using namespace ctcparse_chars;

namespace {

// The parameter type of a type letter, or -1.
int type_of_letter(char c) {
  switch (c) {
    case 'i':
    case 'I':
    case 'n':
    case 'N':
      return CTCPARSE_PARAM::kInt;
    case 'f':
    case 'F':
      return CTCPARSE_PARAM::kFloat;
    case 's':
    case 'S':
      return CTCPARSE_PARAM::kString;
    default:
      return -1;
  }
}

enum class Compare { kNone, kEqual, kNotEqual, kGreater, kLess, kGreaterEqual, kLessEqual };

template <typename T>
bool holds(Compare op, T a, T b) {
  switch (op) {
    case Compare::kEqual:
      return a == b;
    case Compare::kNotEqual:
      return a != b;
    case Compare::kGreater:
      return a > b;
    case Compare::kLess:
      return a < b;
    case Compare::kGreaterEqual:
      return a >= b;
    case Compare::kLessEqual:
      return a <= b;
    default:
      return false;
  }
}

}  // namespace

std::unique_ptr<CTCPARSE_KEYWORD> CTCParse::parse(bool* error) {
  bool ignored = false;
  if (error == nullptr) error = &ignored;
  *error = false;
  if (!has_data_) return nullptr;
  Typedefs typedefs;
  typedefs_ = &typedefs;
  StatementList list;
  const bool ok = parse_top_level(list, 0);
  typedefs_ = nullptr;
  *error = !ok;
  return std::move(list.head);
}

bool CTCParse::parse_top_level(StatementList& list, int depth) {
  StatementList own;
  const bool ok = parse_statements(own, depth, true);
  if (own.head) own.head->root = true;
  list.append(std::move(own.head));
  return ok;
}

bool CTCParse::parse_statements(StatementList& list, int depth, bool top_level) {
  for (;;) {
    skip_blank();
    if (cur_ >= end_) return true;  // a block still open at the end is accepted
    switch (*cur_) {
      case '$':
        ++cur_;
        if (!parse_constant()) return false;
        break;
      case '!':
        ++cur_;
        if (!parse_directive(list, depth)) return false;
        break;
      case '}':
        ++cur_;
        if (top_level) {
          report_error("unexpected closing curly bracket");
          return false;
        }
        return true;
      default:
        if (!parse_call(list, depth)) return false;
        break;
    }
  }
}

bool CTCParse::parse_call(StatementList& list, int depth) {
  auto keyword = std::make_unique<CTCPARSE_KEYWORD>();
  const Read read = read_lower_word(&keyword->name);
  if (read != Read::kOk) {
    if (read == Read::kFailed) report_error("error in call");
    return false;
  }
  const Typedef* declared = nullptr;
  for (auto it = typedefs_->rbegin(); it != typedefs_->rend(); ++it) {
    if (it->name == keyword->name) {
      declared = &*it;
      break;
    }
  }
  if (declared == nullptr) {
    report_error("unknown keyword %s", keyword->name.c_str());
    return false;
  }
  skip_blank();
  if (!take('(')) {
    report_error("opening bracket expected");
    return false;
  }
  std::unique_ptr<CTCPARSE_PARAM>* tail = &keyword->parameters;
  for (std::size_t i = 0; i < declared->types.size(); ++i) {
    skip_blank();
    if (i > 0) {
      if (!take(',')) {
        report_error("comma expected");
        return false;
      }
      skip_blank();
    }
    *tail = read_param(declared->types[i]);
    if (!*tail) return false;
    tail = &(*tail)->next;
  }
  skip_blank();
  if (!take(')')) {
    report_error("closing bracket expected");
    return false;
  }
  CTCPARSE_KEYWORD* call = keyword.get();
  list.append(std::move(keyword));

  skip_blank();
  if (take(';')) {
    report_error("its not c!");
    return true;
  }
  if (!take('{')) return true;
  if (depth + 1 > kMaxBlockDepth) {
    report_error("block nesting limit exceeded");
    return false;
  }
  const std::size_t scope = typedefs_->size();
  StatementList block;
  const bool ok = parse_statements(block, depth + 1, false);
  typedefs_->resize(scope);  // typedefs end with their block
  call->child = std::move(block.head);
  return ok;
}

bool CTCParse::parse_constant() {
  auto constant = std::make_unique<CTCPARSE_KEYWORD>();
  const Read read = read_lower_word(&constant->name);
  if (read != Read::kOk) {
    if (read == Read::kFailed) report_error("error in const def");
    return false;
  }
  skip_blank();
  if (!take('(')) {
    report_error("left bracked expected in const def");
    return false;
  }
  skip_blank();
  const int type = cur_ < end_ ? type_of_letter(*cur_) : -1;
  if (type < 0) {
    report_error("unexpected character in typedef");
    return false;
  }
  ++cur_;
  skip_blank();
  if (!take(',')) {
    report_error("unexpected character in typedef");
    return false;
  }
  skip_blank();
  constant->parameters = read_param(type);
  if (!constant->parameters) return false;
  skip_blank();
  if (!take(')')) {
    report_error("unexpected character in typedef");
    return false;
  }
  std::string key = constant->name;
  constants_[std::move(key)] = std::move(constant);
  return true;
}

bool CTCParse::parse_directive(StatementList& list, int depth) {
  std::string word;
  const Read read = read_lower_word(&word);
  if (read != Read::kOk) {
    if (read == Read::kFailed) report_error("error in typedef");
    return false;
  }
  if (word == "include") return parse_include(list, depth);
  if (word == "include_if_int") return parse_conditional_include(list, depth, false);
  if (word == "include_if_float") return parse_conditional_include(list, depth, true);
  return parse_typedef(std::move(word));
}

bool CTCParse::parse_typedef(std::string name) {
  skip_blank();
  if (!take('(')) {
    report_error("left bracked expected in typedef");
    return false;
  }
  Typedef declared{std::move(name), {}};
  skip_blank();
  if (!take(')')) {
    for (;;) {
      skip_blank();
      const int type = cur_ < end_ ? type_of_letter(*cur_) : -1;
      if (type < 0) {
        report_error("unexpected characted in typedef");
        return false;
      }
      ++cur_;
      declared.types.push_back(type);
      skip_blank();
      if (take(')')) break;
      if (!take(',')) {
        report_error("unexpected characted in typedef");
        return false;
      }
    }
  }
  typedefs_->push_back(std::move(declared));
  return true;
}

bool CTCParse::parse_include(StatementList& list, int depth) {
  skip_blank();
  if (!take('(')) {
    report_error("left bracked expected in include");
    return false;
  }
  skip_blank();
  std::string file;
  std::string variable;
  if (!read_string(&file, &variable, "expected string")) return false;
  skip_blank();
  if (!take(')')) {
    report_error("right bracked expected in include");
    return false;
  }
  return file.empty() || include_file(file, list, depth);
}

bool CTCParse::parse_conditional_include(StatementList& list, int depth, bool floats) {
  const char* left_bracket = floats ? "left bracked expected in 'include_if_float'"
                                    : "left bracked expected in 'include_if_int'";
  const char* value_expected =
      floats ? "int expected in 'include_if_float'" : "int expected in 'include_if_int'";
  const char* operator_expected =
      floats ? "operator expected in 'include_if_float'" : "operator expected in 'include_if_int'";
  const char* comma_expected =
      floats ? "comma expected in 'include_if_float'" : "comma expected in 'include_if_int'";
  const char* string_expected =
      floats ? "string expected in 'include_if_float'" : "string expected in 'include_if_int'";
  const char* right_bracket = floats ? "right bracked expected in 'include_if_float'"
                                     : "right bracked expected in 'include_if_int'";

  skip_blank();
  if (!take('(')) {
    report_error("%s", left_bracket);
    return false;
  }
  std::int32_t int_a = 0;
  std::int32_t int_b = 0;
  float float_a = 0.0f;
  float float_b = 0.0f;
  std::string variable;
  skip_blank();
  if (!(floats ? read_float(&float_a, &variable, value_expected)
               : read_int(&int_a, &variable, value_expected))) {
    return false;
  }

  // Operators are two characters with nothing between them.
  skip_blank();
  Compare op = Compare::kNone;
  if (end_ - cur_ >= 1) {
    const char first = cur_[0];
    const bool equals_next = end_ - cur_ >= 2 && cur_[1] == '=';
    if (first == '=' && equals_next) op = Compare::kEqual;
    if (first == '!' && equals_next) op = Compare::kNotEqual;
    if (first == '>') op = equals_next ? Compare::kGreaterEqual : Compare::kGreater;
    if (first == '<') op = equals_next ? Compare::kLessEqual : Compare::kLess;
    if (op != Compare::kNone) cur_ += equals_next ? 2 : 1;
  }
  if (op == Compare::kNone) {
    report_error("%s", operator_expected);
    return false;
  }

  skip_blank();
  if (!(floats ? read_float(&float_b, &variable, value_expected)
               : read_int(&int_b, &variable, value_expected))) {
    return false;
  }
  skip_blank();
  if (!take(',')) {
    report_error("%s", comma_expected);
    return false;
  }
  skip_blank();
  std::string file;
  if (!read_string(&file, &variable, string_expected)) return false;
  skip_blank();
  if (!take(')')) {
    report_error("%s", right_bracket);
    return false;
  }
  const bool wanted = floats ? holds(op, float_a, float_b) : holds(op, int_a, int_b);
  return !wanted || file.empty() || include_file(file, list, depth);
}

bool CTCParse::include_file(const std::string& relative, StatementList& list, int depth) {
  if (include_depth_ >= kMaxIncludeDepth) {
    report_error("include depth limit exceeded");
    return false;
  }
  std::string path = directory_ + relative;
  FS_path_normalize(path.data(), path.c_str());
  path.resize(std::strlen(path.c_str()));

  CTCParse included(path.c_str());
  included.include_depth_ = include_depth_ + 1;
  included.int_variable_ = int_variable_;
  included.float_variable_ = float_variable_;
  included.string_variable_ = string_variable_;
  included.constants_ = std::move(constants_);
  included.typedefs_ = typedefs_;

  bool ok = true;
  if (included.has_data_) ok = included.parse_top_level(list, depth);
  constants_ = std::move(included.constants_);
  return ok;
}
