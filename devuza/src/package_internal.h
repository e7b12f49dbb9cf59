// Internal entry points shared by the writer, reader and the open/close
// dispatch of the package layer.
#pragma once

#include <filesystem>
#include <string_view>

#include "devuza/package.h"

namespace devuza::detail {

// Mode 0 of OpenPackage: header, temporary file, first 25 bytes.
bool OpenForWriting(Package& package, const std::filesystem::path& path, std::string_view car_id,
                    std::int16_t flag);
// Modes 1 and 2 of OpenPackage: find, read and check the header.
bool OpenForReading(Package& package, PackageMode mode, const std::filesystem::path& path);
// Closes the file of a written package and removes its temporary file.
void DiscardWritten(Package& package);
// ClosePackage after mode 0.
bool CloseWritten(Package& package);

}  // namespace devuza::detail
