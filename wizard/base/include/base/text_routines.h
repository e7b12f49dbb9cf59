// Small text helpers: ASCII case folding (the one copy that Carwright's layers
// and the package layer use), the forbidden characters of script texts, and
// the trailing separator of a folder.
#pragma once

#include <string>
#include <string_view>

namespace wizard {

// The characters that texts written into the game's scripts may not hold
// (the double quote, then ! @ # $ % ^ & *, and the backslash): they would
// break quoted strings, the backslash as the script language's escape (a
// name ending in one swallows its closing quote).
inline constexpr std::string_view kForbiddenTextChars = "\"!@#$%^&*\\";

// Returns `path` with the native separator appended unless its last character
// is a separator already ('\' or '/'). The empty path becomes the bare
// separator (what a cancelled folder picker gives: callers test for empty
// before appending).
std::string AddBackslash(std::string_view path);

// True when some character of `text`, upper-cased (ASCII), occurs in `set`.
bool ContainsAnyOf(std::string_view set, std::string_view text);

// Returns `c` upper-cased when it is an ASCII letter; other bytes unchanged.
char UpperAscii(char c);

// Returns `text` with ASCII letters upper-cased; other bytes unchanged.
std::string ToUpperAscii(std::string_view text);

// True when `a` and `b` are equal without regard to ASCII case.
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace wizard
