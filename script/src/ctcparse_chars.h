// Character classes of the script language (private to the parser).
#pragma once

namespace ctcparse_chars {

inline bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

inline bool is_word(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || is_digit(c) || c == '_';
}

inline bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

inline char lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace ctcparse_chars
