// Checks that a folder or file name stored in a package is one plain name that
// stays inside the folder it is extracted to, on Windows and elsewhere. The
// writer applies the same check, so it never writes a package that the reader
// would refuse.
#pragma once

#include <string>
#include <string_view>

#include "base/text_routines.h"

namespace devuza {

// Returns an empty string when `name` is a safe single folder or file name,
// otherwise the reason it is not (for example "contains a path separator").
// Refused: empty names, "." and "..", '/', '\\', ':' (drives, streams), the
// characters < > " | ? *, control characters, a trailing dot or blank, and
// the Windows device names (CON, PRN, AUX, NUL, COM0-9, LPT0-9, CONIN$,
// CONOUT$) in any case, with or without an extension.
std::string NameProblem(std::string_view name);

// True when `name` (without regard to case, extension ignored) is a Windows
// device name.
bool IsDeviceName(std::string_view name);

// `name` with a-z turned to A-Z; other bytes stay as they are.
inline std::string UpperAscii(std::string_view name) {
  return wizard::ToUpperAscii(name);
}

// Ordinal comparison of the upper-cased names, the order in which the writer
// packs a folder's entries; equal upper-cased names fall back to the bytes.
bool NameLess(std::string_view a, std::string_view b);

}  // namespace devuza
