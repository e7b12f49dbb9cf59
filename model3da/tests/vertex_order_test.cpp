// First-use renumbering of a surface's vertices.
#include "model3da/vertex_order.h"

#include <gtest/gtest.h>

#include <string>

#include "model3da/strip_builder.h"
#include "strip_meshes.h"

namespace model3da {
namespace {

TEST(vertex_order, numbers_vertices_by_first_use_and_keeps_unused_ones_last) {
  std::vector<std::uint16_t> indices = {5, 3, 5, 7, 3, 1};
  const auto order = renumber_in_first_use_order(indices, 8);
  ASSERT_TRUE(order.has_value());
  EXPECT_EQ(indices, (std::vector<std::uint16_t>{0, 1, 0, 2, 1, 3}));
  EXPECT_EQ(*order, (std::vector<std::uint32_t>{5, 3, 7, 1, 0, 2, 4, 6}));

  std::vector<std::string> names = {"v0", "v1", "v2", "v3", "v4", "v5", "v6", "v7"};
  apply_vertex_order(names, std::span<const std::uint32_t>(*order));
  EXPECT_EQ(names, (std::vector<std::string>{"v5", "v3", "v7", "v1", "v0", "v2", "v4", "v6"}));
}

TEST(vertex_order, refuses_an_index_past_the_vertex_count_and_changes_nothing) {
  std::vector<std::uint16_t> indices = {0, 1, 4};
  EXPECT_FALSE(renumber_in_first_use_order(indices, 4).has_value());
  EXPECT_EQ(indices, (std::vector<std::uint16_t>{0, 1, 4}));
}

TEST(vertex_order, cache_ordered_surface_reads_its_vertices_front_to_back) {
  const test::Indices input = test::sphere(10, 14);
  const std::size_t vertex_count = static_cast<std::size_t>(test::vertex_count(input));
  std::vector<std::uint16_t> list =
      generate_strips(input, kExporterStripSettings, [](std::string_view) {})[0].indices;
  const std::vector<std::uint16_t> before = list;
  const auto order = renumber_in_first_use_order(list, vertex_count);
  ASSERT_TRUE(order.has_value());
  std::uint32_t next = 0;
  for (std::size_t i = 0; i < list.size(); ++i) {
    ASSERT_LE(list[i], next);
    if (list[i] == next) ++next;
    EXPECT_EQ((*order)[list[i]], before[i]);  // each index still names the same vertex
  }
  EXPECT_EQ(next, vertex_count);
}

}  // namespace
}  // namespace model3da
