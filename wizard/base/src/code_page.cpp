// Conversions between UTF-8 and the game's code page: through the Windows
// API on Windows, through iconv elsewhere.
#include "base/code_page.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <cerrno>
#include <climits>

namespace wizard {
namespace {

#if defined(_WIN32)
UINT WindowsCodePage(CodePage code_page) {
  return code_page == CodePage::kWindows1250 ? 1250 : 1252;
}

// The UTF-16 form of `in`; nullopt on bytes that are no text of `from`.
std::optional<std::wstring> ToWide(std::string_view in, UINT from) {
  if (in.empty()) return std::wstring();
  if (in.size() > INT_MAX) return std::nullopt;
  const int size = static_cast<int>(in.size());
  const int length = ::MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, in.data(), size, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  if (::MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, in.data(), size, wide.data(), length) !=
      length) {
    return std::nullopt;
  }
  // The bytes that Windows-1250 and -1252 leave undefined come back as C1
  // control characters, which no text of these code pages holds.
  if (from != CP_UTF8) {
    for (const wchar_t c : wide) {
      if (c >= 0x80 && c <= 0x9F) return std::nullopt;
    }
  }
  return wide;
}

// `wide` in the code page `to`; nullopt when a character has no byte there
// (no "best fit" stand-ins: such a character is refused).
std::optional<std::string> FromWide(const std::wstring& wide, UINT to) {
  if (wide.empty()) return std::string();
  const int size = static_cast<int>(wide.size());
  const DWORD flags = to == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL used_default = FALSE;
  BOOL* used = to == CP_UTF8 ? nullptr : &used_default;
  const int length = ::WideCharToMultiByte(to, flags, wide.data(), size, nullptr, 0, nullptr, used);
  if (length <= 0 || used_default) return std::nullopt;
  std::string out(static_cast<std::size_t>(length), '\0');
  if (::WideCharToMultiByte(to, flags, wide.data(), size, out.data(), length, nullptr, used) !=
          length ||
      used_default) {
    return std::nullopt;
  }
  return out;
}
#else

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

#endif

}  // namespace

CodePage GameCodePage(Language language) {
  return language == Language::kPolish ? CodePage::kWindows1250 : CodePage::kWindows1252;
}

#if defined(_WIN32)
std::optional<std::string> Utf8ToCodePage(std::string_view utf8, CodePage code_page) {
  const std::optional<std::wstring> wide = ToWide(utf8, CP_UTF8);
  if (!wide) return std::nullopt;
  return FromWide(*wide, WindowsCodePage(code_page));
}

std::optional<std::string> CodePageToUtf8(std::string_view bytes, CodePage code_page) {
  const std::optional<std::wstring> wide = ToWide(bytes, WindowsCodePage(code_page));
  if (!wide) return std::nullopt;
  return FromWide(*wide, CP_UTF8);
}
#else
std::optional<std::string> Utf8ToCodePage(std::string_view utf8, CodePage code_page) {
  return Convert(utf8, IconvName(code_page), "UTF-8");
}

std::optional<std::string> CodePageToUtf8(std::string_view bytes, CodePage code_page) {
  return Convert(bytes, "UTF-8", IconvName(code_page));
}
#endif

}  // namespace wizard
