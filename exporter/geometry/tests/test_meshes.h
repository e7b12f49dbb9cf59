// Meshes built in code for the geometry tests, and the round trip of a
// result through a whole .3da file.
#pragma once

#include <memory>
#include <random>
#include <string>

#include "geometry/geometry_export.h"
#include "geometry/mesh_input.h"
#include "model3da/model.h"

namespace geometry::testing {

// The host-axes face normal of a triangle whose corners are given in the
// file's axes: the inverse of the axis conversion applied to the unit cross
// product (p1 - p0) x (p2 - p0).
Vec3 host_normal(const Vec3& p0, const Vec3& p1, const Vec3& p2);

// Fills input.face_normals from the positions and faces.
void set_host_normals(MeshInput& input);

// A cube from -1 to 1, vertex i at ((i & 1) ? 1 : -1, (i & 2) ? 1 : -1,
// (i & 4) ? 1 : -1), two triangles per side, each side's diagonal through
// the side's corner with the largest coordinate sum. The sides +x, +y, +z
// have material 0, the others material 1. Smooth: every face in group 1;
// flat: each side its own group. Map channel 1 holds a single map vertex
// (0.25, 0.75) used by every corner.
MeshInput cube(bool smooth);

// A random mesh for comparisons: `vertex_count` positions on a coarse grid,
// `face_count` random faces (degenerate ones included), smoothing groups
// from four groups and none, three materials, map channel 1 on a coarse grid
// of UVs, random host normals (some zero).
MeshInput random_mesh(std::mt19937& rng, int vertex_count, int face_count);

// The result written as one mesh node of a whole .3da file and loaded back;
// null (and a test failure) when either step fails.
std::unique_ptr<model3da::Model> load_as_file(const GeometryResult& result,
                                              const std::string& name = "Mesh_0");

}  // namespace geometry::testing
