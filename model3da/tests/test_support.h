// Builders of small .3da files shared by the model3da tests.
#pragma once

#include <string>
#include <vector>

#include "model3da/writer.h"

namespace model3da::testing {

// A helper node with three one-key linear tracks.
NodeData helper_node(const std::string& name, Vec3 position = {0, 0, 0},
                     int16_t parent = kNoParent);

// A mesh node of `triangles` separate triangles (three vertices each), laid
// out along x one unit apart, with static tracks at `position`.
NodeData mesh_node(const std::string& name, int triangles, Vec3 position = {0, 0, 0},
                   uint32_t material = kNoMaterial);

// A linear position track with two keys (frames 0 and 10), so the node is
// animated.
std::unique_ptr<Track_c> moving_track(Vec3 from, Vec3 to);

// The whole file of these nodes and materials (collision section included).
Bytes build_file(std::vector<NodeData> nodes, std::vector<MaterialRecord> materials = {},
                 const CrashLogSink& log = {});

// Loads `bytes` and fails the test when it does not load.
std::unique_ptr<Model> load_ok(const Bytes& bytes);

}  // namespace model3da::testing
