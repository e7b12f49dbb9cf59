// The numeric rules of the advanced window's number boxes: a text counts as a
// number when the whole of it reads as one in the user's locale, and the value
// kept is then read independently of the locale, with "." as decimal point,
// and rounded to a whole number with halves going to the even neighbour.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace wizard {

// True when the whole `text` reads as a number written with `decimal_separator`:
// an optional sign, digits with at most one decimal separator (at least one
// digit in all), and an optional exponent ("e" or "E", an optional sign and at
// least one digit). The empty text, blanks and any other character make it
// not numeric.
bool IsNumericText(std::string_view text, char decimal_separator);

// Reads the leading number of `text` with "." as decimal point: sign, digits,
// fraction, exponent; it stops at the first character that cannot continue
// the number. nullopt when the text starts with no digit or the number is too
// large for a double.
std::optional<double> ReadLeadingNumber(std::string_view text);

// Reads the leading number of `text` as ReadLeadingNumber does and rounds it to a whole number,
// halves to the even neighbour. nullopt when the text starts with no digit, or when the rounded
// value lies outside [min, max] (a number too large for its field is no number for it).
std::optional<std::int64_t> ReadWholeNumber(std::string_view text, std::int64_t min,
                                            std::int64_t max);

// Rounds `value` to a whole number, halves to the even neighbour (2.5 → 2,
// 3.5 → 4, -2.5 → -2).
double RoundHalfToEven(double value);

// The decimal separator of the process's C locale (LC_NUMERIC).
char LocaleDecimalSeparator();

}  // namespace wizard
