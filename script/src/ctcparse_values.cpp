// CTCParse: integer, float and string values, variables and constant lookups.
#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>

#include "ctcparse_chars.h"
#include "script/ctcparse.h"

using namespace ctcparse_chars;

namespace {

constexpr const char* kExpectedNumber = "expected number";
constexpr const char* kExpectedString = "expected string";

bool ends_number(char c) {
  return is_blank(c) || c == ')' || c == ',';
}

const char* type_word(int type) {
  switch (type) {
    case CTCPARSE_PARAM::kInt:
      return "int";
    case CTCPARSE_PARAM::kFloat:
      return "float";
    default:
      return "string";
  }
}

// The value of a run of decimal digits modulo 2^32, as a 32-bit accumulator
// that wraps would give it.
std::uint32_t low_32_bits(std::string_view digits) {
  std::uint32_t value = 0;
  for (const char digit : digits) value = value * 10u + static_cast<std::uint32_t>(digit - '0');
  return value;
}

// The float nearest to digits with an optional point and more digits, however
// many there are. A number too large for a float rounds to infinity, one
// below half its smallest step to zero.
float nearest_float(std::string_view number) {
  float value = 0.0f;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value,
                                      std::chars_format::fixed);
  if (result.ec == std::errc::result_out_of_range) {
    const std::string_view whole = number.substr(0, number.find('.'));
    return whole.find_first_not_of('0') != std::string_view::npos
               ? std::numeric_limits<float>::infinity()
               : 0.0f;
  }
  return value;
}

}  // namespace

// Digits, and for floats an optional point with more digits; the number must
// end in white space, ")" or ",". The text excludes a point with no digit
// after it.
bool CTCParse::read_number(std::string_view* text, bool floats) {
  if (cur_ >= end_ || !is_digit(*cur_)) {
    report_error("%s", kExpectedNumber);
    return false;
  }
  const char* start = cur_;
  while (cur_ < end_ && is_digit(*cur_)) ++cur_;
  const char* stop = cur_;
  if (floats && cur_ < end_ && *cur_ == '.') {
    ++cur_;
    while (cur_ < end_ && is_digit(*cur_)) ++cur_;
    if (cur_ - stop > 1) stop = cur_;
  }
  if (cur_ >= end_ || !ends_number(*cur_)) {
    report_error("%s", floats ? "invalid termination of float" : "invalid termination of integer");
    return false;
  }
  *text = std::string_view(start, static_cast<std::size_t>(stop - start));
  return true;
}

const CTCPARSE_PARAM* CTCParse::constant_value(std::string_view word, int type) {
  const std::string name(word);
  const CTCPARSE_KEYWORD* constant = find_constant(word);
  if (constant == nullptr || !constant->parameters) {
    report_error("unknown const name '%s'", name.c_str());
    return nullptr;
  }
  if (constant->parameters->type != type) {
    report_error("'%s' const type != '%s'", name.c_str(), type_word(type));
    return nullptr;
  }
  return constant->parameters.get();
}

template <typename T, typename Callback>
bool CTCParse::read_variable(T* value, std::string* variable, const char* not_a_value,
                             const Callback& callback, const char* kind) {
  std::string_view word;
  const Read read = read_word(&word);
  if (read != Read::kOk) {
    if (read == Read::kFailed) report_error("%s", not_a_value);
    return false;
  }
  const std::string name(word);
  if (!callback) {
    report_error("variable callback not specified: unable to read '%s' variable!\n", name.c_str());
    return false;
  }
  if (!callback(value, name.c_str())) {
    report_error("%s variable '%s' not found!\n", kind, name.c_str());
    return false;
  }
  *variable = name;
  return true;
}

