// A generated glTF scene for the benchmark: `nodes` nodes in a grid, each
// with its own mesh, a UV sphere of `rings` x `segments` quads (two
// triangles each) with normals and texture coordinates, all sharing one
// textured material.
#pragma once

#include <filesystem>

namespace bench_scenepress {

// Writes the scene as one binary glTF file; returns its triangle count.
size_t write_sphere_scene(const std::filesystem::path& path, int nodes, int rings, int segments);

}  // namespace bench_scenepress
