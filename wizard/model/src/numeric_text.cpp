// Numeric test and locale-independent reading of the advanced window's numbers.
#include "model/numeric_text.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <string>

namespace wizard {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Skips the digits at `pos`; returns how many there were.
std::size_t SkipDigits(std::string_view text, std::size_t& pos) {
  const std::size_t start = pos;
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  return pos - start;
}

// Skips an exponent at `pos` ("e", optional sign, digits) when one is there.
bool SkipExponent(std::string_view text, std::size_t& pos) {
  if (pos >= text.size() || (text[pos] != 'e' && text[pos] != 'E')) return false;
  std::size_t at = pos + 1;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
  if (SkipDigits(text, at) == 0) return false;
  pos = at;
  return true;
}

}  // namespace

bool IsNumericText(std::string_view text, char decimal_separator) {
  std::size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  std::size_t digits = SkipDigits(text, pos);
  if (pos < text.size() && text[pos] == decimal_separator) {
    ++pos;
    digits += SkipDigits(text, pos);
  }
  if (digits == 0) return false;
  SkipExponent(text, pos);
  return pos == text.size();
}

double RoundHalfToEven(double value) {
  const double floor = std::floor(value);
  const double fraction = value - floor;
  if (fraction < 0.5) return floor;
  if (fraction > 0.5) return floor + 1.0;
  return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

std::optional<double> ReadLeadingNumber(std::string_view text) {
  std::size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  const std::size_t start = pos;
  std::size_t digits = SkipDigits(text, pos);
  if (pos < text.size() && text[pos] == '.') {
    ++pos;
    digits += SkipDigits(text, pos);
  }
  if (digits == 0) return std::nullopt;
  SkipExponent(text, pos);

  // from_chars reads the C format whatever the locale; it wants no "+" and a
  // digit before the point.
  std::string number(text.substr(start, pos - start));
  if (number.front() == '.') number.insert(number.begin(), '0');
  double value = 0.0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error == std::errc::result_out_of_range && number.find("e-") == std::string::npos &&
      number.find("E-") == std::string::npos) {
    return std::nullopt;  // too large for any field
  }
  if (error == std::errc::result_out_of_range)
    value = 0.0;  // too small to be anything but 0
  else if (error != std::errc() || !std::isfinite(value))
    return std::nullopt;
  return negative ? -value : value;
}

std::optional<std::int64_t> ReadWholeNumber(std::string_view text, std::int64_t min,
                                            std::int64_t max) {
  const std::optional<double> number = ReadLeadingNumber(text);
  if (!number) return std::nullopt;
  const double value = RoundHalfToEven(*number);
  if (value < static_cast<double>(min) || value > static_cast<double>(max)) return std::nullopt;
  return static_cast<std::int64_t>(value);
}

char LocaleDecimalSeparator() {
  const std::lconv* conv = std::localeconv();
  if (conv == nullptr || conv->decimal_point == nullptr || conv->decimal_point[0] == '\0') {
    return '.';
  }
  return conv->decimal_point[0];
}

}  // namespace wizard
