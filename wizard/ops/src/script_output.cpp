#include "script_output.h"

#include "base/file_routines.h"
#include "base/string_table.h"
#include "base/text_routines.h"
#include "ops/template_text.h"

namespace wizard {

std::string CreatingFileStatus(std::string_view file_name, Language language) {
  std::string status(StringText(kStrCreatingFile, language));
  status.append(file_name);
  return status;
}

std::string OneStatementScript(std::string text) {
  ReplaceNuls(text);
  std::string script;
  AppendStatement(script, text);
  return script;
}

bool WriteScriptFile(std::string_view folder, std::string_view file_name, const std::string& bytes,
                     const ProgressStep& progress) {
  // WriteTextFile adds the final line end itself.
  std::string_view body = bytes;
  if (body.ends_with(kLineEnd)) body.remove_suffix(kLineEnd.size());
  if (!WriteTextFile(AddBackslash(folder) + std::string(file_name), body)) return false;
  if (progress) progress(file_name);
  return true;
}

}  // namespace wizard
