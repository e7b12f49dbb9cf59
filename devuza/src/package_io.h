// Internal helpers of the package layer: 64-bit file positioning, exact reads
// and writes, chunked copies, and the error setter.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "devuza/package.h"

namespace devuza::detail {

// Opens `path` with the stdio `mode` ("rb", "wb"; "wbx" creates the file only
// when none of that name exists, failing with errno EEXIST, on Windows too).
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);
// Opens `path` for reading when it is a regular file (or a link to one). A
// FIFO, a device, a socket or a folder is refused without waiting on it, and
// `problem` then says what the path is ("is a FIFO (named pipe), not a regular
// file") or why it cannot be opened.
std::FILE* OpenRegularFile(const std::filesystem::path& path, std::string& problem);
// Creates a new file for writing in `dir` (the current folder when empty)
// under a name that no entry of `dir` has, ".devuza-<process>-<n>.part",
// opened exclusively so that no existing file is ever opened, truncated or
// replaced. Returns the open file and sets `created` to its path, or returns
// nullptr when no such file can be made.
std::FILE* CreateUniqueFile(const std::filesystem::path& dir, std::filesystem::path& created);
bool SeekTo(std::FILE* file, std::uint64_t offset);
// Size of an open file, or no value when it cannot be told.
bool FileLength(std::FILE* file, std::uint64_t& length);
// Reads exactly `size` bytes; false on a short read.
bool ReadExact(std::FILE* file, void* data, std::size_t size);
bool WriteAll(std::FILE* file, const void* data, std::size_t size);

enum class CopyResult { kOk, kReadFailed, kWriteFailed };
// Copies `count` bytes from the current position of `in` to `out` through
// `buffer` (grown to kCopyChunk bytes once).
CopyResult CopyBytes(std::FILE* in, std::FILE* out, std::uint64_t count, std::vector<char>& buffer);

void SetError(Package& package, PackageErrorCode code, std::string text);
void ClearError(Package& package);
// Refuses an operation called without a package open in the right mode. The
// error of a failed OpenPackage stays, so that a caller who goes on with the
// next call still reports why the package could not be opened.
void RefuseNotOpen(Package& package, std::string text);

// `text` with control bytes, non-ASCII bytes and double quotes shown as \xNN.
std::string Escaped(std::string_view text);
// `text` escaped as above, in double quotes, so that names from hostile
// packages print safely.
std::string Quoted(std::string_view text);
// A native path for messages.
std::string PathText(const std::filesystem::path& path);

// The path of the UTF-8 name `utf8`, and the UTF-8 name of a path's last
// component: names on disk are handled as UTF-8 on every system.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8FileName(const std::filesystem::path& path);

}  // namespace devuza::detail
