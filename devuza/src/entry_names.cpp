#include "devuza/entry_names.h"

#include <algorithm>
#include <array>

namespace devuza {
namespace {

constexpr std::array<std::string_view, 6> kPlainDevices = {"CON", "PRN",    "AUX",
                                                           "NUL", "CONIN$", "CONOUT$"};

// COM and LPT take a digit, or the superscripts 1, 2, 3 of the 8-bit code page.
bool IsPortSuffix(unsigned char c) {
  return (c >= '0' && c <= '9') || c == 0xB9 || c == 0xB2 || c == 0xB3;
}

}  // namespace

bool NameLess(std::string_view a, std::string_view b) {
  const std::string ua = UpperAscii(a);
  const std::string ub = UpperAscii(b);
  if (ua != ub) return ua < ub;
  return a < b;
}

bool IsDeviceName(std::string_view name) {
  // Windows ignores the extension and blanks before it: "nul.txt", "CON .x".
  std::string_view stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  const std::string upper = UpperAscii(stem);
  if (std::find(kPlainDevices.begin(), kPlainDevices.end(), upper) != kPlainDevices.end()) {
    return true;
  }
  return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
         IsPortSuffix(static_cast<unsigned char>(upper[3]));
}

std::string NameProblem(std::string_view name) {
  if (name.empty()) return "is empty";
  if (name == "." || name == "..") return "is \".\" or \"..\"";
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\') return "contains a path separator";
    if (c == ':') return "contains a colon (drive or stream)";
    if (byte < 0x20 || byte == 0x7F) return "contains a control character";
    if (c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*') {
      return "contains a character that Windows does not allow in names";
    }
  }
  if (name.back() == '.' || name.back() == ' ') return "ends with a dot or a blank";
  if (IsDeviceName(name)) return "is a device name";
  return {};
}

}  // namespace devuza
