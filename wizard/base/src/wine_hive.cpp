// Reading values from a Wine prefix's registry hive text.
#include "base/wine_hive.h"

#include <charconv>
#include <system_error>
#include <vector>

#include "base/game_paths.h"
#include "base/text_routines.h"

namespace wizard {
namespace {

namespace stdfs = std::filesystem;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// Decodes an escaped string that starts at `text[pos]` and ends at the first
// unescaped `terminator`; on success `pos` is left after the terminator.
// nullopt for a missing terminator, an unknown or incomplete escape, an
// unpaired surrogate, or more than `max_length` bytes of result.
std::optional<std::string> Unescape(std::string_view text, std::size_t& pos, char terminator,
                                    std::size_t max_length) {
  std::string out;
  char16_t high_surrogate = 0;
  while (pos < text.size()) {
    const char c = text[pos++];
    char32_t unit = 0;
    bool is_unit = false;  // an escaped UTF-16 code unit
    if (c == terminator) {
      if (high_surrogate != 0) return std::nullopt;
      return out;
    }
    if (c != '\\') {
      if (high_surrogate != 0) return std::nullopt;
      out += c;
    } else {
      if (pos >= text.size()) return std::nullopt;
      const char e = text[pos++];
      switch (e) {
        case '\\':
          out += '\\';
          break;
        case '"':
          out += '"';
          break;
        case '[':
          out += '[';
          break;
        case ']':
          out += ']';
          break;
        case 'a':
          out += '\a';
          break;
        case 'b':
          out += '\b';
          break;
        case 'e':
          out += '\x1b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'v':
          out += '\v';
          break;
        case 'x': {
          int digits = 0;
          while (digits < 4 && pos < text.size() && HexDigit(text[pos]) >= 0) {
            unit = unit * 16 + static_cast<char32_t>(HexDigit(text[pos++]));
            ++digits;
          }
          if (digits == 0) return std::nullopt;
          is_unit = true;
          break;
        }
        default:
          if (e >= '0' && e <= '7') {
            unit = static_cast<char32_t>(e - '0');
            for (int digits = 1;
                 digits < 3 && pos < text.size() && text[pos] >= '0' && text[pos] <= '7';
                 ++digits) {
              unit = unit * 8 + static_cast<char32_t>(text[pos++] - '0');
            }
            is_unit = true;
            break;
          }
          return std::nullopt;
      }
      if (!is_unit && high_surrogate != 0) return std::nullopt;
    }
    if (is_unit) {
      if (unit >= 0xD800 && unit <= 0xDBFF) {
        if (high_surrogate != 0) return std::nullopt;
        high_surrogate = static_cast<char16_t>(unit);
      } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
        if (high_surrogate == 0) return std::nullopt;
        AppendUtf8(out, 0x10000 + ((high_surrogate - 0xD800) << 10) + (unit - 0xDC00));
        high_surrogate = 0;
      } else {
        if (high_surrogate != 0) return std::nullopt;
        AppendUtf8(out, unit);
      }
    }
    if (out.size() > max_length) return std::nullopt;
  }
  return std::nullopt;  // no terminator: a truncated line
}

bool OnlyBlanks(std::string_view text) {
  return text.find_first_not_of(" \t") == std::string_view::npos;
}

// Parses the data of a value line (what follows '='); nullopt when malformed.
std::optional<WineHiveValue> ParseData(std::string_view data, std::size_t max_length) {
  WineHiveValue value;
  std::size_t pos = 0;
  if (data.starts_with("\"")) {
    value.type = kRegSz;
  } else if (data.starts_with("str(")) {
    const std::size_t close = data.find("):\"");
    if (close == std::string_view::npos) return std::nullopt;
    const std::string_view number = data.substr(4, close - 4);
    const auto [end, ec] =
        std::from_chars(number.data(), number.data() + number.size(), value.type, 16);
    if (ec != std::errc() || end != number.data() + number.size()) return std::nullopt;
    pos = close + 2;
  } else if (data.starts_with("dword:")) {
    const std::string_view rest = data.substr(6);
    const std::string_view digits = rest.substr(0, rest.find_first_of(" \t"));
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    std::uint32_t number = 0;
    const auto [end, ec] =
        std::from_chars(digits.data(), digits.data() + digits.size(), number, 16);
    if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    if (!OnlyBlanks(rest.substr(digits.size()))) return std::nullopt;
    value.type = kRegDword;
    value.text = std::to_string(number);
    return value;
  } else if (data.starts_with("hex")) {
    value.type = kRegBinary;
    if (data.starts_with("hex(")) {
      const std::size_t close = data.find("):");
      if (close == std::string_view::npos) return std::nullopt;
      const std::string_view number = data.substr(4, close - 4);
      const auto [end, ec] =
          std::from_chars(number.data(), number.data() + number.size(), value.type, 16);
      if (ec != std::errc() || end != number.data() + number.size()) return std::nullopt;
    } else if (!data.starts_with("hex:")) {
      return std::nullopt;
    }
    return value;
  } else {
    return std::nullopt;
  }
  ++pos;  // the opening quote
  std::optional<std::string> text = Unescape(data, pos, '"', max_length + 1);
  if (!text || !OnlyBlanks(data.substr(pos))) return std::nullopt;
  // A stored string may end in its NUL; any other NUL is not a text.
  if (!text->empty() && text->back() == '\0') text->pop_back();
  if (text->find('\0') != std::string::npos || text->size() > max_length) return std::nullopt;
  value.text = std::move(*text);
  return value;
}

}  // namespace

