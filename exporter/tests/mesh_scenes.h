// Meshes, materials and skins for export tests, and readers of a loaded
// surface's per-vertex arrays.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "host/scene_builder.h"
#include "model3da/model.h"

namespace scenepress::testing {

struct TestFace {
  uint32_t a, b, c;
  uint32_t groups = 1;
  uint16_t material = 0;
};

// A mesh of these vertices and faces whose channel 1 has one map vertex per
// mesh vertex, (x, y) of the vertex, with the same faces.
std::shared_ptr<TriObject> mesh_object(const std::vector<Point3>& verts,
                                       const std::vector<TestFace>& faces);

// A cube of side 2 around the origin, faces wound outwards, the sides +x,
// +y, +z with material id 0, the others 1; each side in its own smoothing
// group (flat) or all in group 1 (smooth). Channel 1 has one map vertex.
std::shared_ptr<TriObject> cube_object(bool smooth);

// A UV sphere of radius `radius` around the origin in the host's axes (z
// up): one vertex at each pole and rings - 1 rings of `segments` vertices,
// faces wound outwards, map channel 1 with (segments + 1) x (rings + 1)
// vertices and a seam, the four latitude bands in smoothing groups 1, 2, 4,
// 8 and material ids 0, 1, 2, 0.
std::shared_ptr<TriObject> sphere_object(int segments, int rings, float radius = 1.0f);

// A standard material with a bitmap as its diffuse map.
std::shared_ptr<host::StandardMaterial> textured_material(const std::string& name,
                                                          const std::string& bitmap);
// A multi/sub-object material of textured materials.
std::shared_ptr<Mtl> multi_material(const std::vector<std::string>& names);

// The object `base` under a derived object holding `modifiers`.
std::shared_ptr<host::DerivedObject> with_modifiers(
    std::shared_ptr<Object> base, std::vector<std::shared_ptr<Modifier>> modifiers);

// Skins `skinned`, whose mesh is `mesh`, to two bones half a unit below and
// above the origin: each vertex is rigid-blended to `upper` above the
// equator and `lower` below it, blended over the middle fifth (|z| < 0.2).
void bind_to_two_bones(host::PhysiqueModifier& physique, host::SceneNode& skinned, const Mesh& mesh,
                       host::SceneNode& lower, host::SceneNode& upper);

// Per-vertex data of a loaded surface.
model3da::Vec3 normal_of(const model3da::Model& m, const model3da::SurfaceView& s, uint32_t v);
model3da::Vec3 tangent_of(const model3da::Model& m, const model3da::SurfaceView& s, uint32_t v);
uint32_t color_of(const model3da::Model& m, const model3da::SurfaceView& s, uint32_t v);
model3da::Vec2 uv_of(const model3da::Model& m, const model3da::SurfaceView& s, int channel,
                     uint32_t v);
std::array<uint8_t, 12> skin_of(const model3da::Model& m, const model3da::SurfaceView& s,
                                uint32_t v);
// The list indices of a surface.
std::vector<uint16_t> list_of(const model3da::Model& m, const model3da::SurfaceView& s);
// The positions of a surface's triangle t, in list order.
std::array<model3da::Vec3, 3> triangle_of(const model3da::Model& m, const model3da::SurfaceView& s,
                                          uint32_t t);
// The vertex of a surface at `p` (exactly), or -1.
int vertex_at(const model3da::Model& m, const model3da::SurfaceView& s, const model3da::Vec3& p);

model3da::Vec3 cross(const model3da::Vec3& a, const model3da::Vec3& b);
model3da::Vec3 minus(const model3da::Vec3& a, const model3da::Vec3& b);
float dot(const model3da::Vec3& a, const model3da::Vec3& b);

}  // namespace scenepress::testing
