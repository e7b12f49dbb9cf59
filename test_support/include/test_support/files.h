// Whole-file reads and writes and folder listings for tests.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace gm_test {

// Writes `bytes` to `file`, creating its folders; throws when it cannot.
void WriteFile(const std::filesystem::path& file, std::string_view bytes);

// The file's bytes; "<missing>" when it cannot be read, so that a missing
// file never passes for an empty one.
std::string ReadFile(const std::filesystem::path& file);

// The names of the entries of `folder`, sorted, joined by '|'; empty when the
// folder is empty or missing.
std::string ListFolder(const std::filesystem::path& folder);

// Every file, folder and link below `root` as sorted generic paths relative
// to it; folders (not links to them) end in '/'.
std::vector<std::string> ListTree(const std::filesystem::path& root);

// `text` made comparable with the paths a program shows: on Windows '/'
// becomes '\\' and ASCII letters lower case (the file system ignores case
// there, so a program may spell a file as the game names it); elsewhere
// `text` as it is. Compare both sides through it.
std::string ComparablePathText(std::string_view text);

}  // namespace gm_test
