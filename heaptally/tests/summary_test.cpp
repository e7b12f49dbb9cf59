#include "summary.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "live_list.h"

namespace {

using heaptally::BlockHeader;

// The plain way: one key per block, folded into an ordered map.
std::vector<heaptally::SummaryEntry> oracle(const std::vector<BlockHeader>& headers) {
  std::map<std::string, heaptally::SummaryEntry> entries;
  for (const BlockHeader& header : headers) {
    std::string key = std::string(header.file) + "(" + std::to_string(header.line) + ")";
    key.resize(std::min<std::size_t>(key.size(), 1023));
    heaptally::SummaryEntry& entry = entries[key];
    entry.key = key;
    entry.sum += header.accounted_size;
    entry.count += 1;
    entry.largest = std::max(entry.largest, header.accounted_size);
  }
  std::vector<heaptally::SummaryEntry> result;
  for (auto& [key, entry] : entries) {
    result.push_back(entry);
  }
  return result;
}

TEST(heaptally_summary, matches_one_key_per_block_folding) {
  // Equal texts at different addresses, texts that differ in case, and long
  // names that collide once cut to the key buffer.
  const std::vector<std::string> files = {"a.cpp",
                                          "a.cpp",
                                          "A.cpp",
                                          "b/c.cpp",
                                          std::string(1030, 'L'),
                                          std::string(1030, 'L') + "x",
                                          std::string(1019, 'M'),
                                          "\xe9t\xe9.cpp"};
  std::mt19937 random(20261208);
  for (int round = 0; round < 20; ++round) {
    std::vector<BlockHeader> headers(1 + random() % 400);
    heaptally::LiveList list;
    for (BlockHeader& header : headers) {
      header = {};
      header.file = files[random() % files.size()].c_str();
      header.line = static_cast<std::int32_t>(random() % 25) - 2;
      header.accounted_size = heaptally::accounted_size(static_cast<std::int32_t>(random() % 5000));
      heaptally::link_newest(list, &header);
    }
    const heaptally::Summary summary = heaptally::summarize(list.newest);
    const std::vector<heaptally::SummaryEntry> expected = oracle(headers);
    ASSERT_EQ(summary.entries.size(), expected.size());
    std::int64_t total = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
      EXPECT_EQ(summary.entries[i].key, expected[i].key);
      EXPECT_EQ(summary.entries[i].sum, expected[i].sum);
      EXPECT_EQ(summary.entries[i].count, expected[i].count);
      EXPECT_EQ(summary.entries[i].largest, expected[i].largest);
      total += expected[i].sum;
    }
    EXPECT_EQ(summary.total_size, total);
    EXPECT_EQ(summary.block_count, static_cast<std::int64_t>(headers.size()));
  }
}

TEST(heaptally_summary, empty_list_has_no_entries) {
  const heaptally::Summary summary = heaptally::summarize(nullptr);
  EXPECT_EQ(summary.total_size, 0);
  EXPECT_EQ(summary.block_count, 0);
  EXPECT_TRUE(summary.entries.empty());
}

}  // namespace
