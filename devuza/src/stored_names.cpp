#include "devuza/stored_names.h"

#include <algorithm>

namespace devuza {
namespace {

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

// Both code pages agree with ASCII (and so with UTF-8) below 0x80: most names
// need no conversion at all.
std::optional<std::string> StoredName(std::string_view utf8, wizard::CodePage code_page) {
  if (IsAscii(utf8)) return std::string(utf8);
  return wizard::Utf8ToCodePage(utf8, code_page);
}

std::optional<std::string> DiskName(std::string_view stored, wizard::CodePage code_page) {
  if (IsAscii(stored)) return std::string(stored);
  return wizard::CodePageToUtf8(stored, code_page);
}

std::string_view CodePageName(wizard::CodePage code_page) {
  return code_page == wizard::CodePage::kWindows1250 ? "Windows-1250" : "Windows-1252";
}

}  // namespace devuza
