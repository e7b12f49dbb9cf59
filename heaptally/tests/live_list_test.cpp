#include "live_list.h"

#include <gtest/gtest.h>

namespace {

using heaptally::BlockHeader;
using heaptally::LiveList;

// The headers from newest to oldest, checking the newer links on the way.
std::vector<BlockHeader*> walk(const LiveList& list) {
  std::vector<BlockHeader*> order;
  BlockHeader* newer = nullptr;
  for (BlockHeader* at = list.newest; at != nullptr; at = at->older) {
    EXPECT_EQ(at->newer, newer);
    order.push_back(at);
    newer = at;
  }
  return order;
}

class heaptally_live_list : public testing::Test {
 protected:
  void SetUp() override {
    for (BlockHeader& header : headers) {
      heaptally::link_newest(list, &header);
    }
  }

  BlockHeader headers[4]{};  // linked oldest first
  LiveList list;
};

TEST_F(heaptally_live_list, keeps_newest_first) {
  EXPECT_EQ(walk(list),
            (std::vector<BlockHeader*>{&headers[3], &headers[2], &headers[1], &headers[0]}));
}

TEST_F(heaptally_live_list, freeing_the_newest_makes_the_next_older_the_newest) {
  heaptally::unlink(list, &headers[3]);
  EXPECT_EQ(list.newest, &headers[2]);
  EXPECT_EQ(walk(list), (std::vector<BlockHeader*>{&headers[2], &headers[1], &headers[0]}));
}

TEST_F(heaptally_live_list, freeing_a_middle_block_joins_its_neighbours) {
  heaptally::unlink(list, &headers[2]);
  EXPECT_EQ(headers[3].older, &headers[1]);
  EXPECT_EQ(headers[1].newer, &headers[3]);
  heaptally::unlink(list, &headers[0]);  // the oldest
  EXPECT_EQ(headers[1].older, nullptr);
  EXPECT_EQ(list.oldest, &headers[1]);
  EXPECT_EQ(walk(list), (std::vector<BlockHeader*>{&headers[3], &headers[1]}));
  heaptally::unlink(list, &headers[3]);
  heaptally::unlink(list, &headers[1]);
  EXPECT_EQ(list.newest, nullptr);
  EXPECT_EQ(list.oldest, nullptr);
}

TEST_F(heaptally_live_list, walking_unlink_ignores_the_blocks_own_links) {
  headers[2].newer = &headers[0];  // overwritten links
  headers[2].older = reinterpret_cast<BlockHeader*>(0x10);
  EXPECT_TRUE(heaptally::unlink_by_walking(list, &headers[2]));
  EXPECT_EQ(walk(list), (std::vector<BlockHeader*>{&headers[3], &headers[1], &headers[0]}));
  EXPECT_EQ(list.oldest, &headers[0]);
  EXPECT_TRUE(heaptally::unlink_by_walking(list, &headers[3]));  // the newest
  EXPECT_TRUE(heaptally::unlink_by_walking(list, &headers[0]));  // the oldest
  EXPECT_EQ(list.newest, &headers[1]);
  EXPECT_EQ(list.oldest, &headers[1]);
  EXPECT_EQ(walk(list), (std::vector<BlockHeader*>{&headers[1]}));
}

TEST_F(heaptally_live_list, walking_unlink_refuses_a_block_not_in_the_list) {
  BlockHeader stranger{};
  EXPECT_FALSE(heaptally::unlink_by_walking(list, &stranger));
  EXPECT_EQ(walk(list).size(), 4u);
}

}  // namespace
