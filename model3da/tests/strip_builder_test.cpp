// Behaviour of the strip builder on hand-made inputs, and the properties every
// result must have (all faces kept once, windings kept, no degenerate face).
#include "model3da/strip_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>

#include "strip_meshes.h"

namespace model3da {
namespace {

using Triangle = std::array<std::uint16_t, 3>;

const StripMessageSink kQuiet = [](std::string_view) {};

// Rotates a triangle so that its smallest index comes first (winding kept).
Triangle canonical(Triangle t) {
  while (t[0] > t[1] || t[0] > t[2]) t = {t[1], t[2], t[0]};
  return t;
}

bool degenerate(const Triangle& t) {
  return t[0] == t[1] || t[1] == t[2] || t[0] == t[2];
}

std::vector<Triangle> list_triangles(const std::vector<std::uint16_t>& indices) {
  std::vector<Triangle> out;
  for (std::size_t i = 0; i + 2 < indices.size(); i += 3)
    out.push_back({indices[i], indices[i + 1], indices[i + 2]});
  return out;
}

// The non-degenerate triangles a strip draws, each in its drawn winding.
std::vector<Triangle> strip_triangles(const std::vector<std::uint16_t>& s) {
  std::vector<Triangle> out;
  for (std::size_t k = 0; k + 2 < s.size(); ++k) {
    Triangle t =
        k % 2 == 0 ? Triangle{s[k], s[k + 1], s[k + 2]} : Triangle{s[k + 1], s[k], s[k + 2]};
    if (!degenerate(t)) out.push_back(t);
  }
  return out;
}

// The faces the builder keeps: non-degenerate, a same-order repeat dropped.
std::vector<Triangle> kept_faces(const test::Indices& input) {
  std::vector<Triangle> out;
  for (const Triangle& t : list_triangles(input))
    if (!degenerate(t) && std::find(out.begin(), out.end(), t) == out.end()) out.push_back(t);
  return out;
}

std::vector<Triangle> sorted_canonical(std::vector<Triangle> tris) {
  for (Triangle& t : tris) t = canonical(t);
  std::sort(tris.begin(), tris.end());
  return tris;
}

std::size_t strip_group_count(const std::vector<PrimitiveGroup>& groups) {
  return static_cast<std::size_t>(std::count_if(
      groups.begin(), groups.end(), [](const auto& g) { return g.type == PrimitiveType::kStrip; }));
}

TEST(strip_builder, single_triangle_comes_back_unchanged) {
  const test::Indices input = {5, 9, 2};
  const auto groups = generate_strips(input, kExporterStripSettings, kQuiet);
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0].type, PrimitiveType::kList);
  EXPECT_EQ(groups[0].indices, input);
}

TEST(strip_builder, same_order_duplicate_is_emitted_once_rotated_copy_twice) {
  const auto same =
      generate_strips(test::Indices{0, 1, 2, 0, 1, 2}, kExporterStripSettings, kQuiet);
  ASSERT_EQ(same.size(), 1u);
  EXPECT_EQ(same[0].indices, (test::Indices{0, 1, 2}));

  const auto rotated =
      generate_strips(test::Indices{0, 1, 2, 1, 2, 0}, kExporterStripSettings, kQuiet);
  ASSERT_EQ(rotated.size(), 1u);
  EXPECT_EQ(sorted_canonical(list_triangles(rotated[0].indices)),
            sorted_canonical({{0, 1, 2}, {1, 2, 0}}));

  // A duplicate inside a mesh does not disturb its neighbours either.
  test::Indices grid = test::grid(4, 3);
  const std::size_t faces = grid.size() / 3;
  grid.insert(grid.end(), grid.begin() + 6, grid.begin() + 9);
  const auto in_mesh = generate_strips(grid, kExporterStripSettings, kQuiet);
  EXPECT_EQ(in_mesh[0].indices.size(), faces * 3);
}

TEST(strip_builder, degenerate_input_triangles_never_reach_the_output) {
  std::mt19937 rng(7);
  test::Indices input = test::grid(6, 5);
  const std::vector<Triangle> expected = sorted_canonical(kept_faces(input));
  test::add_degenerates(rng, input, 12);
  for (const StripSettings& settings : {kExporterStripSettings, StripSettings{false, true, 0, 24},
                                        StripSettings{false, false, 4, 10}}) {
    std::vector<Triangle> drawn;
    for (const PrimitiveGroup& g : generate_strips(input, settings, kQuiet)) {
      const auto tris =
          g.type == PrimitiveType::kList ? list_triangles(g.indices) : strip_triangles(g.indices);
      for (const Triangle& t : tris) {
        if (settings.lists_only) {
          EXPECT_FALSE(degenerate(t));
        }
        if (!degenerate(t)) drawn.push_back(t);
      }
    }
    EXPECT_EQ(sorted_canonical(drawn), expected);
  }
}

