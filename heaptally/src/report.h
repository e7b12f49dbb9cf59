// The text of a dump, written from a summary of the live blocks.
#pragma once

#include <cstdio>

#include "summary.h"

namespace heaptally {

// Writes the dump of summary to file, or to the debugger output when file is
// null:
//   "-- Mem dump --\nfile(line) size\n"
//   "summary size: <total>, count: <blocks>\n"
//   "\n-- Summary mem dump --\n\nsumsize count maxalloc file(line)\n"
// then "<sum>\t<count>\t<largest>\t<key>\n" per entry, in the summary's order.
// Returns false when writing to file failed.
bool write_report(const Summary& summary, std::FILE* file);

}  // namespace heaptally