std::optional<WineHiveValue> FindWineHiveValue(std::string_view hive_text, std::string_view key,
                                               std::string_view value_name,
                                               std::size_t max_length) {
  bool in_key = false;
  // Key names are short; a longer bracket is not the key we look for.
  constexpr std::size_t kMaxKeyName = 4096;
  while (!hive_text.empty()) {
    const std::size_t end = hive_text.find('\n');
    std::string_view line = hive_text.substr(0, end);
    hive_text.remove_prefix(end == std::string_view::npos ? hive_text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    if (line.starts_with("[")) {
      std::size_t pos = 1;
      const std::optional<std::string> name = Unescape(line, pos, ']', kMaxKeyName);
      in_key = name && EqualsNoCase(*name, key);
      continue;
    }
    if (!in_key) continue;
    std::size_t pos = 0;
    std::optional<std::string> name;
    if (line.starts_with("@=")) {
      name = std::string();
      pos = 1;
    } else if (line.starts_with("\"")) {
      pos = 1;
      name = Unescape(line, pos, '"', kMaxKeyName);
      if (!name || pos >= line.size() || line[pos] != '=') continue;
    } else {
      continue;
    }
    if (!EqualsNoCase(*name, value_name)) continue;
    return ParseData(line.substr(pos + 1), max_length);
  }
  return std::nullopt;
}

std::optional<std::string> MapWineDrivePath(const stdfs::path& wine_prefix,
                                            std::string_view windows_path) {
  if (windows_path.size() < 2 || windows_path[1] != ':') return std::nullopt;
  const char drive = ToUpperAscii(windows_path.substr(0, 1))[0];
  if (drive < 'A' || drive > 'Z') return std::nullopt;
  const std::string_view rest = windows_path.substr(2);
  if (!rest.empty() && !IsPathSeparator(rest.front())) return std::nullopt;  // drive-relative

  const std::string link_name{static_cast<char>(drive - 'A' + 'a'), ':'};
  std::error_code ec;
  const stdfs::path root = stdfs::canonical(wine_prefix / "dosdevices" / link_name, ec);
  if (ec || !stdfs::is_directory(root, ec)) return std::nullopt;

  std::string native = root.string();
  if (!native.empty() && native.back() == '/') native.pop_back();  // the drive is "/"
  for (char c : rest) native.push_back(IsPathSeparator(c) ? '/' : c);
  if (native.empty()) native.push_back('/');
  return native;
}

}  // namespace wizard
