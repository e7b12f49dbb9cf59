// The game folder: the game's installation folder, the start of every game
// path. It ends in a separator, since game paths are appended to it as they
// are ("Data\Cars\" + ID).
#pragma once

#include <string_view>

namespace wizard {

// The file whose presence makes a folder a game installation.
inline constexpr std::string_view kGameExecutable = "Gravelmoor.exe";

// True when `folder` + "Gravelmoor.exe" names a file that can be opened for
// reading. A folder without its trailing separator fails.
bool CheckGameFolder(std::string_view folder);

}  // namespace wizard
