// Smoothing groups from per-corner normals.
//
// Faces that share a vertex and have the same normal there (within
// `cos_tolerance` of the angle between them) are one smooth region; the
// region's faces get one group bit, and regions that meet at a vertex get
// different bits, so that the exporter's smoothing (a face's normal is
// averaged with the faces at a vertex that share a group with it) gives the
// source's normals back: hard edges stay hard, soft ones soft. A region of
// one face gets no group. With more than 32 regions around one another a
// region may have to share a bit; `shared` counts those.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "host/point3.h"

namespace scene_import {

struct SmoothingResult {
  std::vector<uint32_t> groups;  // one mask per face
  size_t shared = 0;
};

// `faces` name vertices below `vertex_count`; `normals` holds one normal per
// face corner (3 per face).
SmoothingResult smoothing_groups(std::span<const std::array<uint32_t, 3>> faces,
                                 std::span<const Point3> normals, size_t vertex_count,
                                 float cos_tolerance = 0.9995f);

// The same groups for faces that name source vertices, each with one normal
// and the vertex (below `vertex_count`) it was welded into: every corner at
// a source vertex has that vertex's normal, so the work is done once per
// source vertex instead of once per corner. `source_faces` name source
// vertices below `source_normals.size()`; `welded_into` has one entry per
// source vertex. Out-of-range input gives no groups.
SmoothingResult smoothing_groups_of_source(std::span<const std::array<uint32_t, 3>> source_faces,
                                           std::span<const Point3> source_normals,
                                           std::span<const uint32_t> welded_into,
                                           size_t vertex_count, float cos_tolerance = 0.9995f);

}  // namespace scene_import
