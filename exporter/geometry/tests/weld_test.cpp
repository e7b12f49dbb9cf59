// The weld sort: its field order, the tolerance, the numbering and which
// corner a vertex takes its data from.
#include "geometry/weld.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "geometry/skin.h"

namespace geometry {
namespace {

Corner at(float x, float y = 0, float z = 0) {
  Corner c;
  c.position = {x, y, z};
  c.normal = {0, 1, 0};
  c.tangent = {1, 0, 0};
  return c;
}

TEST(WeldTest, CornersCloserThanTheToleranceBecomeOneVertex) {
  Corner a = at(1, 2, 3), b = at(1.00005f, 1.99995f, 3.00009f);
  b.uv[0] = {0.00009f, 0};
  const std::vector<Corner> close{a, b};
  EXPECT_EQ(weld_corners(close).corner_of_vertex.size(), 1u);
  // 0.0002 apart on one axis, or in one uv, is two vertices.
  const std::vector<Corner> apart{a, at(1, 2, 3.0002f)};
  EXPECT_EQ(weld_corners(apart).corner_of_vertex.size(), 2u);
  Corner c = a;
  c.uv[3] = {0, 0.0002f};
  EXPECT_EQ(weld_corners(std::vector<Corner>{a, c}).corner_of_vertex.size(), 2u);
  // Colours and skin data must be equal exactly.
  c = a;
  c.color = 0xFFFFFFFE;
  EXPECT_EQ(weld_corners(std::vector<Corner>{a, c}).corner_of_vertex.size(), 2u);
  c = a;
  c.skin[11] = std::byte(1);
  EXPECT_EQ(weld_corners(std::vector<Corner>{a, c}).corner_of_vertex.size(), 2u);
}

TEST(WeldTest, CornersThatDifferInAnyWordAreNotTakenForEqual) {
  // Every word of a corner set so that a change to its top byte is a change
  // beyond the tolerance (floats 1.5 become 2^-62 or so; colour and skin
  // bytes compare exactly). Equal corners are grouped by their bytes first,
  // so a word left out of that comparison would weld the pair.
  Corner a;
  auto* bytes = reinterpret_cast<unsigned char*>(&a);
  for (size_t w = 0; w < sizeof(Corner) / 4; ++w) {
    const float one_and_a_half = 1.5f;
    std::memcpy(bytes + 4 * w, &one_and_a_half, 4);
  }
  for (size_t w = 0; w < sizeof(Corner) / 4; ++w) {
    Corner b = a;
    reinterpret_cast<unsigned char*>(&b)[4 * w + 3] ^= 0x40;
    const WeldMap weld = weld_corners(std::vector<Corner>{a, b, a, b, b});
    EXPECT_EQ(weld.corner_of_vertex.size(), 2u) << "word " << w;
    EXPECT_EQ(weld.vertex_of_corner[0], weld.vertex_of_corner[2]) << "word " << w;
    EXPECT_EQ(weld.vertex_of_corner[1], weld.vertex_of_corner[4]) << "word " << w;
  }
}

TEST(WeldTest, VerticesAreNumberedInSortedOrderAndKeepTheirLastCorner) {
  // Corners at x = 3, 1, 2, 1.00004, 3.00005: vertex 0 is x = 1 (corners 1
  // and 3), vertex 1 is x = 2, vertex 2 is x = 3 (corners 0 and 4).
  const std::vector<Corner> corners{at(3), at(1), at(2), at(1.00004f), at(3.00005f)};
  const WeldMap weld = weld_corners(corners);
  EXPECT_EQ(weld.vertex_of_corner, (std::vector<uint32_t>{2, 0, 1, 0, 2}));
  // Each vertex takes the data of its last corner in corner order.
  EXPECT_EQ(weld.corner_of_vertex, (std::vector<uint32_t>{3, 2, 4}));
  EXPECT_EQ(check_weld_map(weld, corners.size()), "");
}

TEST(WeldTest, FieldsCompareInTheDocumentedOrder) {
  // Position decides before normal.
  Corner a = at(0), b = at(1);
  a.normal = {0, 0, 1};
  EXPECT_LT(compare_corners(a, b), 0);
  // Then normal, then tangent.
  a = at(0);
  b = at(0);
  a.normal = {0, 1, 0};
  b.normal = {0, 1, 0.5f};
  a.tangent = {2, 0, 0};
  EXPECT_LT(compare_corners(a, b), 0);
  // Colour bytes in the order 2, 1, 0, 3: red (byte 2) before blue (byte 0)...
  a = at(0);
  b = at(0);
  a.color = 0x00010009;  // red 1, blue 9
  b.color = 0x00020000;  // red 2, blue 0
  EXPECT_LT(compare_corners(a, b), 0);
  // ...and blue before alpha (byte 3).
  a.color = 0x00000001;
  b.color = 0xFF000000;
  EXPECT_GT(compare_corners(a, b), 0);
  // Colour before uv, uv 0 before uv 1, u before v.
  a = at(0);
  b = at(0);
  b.color = 0xFFFFFFFE;
  b.uv[0] = {0.5f, 0};
  EXPECT_GT(compare_corners(a, b), 0);
  a = at(0);
  b = at(0);
  a.uv[1] = {1, 0};
  b.uv[0] = {0, 1};
  EXPECT_LT(compare_corners(a, b), 0);
  a.uv[0] = {1, 0};
  EXPECT_GT(compare_corners(a, b), 0);
  // Skin data: bytes, then 16-bit values (256 is more than 255, although
  // its low byte is smaller).
  a = at(0);
  b = at(0);
  a.skin = make_skin_record(1, 1, 256, 0);
  b.skin = make_skin_record(1, 1, 255, 0);
  EXPECT_GT(compare_corners(a, b), 0);
  b.skin = make_skin_record(2, 0, 0, 0);
  EXPECT_LT(compare_corners(a, b), 0);
  EXPECT_EQ(compare_corners(a, a), 0);
}

TEST(WeldTest, ChainsOfNearValuesGiveAConsistentWeld) {
  // 0 ~ 0.00008 ~ 0.00016 but 0 and 0.00016 differ: the comparison is not
  // transitive. Whatever order the sort gives, the weld must be a valid one,
  // and corners that are exactly equal must share a vertex.
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> step(0, 40);
  std::uniform_int_distribution<int> small(0, 2);
  for (int round = 0; round < 40; ++round) {
    std::vector<Corner> corners;
    for (int i = 0; i < 300; ++i) {
      Corner c = at(float(step(rng)) * 0.00004f, float(small(rng)) * 0.00007f);
      c.uv[0] = {float(small(rng)) * 0.00006f, 0};
      corners.push_back(c);
    }
    corners.push_back(corners[5]);
    corners.push_back(corners[77]);
    const WeldMap weld = weld_corners(corners);
    ASSERT_EQ(check_weld_map(weld, corners.size()), "");
    EXPECT_EQ(weld.vertex_of_corner[5], weld.vertex_of_corner[300]);
    EXPECT_EQ(weld.vertex_of_corner[77], weld.vertex_of_corner[301]);
  }
}

TEST(WeldTest, MapsThatDoNotFitASurfaceAreNamed) {
  WeldMap ok{{0, 1, 0}, {2, 1}};
  EXPECT_EQ(check_weld_map(ok, 3), "");
  EXPECT_NE(check_weld_map(ok, 6), "");  // wrong corner count
  WeldMap bad = ok;
  bad.vertex_of_corner[1] = 2;  // no vertex 2
  EXPECT_NE(check_weld_map(bad, 3).find("corner 1 names vertex 2"), std::string::npos);
  bad = ok;
  bad.corner_of_vertex[0] = 3;  // no corner 3
  EXPECT_NE(check_weld_map(bad, 3), "");
  bad = ok;
  bad.corner_of_vertex[0] = 1;  // corner 1 belongs to vertex 1
  EXPECT_NE(check_weld_map(bad, 3), "");
  bad = WeldMap{{0, 0, 0}, {}};
  EXPECT_NE(check_weld_map(bad, 3), "");  // no vertex
  bad.corner_of_vertex.assign(65536, 0);
  EXPECT_NE(check_weld_map(bad, 3).find("65536 vertices"), std::string::npos);
}

}  // namespace
}  // namespace geometry
