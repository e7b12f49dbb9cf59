// Two-bone skin data.
#include "geometry/skin.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace geometry {
namespace {

SkinRecord skin(std::vector<BoneWeight> influences) {
  const std::optional<SkinRecord> r = skin_record(influences);
  EXPECT_TRUE(r.has_value());
  return r.value_or(SkinRecord{});
}

SkinRecord bytes(std::initializer_list<int> values) {
  SkinRecord r{};
  size_t i = 0;
  for (int v : values) r[i++] = std::byte(v);
  return r;
}

TEST(SkinTest, TheTwoStrongestWeightsAreNormalisedAndScaled) {
  // 0.5, 0.3, 0.2: the first two, as 0.625 and 0.375 of 32768.
  EXPECT_EQ(skin({{4, 0.5f}, {9, 0.3f}, {2, 0.2f}}),
            bytes({4, 9, 255, 255, 0x00, 0x50, 0x00, 0x30, 0, 0, 0, 0}));  // 20480, 12288
  // The strongest first, wherever it stands.
  EXPECT_EQ(skin({{2, 0.2f}, {9, 0.3f}, {4, 0.5f}}),
            bytes({4, 9, 255, 255, 0x00, 0x50, 0x00, 0x30, 0, 0, 0, 0}));
  // A rigid vertex: its bone twice, 16384 each.
  EXPECT_EQ(skin({{7, 1.0f}}), bytes({7, 7, 255, 255, 0x00, 0x40, 0x00, 0x40, 0, 0, 0, 0}));
  // Truncated, not rounded: 0.6 / 1.0 of 32768 is 19660.8.
  EXPECT_EQ(skin({{1, 0.6f}, {2, 0.4f}}),
            bytes({1, 2, 255, 255, 0xCC, 0x4C, 0x33, 0x33, 0, 0, 0, 0}));  // 19660, 13107
}

TEST(SkinTest, EarlierInfluencesWinTies) {
  EXPECT_EQ(skin({{3, 0.5f}, {8, 0.5f}})[0], std::byte(3));
  // A later equal weight displaces neither kept one.
  const SkinRecord r = skin({{3, 0.4f}, {8, 0.2f}, {5, 0.2f}, {6, 0.4f}});
  EXPECT_EQ(r[0], std::byte(3));
  EXPECT_EQ(r[1], std::byte(6));
  // A strictly larger one pushes the first into second place.
  const auto two = strongest_two(std::vector<BoneWeight>{{3, 0.2f}, {8, 0.3f}, {5, 0.25f}});
  ASSERT_TRUE(two);
  EXPECT_EQ((*two)[0].bone, 8);
  EXPECT_EQ((*two)[1].bone, 5);
}

TEST(SkinTest, UnusableWeightsNeverReachTheRecord) {
  EXPECT_FALSE(skin_record({}).has_value());
  // Zero, negative and NaN weights count as 0; both 0 give 16384 each.
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(skin({{1, 0.0f}, {2, -1.0f}, {3, nan}}),
            bytes({1, 2, 255, 255, 0x00, 0x40, 0x00, 0x40, 0, 0, 0, 0}));
  // A lone weight beside zeros takes all of it.
  EXPECT_EQ(skin({{1, 0.0f}, {2, 0.7f}}),
            bytes({2, 1, 255, 255, 0x00, 0x80, 0x00, 0x00, 0, 0, 0, 0}));
  // Huge weights do not overflow the sum.
  const float big = std::numeric_limits<float>::max();
  EXPECT_EQ(skin({{1, big}, {2, big}}),
            bytes({1, 2, 255, 255, 0x00, 0x40, 0x00, 0x40, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace geometry
