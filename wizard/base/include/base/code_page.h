// The game's 8-bit code page: game files hold text as single bytes in it
// (Windows-1252, or Windows-1250 for a Polish game); the program works in
// UTF-8. Conversions use iconv and refuse what the target cannot hold.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/string_table.h"

namespace wizard {

enum class CodePage { kWindows1252, kWindows1250 };

// The code page of the game's texts for a language.
CodePage GameCodePage(Language language);

// Converts UTF-8 text to the code page; nullopt when the text is not valid
// UTF-8 or holds a character the code page cannot hold.
std::optional<std::string> Utf8ToCodePage(std::string_view utf8, CodePage code_page);

// Converts code-page bytes to UTF-8; nullopt for a byte the code page leaves
// undefined (0x81 in Windows-1252, for example).
std::optional<std::string> CodePageToUtf8(std::string_view bytes, CodePage code_page);

}  // namespace wizard
