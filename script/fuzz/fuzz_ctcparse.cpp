// Feeds arbitrary bytes to the script parser; any input must end in a result
// or a reported error.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model3da/crash_log.h"
#include "model3da/platform.h"
#include "script/ctcparse.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool quiet = [] {
    platform::set_debugger_output_sink([](const char*) {});
    fs::crash_log_start_without_file();
    return true;
  }();
  (void)quiet;
  CTCParse parser("fuzz/input.scr", std::string_view(reinterpret_cast<const char*>(data), size));
  parser.set_int_variable_callback([](std::int32_t* value, const char* name) {
    *value = 7;
    return name[0] != 'x';
  });
  parser.set_float_variable_callback([](float* value, const char* name) {
    *value = 0.5f;
    return name[0] != 'x';
  });
  parser.set_string_variable_callback([](std::string* value, const char* name) {
    *value = "v";
    return name[0] != 'x';
  });
  bool error = false;
  auto statements = parser.parse(&error);
  if (statements) {
    CTCPARSE_KEYWORD copy(*statements);
    (void)copy;
  }
  return 0;
}
