#include "summary.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <unordered_map>

namespace heaptally {
namespace {

// A call site as the blocks carry it: the file text's address and the line.
// Formatting one key per site instead of one per block keeps a dump of a
// million blocks fast; sites with equal texts are merged afterwards.
struct Site {
  const char* file;
  std::int32_t line;

  bool operator==(const Site&) const = default;
};

struct SiteHash {
  std::size_t operator()(const Site& site) const {
    const std::size_t h = std::hash<const void*>{}(site.file);
    return h ^ (static_cast<std::size_t>(static_cast<std::uint32_t>(site.line)) * 0x9E3779B1u +
                (h << 6) + (h >> 2));
  }
};

void add_block(SummaryEntry& entry, std::int64_t size, std::int64_t count, std::int32_t largest) {
  entry.sum += size;
  entry.count += count;
  entry.largest = std::max(entry.largest, largest);
}

}  // namespace

std::string format_key(const char* file, std::int32_t line) {
  char buffer[kKeyBufferSize];
  const int length =
      std::snprintf(buffer, sizeof buffer, "%s(%i)", file != nullptr ? file : "(null)", line);
  if (length < 0) {
    return {};
  }
  return std::string(buffer, std::min(static_cast<std::size_t>(length), sizeof buffer - 1));
}

Summary summarize(const BlockHeader* newest) {
  Summary summary;
  std::unordered_map<Site, SummaryEntry, SiteHash> by_site;
  for (const BlockHeader* at = newest; at != nullptr; at = at->older) {
    add_block(by_site[Site{at->file, at->line}], at->accounted_size, 1, at->accounted_size);
    summary.total_size += at->accounted_size;
    ++summary.block_count;
  }

  summary.entries.reserve(by_site.size());
  for (auto& [site, entry] : by_site) {
    entry.key = format_key(site.file, site.line);
    summary.entries.push_back(std::move(entry));
  }
  std::sort(summary.entries.begin(), summary.entries.end(),
            [](const SummaryEntry& a, const SummaryEntry& b) { return a.key < b.key; });

  // Merge neighbours with equal keys: equal file texts at different addresses,
  // or long keys that were cut to the same text.
  auto kept = summary.entries.begin();
  for (auto at = summary.entries.begin(); at != summary.entries.end(); ++at) {
    if (at != kept && at->key == kept->key) {
      add_block(*kept, at->sum, at->count, at->largest);
    } else if (at != kept) {
      ++kept;
      if (kept != at) {
        *kept = std::move(*at);
      }
    }
  }
  if (!summary.entries.empty()) {
    summary.entries.erase(kept + 1, summary.entries.end());
  }
  return summary;
}

}  // namespace heaptally
