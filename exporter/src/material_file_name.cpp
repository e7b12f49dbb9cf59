// Material names checked as file names in the output folder.
#include "scenepress/material_file_name.h"

#include <fmt/format.h>

#include <array>

#include "filesystem/ascii_case.h"

namespace scenepress {
namespace {

// The names Windows opens as devices, whatever extension follows; the
// serial and parallel ports also with a superscript digit.
bool is_device_name(std::string_view stem) {
  static constexpr std::array<std::string_view, 6> kPlain = {"con", "prn",    "aux",
                                                             "nul", "conin$", "conout$"};
  const std::string lower = ascii::lower(stem);
  for (std::string_view device : kPlain) {
    if (lower == device) return true;
  }
  if (lower.size() < 4 || (lower.compare(0, 3, "com") != 0 && lower.compare(0, 3, "lpt") != 0))
    return false;
  const std::string_view number = std::string_view(lower).substr(3);
  return (number.size() == 1 && number[0] >= '1' && number[0] <= '9') || number == "\xC2\xB9" ||
         number == "\xC2\xB2" || number == "\xC2\xB3";
}

}  // namespace

std::string material_file_name_fault(std::string_view name) {
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F)
      return fmt::format("it holds the control character 0x{:02X}", unsigned(byte));
    if (std::string_view("/\\:<>\"|?*").find(c) != std::string_view::npos)
      return fmt::format("it holds '{}'", c);
  }
  // Windows takes the part before the first dot, without trailing blanks,
  // as the device name.
  std::string_view stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  if (is_device_name(stem)) return fmt::format("{} is a device name on Windows", stem);
  return "";
}

}  // namespace scenepress
