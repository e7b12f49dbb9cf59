// The INI file reader and writer, with the semantics of the game platform's
// profile functions: sections and keys are matched without regard to case,
// the first match wins, values are trimmed of blanks and a pair of enclosing
// quotes, lines beginning with ';' are comments, every other line is kept,
// and lines end in CR LF. Files are bytes; nothing is converted, but a UTF-8
// byte-order mark at the start, as some editors save one, is skipped (and not
// written back).
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace wizard {

// A value read from an INI file is cut to this many characters.
inline constexpr std::size_t kMaxINIValueLength = 254;

// Returns the value of `key` in `section` of the INI text, untruncated;
// nullopt when the section or key is missing. Sections of the same name are
// searched in file order; the first matching key wins.
std::optional<std::string> FindINIValue(std::string_view ini_text, std::string_view section,
                                        std::string_view key);

// Returns every key of the sections named `section` with its value (trimmed,
// unquoted, untruncated), keys upper-cased; for a key that occurs more than
// once the first wins. Reads the text once, for callers that need many keys.
std::map<std::string, std::string> FindINISection(std::string_view ini_text,
                                                  std::string_view section);

// Returns the INI text with `key` of `section` set to `value`: the first
// matching key line is rewritten as "key=value" (keeping the key's spelling);
// a missing key is added after the last non-blank line of the first matching
// section; a missing section is appended at the end. All lines end in CR LF.
// Precondition: section, key and value are valid (IsValidINIEntry).
std::string SetINIValue(std::string_view ini_text, std::string_view section, std::string_view key,
                        std::string_view value);

// True when the three can be written without breaking the file: no CR or LF
// in any; a non-empty section without ']'; a non-empty key without '=' that
// does not begin with ';' or '['; neither with blanks at either end.
bool IsValidINIEntry(std::string_view section, std::string_view key, std::string_view value);

// Returns the value (at most kMaxINIValueLength characters) of `key` in
// `section` of the INI file at the game path `file`; empty when the file,
// section or key is missing or the file cannot be read.
std::string ReadINIValue(std::string_view section, std::string_view key, std::string_view file);

// Writes `key` = `value` into `section` of the INI file at `file`, creating
// the file when missing; true when written. The file is replaced atomically;
// a read-only or unreadable file, or an invalid entry, gives false and the
// file stays as it was.
bool WriteINIValue(std::string_view section, std::string_view key, std::string_view value,
                   std::string_view file);

}  // namespace wizard
