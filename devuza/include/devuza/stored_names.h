// Folder and file names as a package stores them: bytes of the game's 8-bit
// code page (Windows-1252, or Windows-1250 for a Polish game), while names on
// disk are UTF-8. The writer converts names to the code page, so the field
// limits (15 and 64 characters) count the bytes the game reads, and the
// reader converts them back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/code_page.h"

namespace devuza {

// The bytes stored for the UTF-8 name `utf8`; nullopt when `utf8` is not
// valid UTF-8 or holds a character that `code_page` cannot hold. ASCII names
// are stored as they are.
std::optional<std::string> StoredName(std::string_view utf8, wizard::CodePage code_page);

// The UTF-8 name of the stored bytes `stored`; nullopt when they hold a byte
// that `code_page` leaves undefined (0x81 in Windows-1252, for example).
std::optional<std::string> DiskName(std::string_view stored, wizard::CodePage code_page);

// "Windows-1252" or "Windows-1250", for messages.
std::string_view CodePageName(wizard::CodePage code_page);

}  // namespace devuza
