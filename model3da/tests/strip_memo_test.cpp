// The strip search's memory of experiments: an entry stands until a face on
// one of its vertices is committed, and keeps its first strip through the
// pool's compaction.
#include "strip_memo.h"

#include <gtest/gtest.h>

#include <vector>

namespace model3da::strips {
namespace {

// Records an experiment from `face` whose faces have `vertices` (the first
// `first_vertices` of them in its first strip, all when 0) and whose first
// strip is `first`.
void remember(ExperimentMemo& memo, std::int32_t face, int slot, bool toward_second,
              std::int32_t pass, std::size_t free_faces, const std::vector<Vertex>& vertices,
              const std::vector<std::int32_t>& first, float score = 1.0f,
              std::uint32_t first_vertices = 0) {
  Vertex* out = memo.begin_recording(free_faces);
  for (Vertex v : vertices) *out++ = v;
  RememberedExperiment entry;
  entry.pass = pass;
  entry.complete = true;
  entry.score = score;
  entry.hash = 77;
  entry.vertex = vertices.front();
  entry.first_vertex_count =
      first_vertices != 0 ? first_vertices : static_cast<std::uint32_t>(vertices.size());
  memo.end_recording(face, slot, toward_second, entry, out, first);
}

std::vector<std::int32_t> first_strip(const ExperimentMemo& memo, const RememberedExperiment& e) {
  const auto faces = memo.first_strip(e);
  return {faces.begin(), faces.end()};
}

TEST(strip_memo, an_experiment_stands_until_a_face_on_one_of_its_vertices_is_committed) {
  ExperimentMemo memo(10, 12);
  EXPECT_EQ(memo.find(3, 1, true), nullptr);
  // Vertices 4 to 6 belong to its first strip, 7 and 8 to a further one.
  remember(memo, 3, 1, true, 0, 10, {4, 5, 6, 7, 8}, {3, 8}, 2.5f, 3);
  EXPECT_EQ(memo.find(3, 1, false), nullptr) << "the other direction";
  EXPECT_EQ(memo.find(3, 2, true), nullptr) << "another edge";
  const RememberedExperiment* found = memo.find(3, 1, true);
  ASSERT_NE(found, nullptr);
  EXPECT_TRUE(memo.stands(*found));
  EXPECT_EQ(found->score, 2.5f);
  EXPECT_EQ(found->hash, 77u);
  EXPECT_EQ(first_strip(memo, *found), (std::vector<std::int32_t>{3, 8}));

  const Vertex elsewhere[3] = {0, 1, 2};
  memo.committed(elsewhere, 0);
  found = memo.find(3, 1, true);
  ASSERT_NE(found, nullptr) << "commits away from its vertices";
  EXPECT_TRUE(memo.stands(*found));

  const Vertex beside_further[3] = {1, 7, 9};
  memo.committed(beside_further, 0);
  found = memo.find(3, 1, true);
  ASSERT_NE(found, nullptr) << "its first strip is the same";
  EXPECT_FALSE(memo.stands(*found)) << "vertex 7 is its further strip's";

  const Vertex beside_first[3] = {1, 5, 9};
  memo.committed(beside_first, 0);
  EXPECT_EQ(memo.find(3, 1, true), nullptr) << "vertex 5 is its first strip's";

  // Recorded in a later pass, the earlier commits do not count.
  remember(memo, 3, 1, true, 1, 10, {4, 5, 6, 7, 8}, {3, 8}, 2.5f, 3);
  found = memo.find(3, 1, true);
  ASSERT_NE(found, nullptr);
  EXPECT_TRUE(memo.stands(*found));
}

// Experiments of 44 pool entries (40 vertices and 4 faces) on the vertices
// below 20 ("low") or from 20 on ("high").
std::vector<Vertex> vertices(bool high) {
  std::vector<Vertex> out(40);
  for (Vertex v = 0; v < 40; ++v) out[v] = (high ? 20 : 0) + v % 20;
  return out;
}

std::vector<std::int32_t> faces_from(std::int32_t f) {
  return {f, f + 1, f + 2, f + 3};
}

TEST(strip_memo, a_full_pool_keeps_the_valid_entries_and_their_first_strips) {
  // Twenty faces give the pool room for eleven such experiments; three rounds
  // record eighteen, of which the three from face 5 stay valid.
  ExperimentMemo memo(20, 50);
  for (int round = 0; round < 3; ++round) {
    for (std::int32_t face = 0; face < 6; ++face) {
      remember(memo, face, round, false, 1, 10, vertices(face == 5), faces_from(face),
               static_cast<float>(round));
    }
    const Vertex on_low[3] = {0, 1, 2};
    memo.committed(on_low, 1);
  }
  for (int round = 0; round < 3; ++round) {
    for (std::int32_t face = 0; face < 5; ++face)
      EXPECT_EQ(memo.find(face, round, false), nullptr) << round << " " << face;
    const RememberedExperiment* found = memo.find(5, round, false);
    ASSERT_NE(found, nullptr) << round;
    EXPECT_EQ(found->score, static_cast<float>(round));
    EXPECT_EQ(first_strip(memo, *found), faces_from(5));
  }
}

TEST(strip_memo, when_valid_entries_fill_the_pool_the_oldest_go) {
  // Ten faces give the pool room for five such experiments; when the sixth
  // does not fit, only the newest that leave half of it free stay.
  ExperimentMemo memo(10, 50);
  for (std::int32_t face = 0; face < 7; ++face)
    remember(memo, face, 0, true, 0, 10, vertices(face % 2 == 1), faces_from(face));
  for (std::int32_t face = 0; face < 7; ++face) {
    const RememberedExperiment* found = memo.find(face, 0, true);
    if (face < 4) {
      EXPECT_EQ(found, nullptr) << face;
    } else {
      ASSERT_NE(found, nullptr) << face;
      EXPECT_EQ(first_strip(memo, *found), faces_from(face));
    }
  }
}

TEST(strip_memo, a_large_surface_s_pool_grows_before_valid_entries_go) {
  // 4000 faces start the pool at 8 entries a face (32 016 in all); the 1000
  // valid experiments below take 44 000, so it has to grow or drop them.
  ExperimentMemo memo(4000, 50);
  for (std::int32_t face = 0; face < 1000; ++face)
    remember(memo, face, 2, false, 0, 10, vertices(true), faces_from(face));
  for (std::int32_t face = 0; face < 1000; ++face) {
    const RememberedExperiment* found = memo.find(face, 2, false);
    ASSERT_NE(found, nullptr) << face;
    EXPECT_EQ(first_strip(memo, *found), faces_from(face));
  }
}

TEST(strip_memo, an_experiment_too_large_to_keep_keeps_only_its_first_strip) {
  // 6000 free faces are too many for the pool's share: each experiment is
  // recorded to the side and copied into the pool when it is kept.
  constexpr auto kMost = ExperimentMemo::kMostKept;
  ExperimentMemo memo(6000, 100);
  std::vector<Vertex> small(40);
  for (Vertex v = 0; v < 40; ++v) small[v] = v;
  remember(memo, 1, 0, true, 0, 6000, small, faces_from(1), 3.0f, 3);
  std::vector<Vertex> large(kMost);
  for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<Vertex>(50 + i % 50);
  remember(memo, 2, 0, true, 0, 6000, large, faces_from(2), 4.0f, 3);

  const RememberedExperiment* found = memo.find(1, 0, true);
  ASSERT_NE(found, nullptr);
  EXPECT_TRUE(found->complete);
  EXPECT_EQ(found->vertex_count, 40u);
  EXPECT_EQ(first_strip(memo, *found), faces_from(1));

  found = memo.find(2, 0, true);
  ASSERT_NE(found, nullptr) << "its first strip is kept";
  EXPECT_FALSE(found->complete) << "the rest is built again";
  EXPECT_EQ(found->vertex_count, 3u);
  EXPECT_EQ(first_strip(memo, *found), faces_from(2));
  // A commit on a vertex beyond its first strip does not touch it.
  const Vertex beyond[3] = {60, 61, 62};
  memo.committed(beyond, 0);
  found = memo.find(2, 0, true);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(first_strip(memo, *found), faces_from(2));
  const Vertex on_first[3] = {50, 99, 98};
  memo.committed(on_first, 0);
  EXPECT_EQ(memo.find(2, 0, true), nullptr);

  // A first strip too large to keep leaves nothing, not the experiment
  // recorded there before.
  remember(memo, 1, 0, true, 1, 6000, large, faces_from(1), 5.0f,
           static_cast<std::uint32_t>(kMost));
  EXPECT_EQ(memo.find(1, 0, true), nullptr);
}

}  // namespace
}  // namespace model3da::strips
