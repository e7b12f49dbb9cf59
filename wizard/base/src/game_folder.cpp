// Deciding whether a folder is a game installation.
#include "base/game_folder.h"

#include <string>

#include "base/file_routines.h"

namespace wizard {

bool CheckGameFolder(std::string_view folder) {
  std::string executable(folder);
  executable += kGameExecutable;
  return FileExists(executable);
}

}  // namespace wizard
