// The message output for warnings: formatted text handed to an optional log
// hook and an optional console. With neither installed (as in the plug-in) the
// warnings go nowhere. The hook also receives every crash log line.
#pragma once

#include <cstdio>
#include <functional>

namespace fs {

// Formats into a 2048-byte buffer (longer text is cut to 2047 bytes) and
// passes the text to the log hook and the console, each only when present.
void message_output(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Installs the log hook; an empty function removes it.
void set_log_hook(std::function<void(const char*)> hook);

// Sets the console the message output writes to; nullptr removes it.
void set_console_output(std::FILE* console);

// Passes a finished text to the log hook when one is installed.
void call_log_hook(const char* text);

}  // namespace fs
