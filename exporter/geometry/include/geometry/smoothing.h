// Corner normals and tangents by smoothing groups.
//
// For a corner of face f at vertex v, the mask starts as f's smoothing groups
// and is widened to its closure over the faces around v: a face whose groups
// meet the mask adds its groups, until nothing changes. The corner's vector
// is f's own plus those of every other face around v whose groups meet the
// closed mask. A face without groups is smoothed with nothing.
//
// The closure is the set of groups connected to f's through faces around v,
// so it is found per vertex with a union over the (at most 32) groups, in
// time linear in the faces around the vertex.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "geometry/mesh_input.h"

namespace geometry {

inline constexpr double kMinNormalLengthSquared = 0.00001;
inline constexpr double kMinTangentLengthSquared = 0.000001;
inline constexpr Vec3 kFallbackNormal{0, 1, 0};
inline constexpr Vec3 kFallbackTangent{1, 0, 0};

struct CornerVectors {
  std::vector<Vec3> normals;   // 3 per face, corner order
  std::vector<Vec3> tangents;  // 3 per face
};

// Smooths the face vectors over the faces' corners. Faces must be legal
// (indices below `vertex_count`) and not degenerate. The sums are scaled to
// unit length; a normal whose squared length is below 0.00001 becomes
// (0, 1, 0), a tangent below 0.000001 becomes (1, 0, 0).
CornerVectors smooth_corners(std::span<const Triangle> faces,
                             std::span<const uint32_t> smoothing_groups,
                             std::span<const Vec3> face_normals,
                             std::span<const Vec3> face_tangents, std::size_t vertex_count);

// The same into the caller's arrays of 3 entries per face, every one of
// which is written.
void smooth_corners(std::span<const Triangle> faces, std::span<const uint32_t> smoothing_groups,
                    std::span<const Vec3> face_normals, std::span<const Vec3> face_tangents,
                    std::size_t vertex_count, std::span<Vec3> corner_normals,
                    std::span<Vec3> corner_tangents);

// True when every face has the same non-zero groups, a mesh smooth all
// over: then each vertex is smoothed over all its faces and has the same
// vectors at all its corners.
bool smooth_as_one_set(std::span<const uint32_t> smoothing_groups);

// That case per vertex: each vertex's unit sums over its faces, the same
// bits smooth_corners gives its corners (a vertex without faces gets the
// fallbacks). The arrays hold one entry per vertex.
void smooth_vertices(std::span<const Triangle> faces, std::span<const Vec3> face_normals,
                     std::span<const Vec3> face_tangents, std::size_t vertex_count,
                     std::span<Vec3> vertex_normals, std::span<Vec3> vertex_tangents);

// The final scaling of a smoothed sum: unit length, or `fallback` when its
// squared length is below `min_length_squared` or it is not finite.
Vec3 unit_or_fallback(const double sum[3], double min_length_squared, const Vec3& fallback);

}  // namespace geometry
