// The summary of the live blocks that a dump reports: totals, and one entry
// per "file(line)" key in byte order of the key.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "block_header.h"

namespace heaptally {

// The size of the buffer a key is formatted in; longer keys are cut to one
// byte less.
inline constexpr std::size_t kKeyBufferSize = 1024;

struct SummaryEntry {
  std::string key;       // "file(line)"
  std::int64_t sum = 0;  // accounted sizes added up
  std::int64_t count = 0;
  std::int32_t largest = 0;  // the largest accounted size
};

struct Summary {
  std::int64_t total_size = 0;
  std::int64_t block_count = 0;
  std::vector<SummaryEntry> entries;  // ascending byte order of key, keys unique
};

// Formats the key "%s(%i)" of a file and line, cut to kKeyBufferSize - 1
// bytes. A null file reads "(null)".
std::string format_key(const char* file, std::int32_t line);

// Folds the blocks of the list that starts at newest (following the older
// links) into a summary. Blocks whose file texts are equal share an entry even
// when the texts sit at different addresses. Throws std::bad_alloc.
Summary summarize(const BlockHeader* newest);

}  // namespace heaptally
