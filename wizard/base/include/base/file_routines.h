// File routines of the wizard: read, write, search and rewrite text files.
//
// Paths are game paths (see game_paths.h); text is bytes in the game's 8-bit
// code page and is never converted. None of these routines throws: a failure
// gives false or an empty text, as each comment says.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace wizard {

// Text files larger than this are refused by the readers (the game's scripts
// are a few kilobytes; this only guards against reading a wrong file whole).
inline constexpr std::size_t kMaxTextFileSize = 64u << 20;

// True when `path` names a regular file that can be opened for reading.
bool FileExists(std::string_view path);

// How a read ended.
enum class ReadStatus {
  kOk,          // the whole file was read
  kMissing,     // there is no file of that name
  kUnreadable,  // it exists but could not be opened or read, or is not a
                // regular file (a folder, FIFO or device is never opened)
  kTooLarge,    // it is larger than kMaxTextFileSize
};

struct ReadResult {
  ReadStatus status = ReadStatus::kMissing;
  std::string text;  // the file's bytes when status is kOk, else empty
};

// Reads the whole file at `path` and says why when it could not.
ReadResult ReadFileChecked(std::string_view path);

// Returns the whole file as text; empty when it cannot be read for any reason.
std::string ReadTextFile(std::string_view path);

// Replaces the file at `path` by `text` followed by one line break (CR LF);
// true when written. The replacement is atomic (atomic_file.h): on failure the
// old file stays as it was. A read-only file is not replaced (false), as the
// game's platform refuses to open it for writing. The folder must exist.
bool WriteTextFile(std::string_view path, std::string_view text);

// Reads the file, replaces every occurrence of `find` (exact case) by
// `replacement`, and writes it back with WriteTextFile; true when written.
// The file is rewritten (and so gains one line break) even when `find` does
// not occur. A missing file reads as empty and is written anew holding one
// empty line. A file that exists but cannot be read is left untouched (false),
// so that an unreadable script is never replaced by an empty one. An empty
// `find` replaces nothing.
bool ReplaceInFile(std::string_view path, std::string_view find, std::string_view replacement);

// True when the file's text contains `text` (exact case); false when the file
// cannot be read. An empty `text` is contained in any readable file.
bool FileContains(std::string_view path, std::string_view text);

// Appends `bytes` to the file at `path`, creating it when missing; true when
// written. The file is rewritten atomically (old bytes, then the new ones), so
// a failure leaves it as it was; an existing file that cannot be read or is
// read-only is left untouched (false).
bool AppendText(std::string_view path, std::string_view bytes);

// Appends each line followed by CR LF, as a text file opened for appending
// would; the same contract as AppendText. No lines: true, file unchanged (but
// created when missing).
bool AppendTextLines(std::string_view path, std::span<const std::string> lines);

// The same, but when the file is not empty and its last byte is not a line
// feed, a CR LF goes first, so that the first line is not glued to the end of
// the file's last line.
bool AppendTextLinesOnOwnLine(std::string_view path, std::span<const std::string> lines);

}  // namespace wizard
