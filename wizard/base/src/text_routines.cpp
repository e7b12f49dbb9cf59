// Small text helpers.
#include "base/text_routines.h"

#include "base/game_paths.h"

namespace wizard {
char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

std::string AddBackslash(std::string_view path) {
  std::string result(path);
  if (result.empty() || !IsPathSeparator(result.back())) result += kNativeSeparator;
  return result;
}

bool ContainsAnyOf(std::string_view set, std::string_view text) {
  for (char c : text) {
    if (set.find(UpperAscii(c)) != std::string_view::npos) return true;
  }
  return false;
}

std::string ToUpperAscii(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = UpperAscii(c);
  return result;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  }
  return true;
}

}  // namespace wizard
