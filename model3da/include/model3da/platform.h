// The few services Scenepress takes from the operating system: local time,
// computer and user names, and the debugger output. Each has a seam so tests
// can supply fixed answers or capture the output.
#pragma once

#include <functional>
#include <string>

namespace platform {

// A moment of local time; month 1-12, day 1-31, hour 0-23.
struct LocalTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Returns the current local time (or the test source's answer).
LocalTime local_time();

// Returns the name of this computer, or "" when the system gives none.
std::string computer_name();

// Returns the name of the user running the process, or "" when unknown.
std::string user_name();

// Sends a text to the debugger output (OutputDebugStringA on Windows, standard
// error elsewhere), or to the sink when one is set.
void debugger_output(const char* text);

// Test seams: an empty function restores the system's own answer.
void set_local_time_source(std::function<LocalTime()> source);
void set_computer_name_source(std::function<std::string()> source);
void set_user_name_source(std::function<std::string()> source);
void set_debugger_output_sink(std::function<void(const char*)> sink);

}  // namespace platform
