// The production builder against the plain one on thousands of generated
// inputs: every group and every message must be the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>

#include "model3da/strip_builder.h"
#include "strip_meshes.h"
#include "strip_reference.h"

namespace model3da {
namespace {

// Inputs per test: fewer under the sanitizers, where the plain builder is slow.
#if defined(__SANITIZE_ADDRESS__)
#define GM_STRIP_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define GM_STRIP_SANITIZED 1
#endif
#endif
#ifdef GM_STRIP_SANITIZED
constexpr int kDefaultIterations = 150;
#else
constexpr int kDefaultIterations = 1000;
#endif

// GM_STRIP_DIFF_ITERATIONS overrides the default.
int iterations() {
  if (const char* env = std::getenv("GM_STRIP_DIFF_ITERATIONS")) return std::atoi(env);
  return kDefaultIterations;
}

struct Outcome {
  std::vector<PrimitiveGroup> groups;
  std::vector<std::string> messages;
};

Outcome run_production(const test::Indices& input, const StripSettings& settings) {
  Outcome out;
  out.groups =
      generate_strips(input, settings, [&](std::string_view m) { out.messages.emplace_back(m); });
  return out;
}

Outcome run_plain(const test::Indices& input, const StripSettings& settings) {
  Outcome out;
  out.groups = plain::generate_strips(input, settings,
                                      [&](std::string_view m) { out.messages.emplace_back(m); });
  return out;
}

std::string describe(const test::Indices& input, const StripSettings& s) {
  std::string text = "settings lists_only=" + std::to_string(s.lists_only) +
                     " stitch=" + std::to_string(s.stitch_strips) +
                     " min=" + std::to_string(s.min_strip_length) +
                     " cache=" + std::to_string(s.cache_size) + " input:";
  for (std::uint16_t v : input) text += " " + std::to_string(v);
  return text;
}

// Compares both builders; returns false (after one failure) on a difference.
bool same_result(const test::Indices& input, const StripSettings& settings) {
  const Outcome fast = run_production(input, settings);
  const Outcome slow = run_plain(input, settings);
  EXPECT_EQ(fast.groups, slow.groups) << describe(input, settings);
  EXPECT_EQ(fast.messages, slow.messages) << describe(input, settings);
  return fast.groups == slow.groups && fast.messages == slow.messages;
}

TEST(strip_builder_differential, matches_plain_builder_with_exporter_settings) {
  std::mt19937 rng(20240601);
  for (int i = 0; i < iterations(); ++i) {
    const test::Indices input = test::random_input(rng);
    if (!same_result(input, kExporterStripSettings)) return;
  }
}

TEST(strip_builder_differential, matches_plain_builder_in_strip_mode) {
  std::mt19937 rng(977);
  std::uniform_int_distribution<int> min_length(0, 8);
  std::uniform_int_distribution<int> cache(0, 32);
  for (int i = 0; i < iterations() * 2 / 5; ++i) {
    const test::Indices input = test::random_input(rng);
    const StripSettings stitched{false, true, 0, 24};
    const StripSettings separate{false, false, 0, cache(rng)};
    const StripSettings dissolving{false, (i % 2) == 0, min_length(rng), cache(rng)};
    if (!same_result(input, stitched) || !same_result(input, separate) ||
        !same_result(input, dissolving))
      return;
  }
}

TEST(strip_builder_differential, matches_plain_builder_in_lists_only_mode_with_dissolving) {
  std::mt19937 rng(31337);
  std::uniform_int_distribution<int> min_length(1, 12);
  std::uniform_int_distribution<int> cache(0, 40);
  for (int i = 0; i < iterations() / 2; ++i) {
    const test::Indices input = test::random_input(rng);
    if (!same_result(input, StripSettings{true, true, min_length(rng), cache(rng)})) return;
  }
}

TEST(strip_builder_differential, matches_plain_builder_on_larger_surfaces) {
  std::mt19937 rng(5);
  std::vector<test::Indices> inputs = {test::grid(30, 24), test::grid(25, 25, true),
                                       test::sphere(16, 24), test::sphere(12, 40)};
  for (std::size_t i = 0; i < 4; ++i) {
    test::Indices shuffled = inputs[i];
    test::shuffle_triangles(rng, shuffled);
    inputs.push_back(shuffled);
  }
  for (const test::Indices& input : inputs) {
    if (!same_result(input, kExporterStripSettings)) return;
    if (!same_result(input, StripSettings{false, true, 3, 16})) return;
  }
}

// Surfaces of some hundreds to thousands of faces take many passes, so that
// experiments from the same start recur from pass to pass: they must score
// the same when nothing beside them was committed in between, and be built
// again when something was (holes, extra faces on an edge, duplicates and
// shuffled faces change where that happens).
TEST(strip_builder_differential, matches_plain_builder_where_experiments_recur_across_passes) {
  std::mt19937 rng(2027);
  auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int i = 0; i < std::max(iterations() / 25, 4); ++i) {
    test::Indices input;
    switch (i % 4) {
      case 0:
        input = test::sphere(pick(6, 16), pick(8, 40));
        break;
      case 1:
        input = test::torus(pick(8, 30), pick(4, 16));
        break;
      case 2:
        input = test::grid(pick(8, 40), pick(4, 24), i % 8 == 2);
        break;
      default:
        input = test::sphere(pick(4, 10), pick(6, 20));
        test::append_piece(input, test::torus(pick(6, 16), pick(4, 8)));
        break;
    }
    if (i % 3 != 0) test::remove_triangles(rng, input, pick(1, 12));
    if (i % 5 == 1) test::add_fins(rng, input, pick(1, 6));
    if (i % 5 == 2) test::add_duplicates(rng, input, pick(1, 6), i % 2 == 0);
    if (i % 7 == 3) test::shuffle_triangles(rng, input);
    if (!same_result(input, kExporterStripSettings)) return;
    if (!same_result(input, StripSettings{false, true, 2, 16})) return;
  }
}

// Surfaces of 5 000 to 18 000 faces: experiments too large to be kept whole
// are recorded to the side, and those of more than some 16 000 vertices keep
// only their first strip, to be built again when asked for.
TEST(strip_builder_differential, matches_plain_builder_where_experiments_are_too_large_to_keep) {
  std::mt19937 rng(404);
  std::vector<test::Indices> inputs = {test::grid(96, 94), test::torus(100, 45),
                                       test::grid(60, 44, true)};
  test::remove_triangles(rng, inputs[2], 20);
  test::Indices shuffled = test::torus(60, 40);
  test::shuffle_triangles(rng, shuffled);
  inputs.push_back(shuffled);
  for (const test::Indices& input : inputs)
    if (!same_result(input, kExporterStripSettings)) return;
}

}  // namespace
}  // namespace model3da
