// Folder routines of the wizard: test, create and delete folders.
//
// Paths are game paths (see game_paths.h). None of these routines throws.
#pragma once

#include <string_view>

namespace wizard {

// True when the folder exists. When it does not and `create` is set,
// CreateFolder runs on the path (with a separator appended) first, and the
// result says whether the folder exists afterwards.
bool FolderExists(std::string_view path, bool create = false);

// Creates every missing folder of `path` up to its last separator, as the
// game's platform does: "a\b\c\" creates a, b and c, but "a\b\c" creates only
// a and b (the last component is taken as a file name). New folders are named
// as spelled. True when the folder up to the last separator exists afterwards;
// a path without a separator names no folder (false).
bool CreateFolder(std::string_view path);

// Deletes the folder with DeleteTree; true only when it existed before and no
// longer exists afterwards; false when it did not exist.
bool DeleteFolder(std::string_view path);

// Deletes every file and sub-folder below the folder, then the folder itself.
// An entry that cannot be deleted is skipped; errors are ignored. Symbolic
// links are removed, never followed, so nothing outside the folder is touched.
void DeleteTree(std::string_view path);

}  // namespace wizard