bool CTCParse::read_int(std::int32_t* value, std::string* variable, const char* not_a_value) {
  if (cur_ >= end_) {
    report_error("%s", not_a_value);
    return false;
  }
  const char c = *cur_;
  std::string_view word;
  if (c == '%') {
    ++cur_;
    return read_variable(value, variable, not_a_value, int_variable_, "int");
  }
  if (c == '-' || is_digit(c)) {
    const bool negative = c == '-';
    if (negative) {
      ++cur_;
      skip_blank();
    }
    std::string_view digits;
    if (!read_number(&digits, false)) return false;
    std::uint32_t bits = low_32_bits(digits);
    if (negative) bits = 0u - bits;
    *value = static_cast<std::int32_t>(bits);
    return true;
  }
  const Read read = read_word(&word);
  if (read != Read::kOk) {
    if (read == Read::kFailed) report_error("%s", not_a_value);
    return false;
  }
  const CTCPARSE_PARAM* constant = constant_value(word, CTCPARSE_PARAM::kInt);
  if (constant == nullptr) return false;
  *value = static_cast<const CTCPARSE_INT*>(constant)->value;
  return true;
}

bool CTCParse::read_float(float* value, std::string* variable, const char* not_a_value) {
  if (cur_ >= end_) {
    report_error("%s", not_a_value);
    return false;
  }
  const char c = *cur_;
  std::string_view word;
  if (c == '%') {
    ++cur_;
    return read_variable(value, variable, not_a_value, float_variable_, "float");
  }
  if (c == '-' || is_digit(c)) {
    const bool negative = c == '-';
    if (negative) {
      ++cur_;
      skip_blank();
    }
    std::string_view number;
    if (!read_number(&number, true)) return false;
    const float magnitude = nearest_float(number);
    *value = negative ? -magnitude : magnitude;
    return true;
  }
  const Read read = read_word(&word);
  if (read != Read::kOk) {
    if (read == Read::kFailed) report_error("%s", not_a_value);
    return false;
  }
  const CTCPARSE_PARAM* constant = constant_value(word, CTCPARSE_PARAM::kFloat);
  if (constant == nullptr) return false;
  *value = static_cast<const CTCPARSE_FLOAT*>(constant)->value;
  return true;
}

bool CTCParse::read_string(std::string* value, std::string* variable, const char* not_a_value) {
  if (cur_ >= end_) {
    report_error("%s", not_a_value);
    return false;
  }
  std::string_view word;
  if (*cur_ == '%') {
    ++cur_;
    return read_variable(value, variable, not_a_value, string_variable_, "string");
  }
  if (*cur_ == '"') {
    ++cur_;
    literal_.clear();
    for (;;) {
      const char* run = cur_;
      while (cur_ < end_ && *cur_ != '"' && *cur_ != '\\') ++cur_;
      literal_.append(run, static_cast<std::size_t>(cur_ - run));
      if (cur_ >= end_) {
        report_error("expected ending \"");
        return false;
      }
      if (*cur_++ == '"') break;
      if (cur_ >= end_) {
        report_error("expected ending \"");
        return false;
      }
      const char escaped = *cur_++;
      if (escaped == 'n') {
        literal_ += "\r\n";
      } else if (escaped == 't') {
        literal_ += '\t';
      } else if (escaped == '\r' && cur_ < end_ && *cur_ == '\n') {
        ++cur_;
        literal_ += '\n';
      } else if (escaped == '\n' && cur_ < end_ && *cur_ == '\r') {
        ++cur_;
        literal_ += '\r';
      } else {
        literal_ += escaped;
      }
    }
    *value = literal_;
    return true;
  }
  const Read read = read_word(&word);
  if (read != Read::kOk) {
    if (read == Read::kFailed) report_error("%s", not_a_value);
    return false;
  }
  const CTCPARSE_PARAM* constant = constant_value(word, CTCPARSE_PARAM::kString);
  if (constant == nullptr) return false;
  *value = static_cast<const CTCPARSE_STRING*>(constant)->value;
  return true;
}

std::unique_ptr<CTCPARSE_PARAM> CTCParse::read_param(int type) {
  switch (type) {
    case CTCPARSE_PARAM::kInt: {
      auto param = std::make_unique<CTCPARSE_INT>();
      if (!read_int(&param->value, &param->name, kExpectedNumber)) return nullptr;
      return param;
    }
    case CTCPARSE_PARAM::kFloat: {
      auto param = std::make_unique<CTCPARSE_FLOAT>();
      if (!read_float(&param->value, &param->name, kExpectedNumber)) return nullptr;
      return param;
    }
    default: {
      auto param = std::make_unique<CTCPARSE_STRING>();
      if (!read_string(&param->value, &param->name, kExpectedString)) return nullptr;
      return param;
    }
  }
}
