// The INI reader and writer.
#include "base/ini_file.h"

#include <vector>

#include "base/atomic_file.h"
#include "base/file_attributes.h"
#include "base/file_routines.h"
#include "base/game_paths.h"
#include "base/text_routines.h"

namespace wizard {
namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Splits the text into lines without their line ends (LF or CR LF); a UTF-8
// byte-order mark before the first line is not part of it.
std::vector<std::string_view> SplitLines(std::string_view text) {
  if (text.starts_with(kUtf8ByteOrderMark)) text.remove_prefix(kUtf8ByteOrderMark.size());
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

enum class LineKind { kOther, kSection, kKey };

struct ParsedLine {
  LineKind kind = LineKind::kOther;
  std::string_view name;   // section name or key, trimmed
  std::string_view value;  // key's value, trimmed
};

ParsedLine ParseLine(std::string_view raw) {
  ParsedLine parsed;
  const std::string_view line = Trim(raw);
  if (line.empty() || line.front() == ';') return parsed;
  if (line.front() == '[') {
    std::string_view name = line.substr(1);
    name = name.substr(0, name.find(']'));
    parsed.kind = LineKind::kSection;
    parsed.name = Trim(name);
    return parsed;
  }
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return parsed;
  parsed.kind = LineKind::kKey;
  parsed.name = Trim(line.substr(0, equals));
  parsed.value = Trim(line.substr(equals + 1));
  return parsed;
}

// Removes one pair of matching enclosing quotes, as the profile functions do.
std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != text.npos;
}

}  // namespace

std::optional<std::string> FindINIValue(std::string_view ini_text, std::string_view section,
                                        std::string_view key) {
  bool in_section = false;
  for (std::string_view raw : SplitLines(ini_text)) {
    const ParsedLine line = ParseLine(raw);
    if (line.kind == LineKind::kSection) {
      in_section = EqualsNoCase(line.name, Trim(section));
    } else if (in_section && line.kind == LineKind::kKey && EqualsNoCase(line.name, Trim(key))) {
      return std::string(Unquote(line.value));
    }
  }
  return std::nullopt;
}

std::map<std::string, std::string> FindINISection(std::string_view ini_text,
                                                  std::string_view section) {
  std::map<std::string, std::string> values;
  bool in_section = false;
  for (std::string_view raw : SplitLines(ini_text)) {
    const ParsedLine line = ParseLine(raw);
    if (line.kind == LineKind::kSection) {
      in_section = EqualsNoCase(line.name, Trim(section));
    } else if (in_section && line.kind == LineKind::kKey) {
      values.emplace(ToUpperAscii(line.name), std::string(Unquote(line.value)));
    }
  }
  return values;
}

std::string SetINIValue(std::string_view ini_text, std::string_view section, std::string_view key,
                        std::string_view value) {
  const std::vector<std::string_view> lines = SplitLines(ini_text);
  std::vector<std::string> out(lines.begin(), lines.end());
  const auto join = [&out] {
    std::string text;
    for (const std::string& line : out) text.append(line).append("\r\n");
    return text;
  };

  // The first matching key of any matching section is rewritten.
  bool in_section = false;
  std::size_t first_header = std::string::npos;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const ParsedLine line = ParseLine(lines[i]);
    if (line.kind == LineKind::kSection) {
      in_section = EqualsNoCase(line.name, section);
      if (in_section && first_header == std::string::npos) first_header = i;
    } else if (in_section && line.kind == LineKind::kKey && EqualsNoCase(line.name, key)) {
      out[i] = std::string(line.name) + "=" + std::string(value);
      return join();
    }
  }

  std::string new_line = std::string(key) + "=" + std::string(value);
  if (first_header != std::string::npos) {
    // Added after the last non-blank line of the first matching section.
    std::size_t insert_at = first_header + 1;
    for (std::size_t i = first_header + 1; i < lines.size(); ++i) {
      if (ParseLine(lines[i]).kind == LineKind::kSection) break;
      if (!Trim(lines[i]).empty()) insert_at = i + 1;
    }
    out.insert(out.begin() + static_cast<std::ptrdiff_t>(insert_at), std::move(new_line));
    return join();
  }

  while (!out.empty() && Trim(out.back()).empty()) out.pop_back();
  if (!out.empty()) out.emplace_back();
  out.push_back("[" + std::string(section) + "]");
  out.push_back(std::move(new_line));
  return join();
}

bool IsValidINIEntry(std::string_view section, std::string_view key, std::string_view value) {
  if (section.empty() || key.empty()) return false;
  if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) return false;
  if (Trim(section) != section || Trim(key) != key) return false;
  if (section.find(']') != section.npos) return false;
  if (key.find('=') != key.npos || key.front() == ';' || key.front() == '[') return false;
  return true;
}

std::string ReadINIValue(std::string_view section, std::string_view key, std::string_view file) {
  const ReadResult read = ReadFileChecked(file);
  if (read.status != ReadStatus::kOk) return {};
  std::string value = FindINIValue(read.text, section, key).value_or(std::string());
  if (value.size() > kMaxINIValueLength) value.resize(kMaxINIValueLength);
  return value;
}

bool WriteINIValue(std::string_view section, std::string_view key, std::string_view value,
                   std::string_view file) {
  if (!IsValidINIEntry(section, key, value)) return false;
  const ReadResult read = ReadFileChecked(file);
  if (read.status != ReadStatus::kOk && read.status != ReadStatus::kMissing) return false;
  if (read.status == ReadStatus::kOk && IsFileReadOnly(file)) return false;
  return ReplaceFileAtomically(ResolveGamePath(file), SetINIValue(read.text, section, key, value));
}

}  // namespace wizard
