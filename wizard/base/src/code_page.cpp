// Conversions between UTF-8 and the game's code page through iconv.
#include "base/code_page.h"

#include <iconv.h>

#include <cerrno>

namespace wizard {
namespace {

const char* IconvName(CodePage code_page) {
  return code_page == CodePage::kWindows1250 ? "WINDOWS-1250" : "WINDOWS-1252";
}

// Converts all of `in`; nullopt on any character that cannot be converted.
std::optional<std::string> Convert(std::string_view in, const char* to, const char* from) {
  const iconv_t cd = ::iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out;
  std::string input(in);
  char* in_ptr = input.data();
  std::size_t in_left = input.size();
  char buffer[1024];
  bool ok = true;
  while (in_left > 0) {
    char* out_ptr = buffer;
    std::size_t out_left = sizeof buffer;
    const std::size_t done = ::iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
    out.append(buffer, sizeof buffer - out_left);
    if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
      ok = false;  // EILSEQ: not representable or malformed; EINVAL: truncated input
      break;
    }
  }
  if (ok) {
    char* out_ptr = buffer;
    std::size_t out_left = sizeof buffer;
    ok = ::iconv(cd, nullptr, nullptr, &out_ptr, &out_left) != static_cast<std::size_t>(-1);
    out.append(buffer, sizeof buffer - out_left);
  }
  ::iconv_close(cd);
  if (!ok) return std::nullopt;
  return out;
}

}  // namespace

CodePage GameCodePage(Language language) {
  return language == Language::kPolish ? CodePage::kWindows1250 : CodePage::kWindows1252;
}

std::optional<std::string> Utf8ToCodePage(std::string_view utf8, CodePage code_page) {
  return Convert(utf8, IconvName(code_page), "UTF-8");
}

std::optional<std::string> CodePageToUtf8(std::string_view bytes, CodePage code_page) {
  return Convert(bytes, "UTF-8", IconvName(code_page));
}

}  // namespace wizard
