// Plain local files, read outside the engine's file system.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fs {

// Returns the size of the file at `path`, or 0 when it does not exist or its
// attributes cannot be read.
std::uint64_t local_file_length(const std::string& path);

// Reads the whole regular file at `path` in one read. Returns its bytes, or
// nothing when it cannot be opened, is no regular file, is larger than
// `max_size`, or fewer bytes than its size could be read.
std::optional<std::vector<char>> read_whole_local_file(const std::string& path,
                                                       std::uint64_t max_size = 1ull << 30);

}  // namespace fs