TEST(strip_builder, cuts_strips_after_the_effective_cache_size) {
  const StripSettings separate{false, false, 0, 24};
  const auto twenty = generate_strips(test::ribbon(20), separate, kQuiet);
  ASSERT_EQ(twenty.size(), 1u);
  EXPECT_EQ(strip_triangles(twenty[0].indices).size(), 20u);

  const auto twenty_three = generate_strips(test::ribbon(23), separate, kQuiet);
  ASSERT_EQ(twenty_three.size(), 2u);
  std::vector<std::size_t> sizes = {strip_triangles(twenty_three[0].indices).size(),
                                    strip_triangles(twenty_three[1].indices).size()};
  std::sort(sizes.begin(), sizes.end());
  EXPECT_EQ(sizes, (std::vector<std::size_t>{5, 18}));

  // The same cut in the exporter's list: all 23 faces, none lost at the cut.
  const auto list = generate_strips(test::ribbon(23), kExporterStripSettings, kQuiet);
  EXPECT_EQ(sorted_canonical(list_triangles(list[0].indices)),
            sorted_canonical(kept_faces(test::ribbon(23))));
}

TEST(strip_builder, min_strip_length_zero_dissolves_nothing) {
  const test::Indices input = test::sphere(6, 9);
  const auto kept = generate_strips(input, StripSettings{false, false, 0, 24}, kQuiet);
  EXPECT_EQ(strip_group_count(kept), kept.size());
  std::size_t drawn = 0;
  for (const auto& g : kept) drawn += strip_triangles(g.indices).size();
  EXPECT_EQ(drawn, input.size() / 3);

  // A length no strip reaches dissolves everything into the loose list.
  const auto dissolved = generate_strips(input, StripSettings{false, false, 1000, 24}, kQuiet);
  ASSERT_EQ(dissolved.size(), 1u);
  EXPECT_EQ(dissolved[0].type, PrimitiveType::kList);
  std::vector<Triangle> loose;  // swap faces of the dissolved strips stay in
  for (const Triangle& t : list_triangles(dissolved[0].indices))
    if (!degenerate(t)) loose.push_back(t);
  EXPECT_EQ(sorted_canonical(loose), sorted_canonical(kept_faces(input)));
  // Stitching on still gives its one (here empty) strip group first.
  const auto stitched = generate_strips(input, StripSettings{false, true, 1000, 24}, kQuiet);
  ASSERT_EQ(stitched.size(), 2u);
  EXPECT_EQ(stitched[0], (PrimitiveGroup{PrimitiveType::kStrip, {}}));
  EXPECT_EQ(stitched[1], dissolved[0]);
}

TEST(strip_builder, cache_size_six_or_less_acts_as_one) {
  EXPECT_EQ(effective_cache_size(24), 18);
  EXPECT_EQ(effective_cache_size(7), 1);
  EXPECT_EQ(effective_cache_size(6), 1);
  EXPECT_EQ(effective_cache_size(-100), 1);
  for (int cache : {-3, 0, 6, 7}) {
    const auto groups =
        generate_strips(test::ribbon(5), StripSettings{false, false, 0, cache}, kQuiet);
    EXPECT_EQ(groups.size(), 5u) << "cache " << cache;
  }
  const test::Indices input = test::sphere(7, 10);
  const auto one = generate_strips(input, StripSettings{true, true, 0, 7}, kQuiet);
  for (int cache : {-3, 0, 6})
    EXPECT_EQ(generate_strips(input, StripSettings{true, true, 0, cache}, kQuiet), one);
  EXPECT_NE(generate_strips(input, StripSettings{true, true, 0, 8}, kQuiet), one);
}

TEST(strip_builder, input_without_real_triangle_gives_one_empty_list) {
  const PrimitiveGroup empty{PrimitiveType::kList, {}};
  for (const test::Indices& input :
       {test::Indices{}, test::Indices{1, 1, 2, 3, 4, 3, 7, 7, 7}, test::Indices{0, 1}}) {
    for (const StripSettings& settings : {kExporterStripSettings, StripSettings{false, true, 0, 24},
                                          StripSettings{false, false, 2, 16}}) {
      const auto groups = generate_strips(input, settings, kQuiet);
      ASSERT_EQ(groups.size(), 1u);
      EXPECT_EQ(groups[0], empty);
    }
  }
}

TEST(strip_builder, ignores_indices_past_the_last_whole_triangle) {
  EXPECT_EQ(generate_strips(test::Indices{3, 4, 5, 6, 7}, kExporterStripSettings, kQuiet),
            generate_strips(test::Indices{3, 4, 5}, kExporterStripSettings, kQuiet));
}

