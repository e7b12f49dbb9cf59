// The crash log: the process-wide text file that collects error reports
// (script syntax errors, collision builder limits, writer errors). It opens on
// its first line and stays open; every line also goes to the debugger output,
// the log hook and the crash log's console when present.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace fs {

constexpr std::size_t kCrashLogFormatBufferSize = 2048;
constexpr std::size_t kCrashLogOutputCap = 2046;

// Formats a line into the 2048-byte buffer (longer text is cut), turns line
// feeds into CR LF and writes the result to the log file, the debugger output,
// the log hook and the console. Starts the log on first use: with "debug.fnt"
// in the engine's file system the file is crash_log_name(), otherwise
// "crash.log"; when that cannot be created "crash.log" is tried, and when that
// fails too the lines still reach the other outputs.
void crash_log_line(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Makes the folder "logs" (an existing one is fine) and returns
// "logs/crash_yyyy-MM-dd_HHmm.log" for the current local time (24-hour).
std::string crash_log_name();

// Returns `text` with every line feed not preceded by a carriage return turned
// into CR LF; a line feed at the very start stays alone. Copying stops once
// kCrashLogOutputCap bytes are out, so the result is never longer than that.
std::string crash_log_convert_line_ends(std::string_view text);

// Starts the log without a file (when it is not started yet): lines go only
// to the debugger output, the hook and the console. For programs that report
// errors on their own terminal rather than in the current folder.
void crash_log_start_without_file();

// Sets the crash log's own console; nullptr (the default) turns it off.
void crash_log_set_console(std::FILE* console);

// Closes the log file and forgets that the log was started, so the next line
// starts it anew. The plug-in never calls it; tests and programs do.
void crash_log_close();

// Returns the name of the open log file, or "" when no file is open.
std::string crash_log_file_name();

}  // namespace fs
