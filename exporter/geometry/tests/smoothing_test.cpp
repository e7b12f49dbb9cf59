// Smoothing by the closure over smoothing groups, against the plain
// definition.
#include "geometry/smoothing.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>

#include "geometry/face_vectors.h"

namespace geometry {
namespace {

// The plain definition, corner by corner: widen the face's mask by every
// face around the vertex whose groups meet it, scanning again until nothing
// changes; then add the face's own vector and those of the other faces
// around the vertex whose groups meet the mask. Cubic in the faces around a
// vertex; kept as the oracle.
CornerVectors plain_smoothing(std::span<const Triangle> faces, std::span<const uint32_t> groups,
                              std::span<const Vec3> normals, std::span<const Vec3> tangents) {
  CornerVectors out;
  for (size_t f = 0; f < faces.size(); ++f) {
    for (uint32_t v : faces[f]) {
      std::vector<size_t> around;
      for (size_t g = 0; g < faces.size(); ++g)
        if (g != f && (faces[g][0] == v || faces[g][1] == v || faces[g][2] == v))
          around.push_back(g);
      uint32_t mask = groups[f];
      for (bool changed = true; changed;) {
        changed = false;
        for (size_t g : around) {
          if ((groups[g] & mask) != 0 && (groups[g] | mask) != mask) {
            mask |= groups[g];
            changed = true;
          }
        }
      }
      double n[3] = {normals[f][0], normals[f][1], normals[f][2]};
      double t[3] = {tangents[f][0], tangents[f][1], tangents[f][2]};
      for (size_t g : around) {
        if ((groups[g] & mask) == 0) continue;
        for (int k = 0; k < 3; ++k) {
          n[k] += normals[g][k];
          t[k] += tangents[g][k];
        }
      }
      out.normals.push_back(unit_or_fallback(n, kMinNormalLengthSquared, kFallbackNormal));
      out.tangents.push_back(unit_or_fallback(t, kMinTangentLengthSquared, kFallbackTangent));
    }
  }
  return out;
}

void expect_near(const Vec3& a, const Vec3& b, const char* what, size_t corner) {
  for (int k = 0; k < 3; ++k)
    ASSERT_NEAR(a[k], b[k], 1e-5) << what << " of corner " << corner << ", component " << k;
}

Vec3 unit(float x, float y, float z) {
  return unit_or_zero({x, y, z});
}

// Four faces around vertex 0, each with its own other two vertices.
struct Fan {
  std::vector<Triangle> faces;
  std::vector<Vec3> normals;
  std::vector<Vec3> tangents;
};

Fan fan(std::vector<Vec3> normals) {
  Fan f;
  for (uint32_t i = 0; i < normals.size(); ++i) f.faces.push_back({0, 1 + 2 * i, 2 + 2 * i});
  f.normals = std::move(normals);
  f.tangents.assign(f.normals.size(), Vec3{1, 0, 0});
  return f;
}

TEST(SmoothingTest, ClosureRunsThroughSharedGroupsOnly) {
  // A in group 1, B in groups 1 and 2, C in group 2, D in group 4, E none.
  const Fan f = fan({{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, -1, 0}, {-1, 0, 0}});
  const std::vector<uint32_t> groups{1, 1 | 2, 2, 4, 0};
  const CornerVectors c = smooth_corners(f.faces, groups, f.normals, f.tangents, 11);
  // A, B and C are joined through B: their corners at vertex 0 share the sum.
  for (int face : {0, 1, 2}) expect_near(c.normals[3 * face], unit(1, 1, 1), "normal", face);
  // D and E keep their own normals, at vertex 0 and at their other corners.
  expect_near(c.normals[9], {0, -1, 0}, "normal", 9);
  expect_near(c.normals[12], {-1, 0, 0}, "normal", 12);
  expect_near(c.normals[13], {-1, 0, 0}, "normal", 13);
}

TEST(SmoothingTest, ZeroAndOppositeSumsFallBack) {
  // A zero-length face normal contributes nothing: the corner takes the
  // other face's normal exactly.
  Fan f = fan({{0, 0, 0}, {0, 0, 1}});
  CornerVectors c = smooth_corners(f.faces, std::vector<uint32_t>{1, 1}, f.normals, f.tangents, 5);
  EXPECT_EQ(c.normals[0], (Vec3{0, 0, 1}));
  EXPECT_EQ(c.normals[3], (Vec3{0, 0, 1}));
  // A face alone with a zero normal, and two opposite faces, fall back to
  // (0, 1, 0); opposite tangents to (1, 0, 0).
  EXPECT_EQ(c.normals[1], kFallbackNormal);
  f = fan({{0, 0, 1}, {0, 0, -1}});
  f.tangents = {{0, 0, 1}, {0, 0, -1}};
  c = smooth_corners(f.faces, std::vector<uint32_t>{1, 1}, f.normals, f.tangents, 5);
  EXPECT_EQ(c.normals[0], kFallbackNormal);
  EXPECT_EQ(c.tangents[0], kFallbackTangent);
  // Nearly opposite: squared length 0.000004 of the normal sum is below
  // 0.00001, and 0.000004 of the tangent sum is not below 0.000001.
  f.normals = {unit_or_zero({0.001f, 0, 1}), unit_or_zero({0.001f, 0, -1})};
  f.tangents = {unit_or_zero({0, 0.001f, 1}), unit_or_zero({0, 0.001f, -1})};
  c = smooth_corners(f.faces, std::vector<uint32_t>{1, 1}, f.normals, f.tangents, 5);
  EXPECT_EQ(c.normals[0], kFallbackNormal);
  expect_near(c.tangents[0], {0, 1, 0}, "tangent", 0);
}

TEST(SmoothingTest, MatchesThePlainClosureOnRandomMeshes) {
  std::mt19937 rng(20261208);
  for (int round = 0; round < 60; ++round) {
    const uint32_t vertex_count = 4 + round % 12;
    const int face_count = 10 + 7 * round;
    std::uniform_int_distribution<uint32_t> vertex(0, vertex_count - 1);
    // Groups from five bits, none in about one face of eight.
    std::uniform_int_distribution<uint32_t> group_bits(0, 31);
    std::normal_distribution<float> component(0.0f, 1.0f);
    std::vector<Triangle> faces;
    std::vector<uint32_t> groups;
    std::vector<Vec3> normals, tangents;
    while (faces.size() < size_t(face_count)) {
      const Triangle t{vertex(rng), vertex(rng), vertex(rng)};
      if (t[0] == t[1] || t[1] == t[2] || t[0] == t[2]) continue;
      faces.push_back(t);
      const uint32_t bits = group_bits(rng);
      groups.push_back(bits % 8 == 0 ? 0 : 1u << (bits % 5) | (bits > 24 ? 1u << (bits % 3) : 0));
      normals.push_back(faces.size() % 11 == 0
                            ? Vec3{0, 0, 0}
                            : unit_or_zero({component(rng), component(rng), component(rng)}));
      tangents.push_back(unit_or_zero({component(rng), component(rng), component(rng)}));
    }
    const CornerVectors fast = smooth_corners(faces, groups, normals, tangents, vertex_count);
    const CornerVectors plain = plain_smoothing(faces, groups, normals, tangents);
    ASSERT_EQ(fast.normals.size(), plain.normals.size());
    for (size_t c = 0; c < plain.normals.size(); ++c) {
      SCOPED_TRACE(testing::Message() << "round " << round);
      expect_near(fast.normals[c], plain.normals[c], "normal", c);
      expect_near(fast.tangents[c], plain.tangents[c], "tangent", c);
    }
  }
}

TEST(SmoothingTest, AMeshSmoothAllOverGivesTheSameBitsAsLinkedGroups) {
  // Every face in group 1 takes the whole-mesh path; groups 1 and 3 taking
  // turns link into the same single set around every vertex, through the
  // per-vertex path. The sums must be the same to the last bit.
  std::mt19937 rng(1208);
  std::normal_distribution<float> component(0.0f, 1.0f);
  for (int round = 0; round < 20; ++round) {
    const uint32_t vertex_count = 6 + uint32_t(round);  // the last ones unused
    std::uniform_int_distribution<uint32_t> vertex(0, vertex_count - 3);
    std::vector<Triangle> faces;
    std::vector<Vec3> normals, tangents;
    while (faces.size() < 40) {
      const Triangle t{vertex(rng), vertex(rng), vertex(rng)};
      if (t[0] == t[1] || t[1] == t[2] || t[0] == t[2]) continue;
      faces.push_back(t);
      normals.push_back(faces.size() % 9 == 0 ? Vec3{0, 0, 0}
                                              : Vec3{component(rng), component(rng), 1e-3f});
      tangents.push_back({component(rng), 1e-4f, component(rng)});
    }
    std::vector<uint32_t> one(faces.size(), 1), linked(faces.size(), 1);
    for (size_t f = 1; f < faces.size(); f += 2) linked[f] = 3;
    const CornerVectors a = smooth_corners(faces, one, normals, tangents, vertex_count);
    const CornerVectors b = smooth_corners(faces, linked, normals, tangents, vertex_count);
    ASSERT_EQ(a.normals.size(), faces.size() * 3);
    for (size_t c = 0; c < a.normals.size(); ++c) {
      SCOPED_TRACE(testing::Message() << "round " << round << ", corner " << c);
      for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(std::bit_cast<uint32_t>(a.normals[c][k]),
                  std::bit_cast<uint32_t>(b.normals[c][k]));
        EXPECT_EQ(std::bit_cast<uint32_t>(a.tangents[c][k]),
                  std::bit_cast<uint32_t>(b.tangents[c][k]));
      }
    }
  }
}

}  // namespace
}  // namespace geometry