TEST(strip_builder, reports_a_third_face_on_an_edge_and_keeps_it) {
  std::vector<std::string> messages;
  const auto groups =
      generate_strips(test::Indices{0, 1, 2, 1, 0, 3, 0, 1, 4, 4, 1, 5}, kExporterStripSettings,
                      [&](std::string_view m) { messages.emplace_back(m); });
  EXPECT_EQ(messages, std::vector<std::string>{std::string(kMessageThirdFaceOnEdge)});
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0].indices.size(), 12u);
}

TEST(strip_builder, lists_only_output_holds_every_kept_face_once_in_its_input_order) {
  std::mt19937 rng(99);
  for (int i = 0; i < 300; ++i) {
    const test::Indices input = test::random_input(rng);
    const auto groups = generate_strips(input, kExporterStripSettings, kQuiet);
    ASSERT_EQ(groups.size(), 1u);
    std::vector<Triangle> got = list_triangles(groups[0].indices);
    std::vector<Triangle> want = kept_faces(input);
    std::sort(got.begin(), got.end());
    std::sort(want.begin(), want.end());
    ASSERT_EQ(got, want);
  }
}

TEST(strip_builder, strips_draw_every_face_once_with_its_winding) {
  std::mt19937 rng(4);
  std::vector<test::Indices> inputs = {test::grid(9, 7), test::grid(12, 5, true),
                                       test::sphere(9, 13), test::ribbon(41)};
  for (std::size_t i = 0; i < 4; ++i) {
    test::Indices shuffled = inputs[i];
    test::shuffle_triangles(rng, shuffled);
    inputs.push_back(shuffled);
  }
  for (const test::Indices& input : inputs) {
    for (const StripSettings& settings :
         {StripSettings{false, true, 0, 24}, StripSettings{false, false, 0, 12},
          StripSettings{false, true, 3, 16}}) {
      std::vector<Triangle> drawn;
      for (const PrimitiveGroup& g : generate_strips(input, settings, kQuiet)) {
        const auto tris = g.type == PrimitiveType::kStrip ? strip_triangles(g.indices)
                                                          : list_triangles(g.indices);
        for (const Triangle& t : tris)
          if (!degenerate(t)) drawn.push_back(t);
      }
      EXPECT_EQ(sorted_canonical(drawn), sorted_canonical(kept_faces(input)))
          << "stitch " << settings.stitch_strips << " min " << settings.min_strip_length;
    }
  }
}

TEST(strip_builder, wide_indices_give_the_same_groups) {
  std::mt19937 rng(21);
  for (int i = 0; i < 100; ++i) {
    const test::Indices input = test::random_input(rng);
    const std::vector<std::uint32_t> wide(input.begin(), input.end());
    const StripSettings settings{i % 2 == 0, i % 3 == 0, i % 4, 10 + i % 20};
    const auto narrow_groups = generate_strips(input, settings, kQuiet);
    const auto wide_groups = generate_strips32(wide, settings, kQuiet);
    ASSERT_EQ(narrow_groups.size(), wide_groups.size());
    for (std::size_t g = 0; g < narrow_groups.size(); ++g) {
      EXPECT_EQ(narrow_groups[g].type, wide_groups[g].type);
      EXPECT_TRUE(std::equal(narrow_groups[g].indices.begin(), narrow_groups[g].indices.end(),
                             wide_groups[g].indices.begin(), wide_groups[g].indices.end()));
    }
  }
  // Vertex numbers past 16 bits pass through unchanged.
  const std::vector<std::uint32_t> far = {70000, 70001, 70002};
  EXPECT_EQ(generate_strips32(far, kExporterStripSettings, kQuiet)[0].indices, far);
}

TEST(strip_builder, later_calls_use_the_process_wide_settings_and_sink) {
  const test::Indices input = test::sphere(5, 8);
  std::vector<std::string> messages;
  set_lists_only(false);
  set_stitch_strips(false);
  set_min_strip_length(2);
  set_cache_size(12);
  set_strip_message_sink([&](std::string_view m) { messages.emplace_back(m); });
  const StripSettings settings = strip_settings();
  EXPECT_EQ(generate_strips(input), generate_strips(input, StripSettings{false, false, 2, 12}));
  test::Indices fin = input;
  fin.insert(fin.end(), {input[0], input[1], 500});
  generate_strips(fin);
  EXPECT_EQ(messages.size(), 1u);

  set_lists_only(kExporterStripSettings.lists_only);
  set_stitch_strips(kExporterStripSettings.stitch_strips);
  set_min_strip_length(kExporterStripSettings.min_strip_length);
  set_cache_size(kExporterStripSettings.cache_size);
  set_strip_message_sink(print_strip_message);
  EXPECT_FALSE(settings.lists_only);
  EXPECT_FALSE(settings.stitch_strips);
  EXPECT_EQ(settings.min_strip_length, 2);
  EXPECT_EQ(settings.cache_size, 12);
}

}  // namespace
}  // namespace model3da
