// Shared by the script writers: a script of one statement, and writing a
// finished script and reporting it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ops/car_scripts.h"

namespace wizard {

inline constexpr std::string_view kLineEnd = "\r\n";

// Appends one write statement: `text` and CR LF.
inline void AppendStatement(std::string& script, std::string_view text) {
  script.append(text);
  script.append(kLineEnd);
}

// A script of one write statement: `text` with its NULs replaced, and CR LF.
std::string OneStatementScript(std::string text);

// Writes `bytes` (a whole script, ending in CR LF) as `folder` + `file_name`
// and reports the file through `progress`; true when written.
bool WriteScriptFile(std::string_view folder, std::string_view file_name, const std::string& bytes,
                     const ProgressStep& progress);

// The same for a script that was made, or false when it could not be.
inline bool WriteMadeScript(const std::optional<std::string>& script, std::string_view folder,
                            std::string_view file_name, const ProgressStep& progress) {
  return script && WriteScriptFile(folder, file_name, *script, progress);
}

}  // namespace wizard
