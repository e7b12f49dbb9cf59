// Case folding of names by ASCII rules: only 'A' to 'Z' change. Unlike
// std::tolower it does not depend on the locale and takes any char, so
// names in UTF-8 or any other encoding pass through unchanged.
#pragma once

#include <string>
#include <string_view>

namespace ascii {

constexpr char lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = lower(c);
  return out;
}

constexpr bool equal_no_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace ascii
