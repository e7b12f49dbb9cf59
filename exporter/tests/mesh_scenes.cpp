// Test meshes (a mesh from lists, a cube, a UV sphere), materials and
// surface readers.
#include "mesh_scenes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "../geometry/tests/cube_sides.h"
#include "host/class_ids.h"
#include "model3da/byte_io.h"

namespace scenepress::testing {
namespace {

const std::byte* at(const model3da::Model& m, uint32_t offset, uint32_t v, uint32_t size) {
  return m.block.data() + offset + size_t(v) * size;
}

model3da::Vec3 vec3_at(const std::byte* p) {
  return {model3da::read_f32(p), model3da::read_f32(p + 4), model3da::read_f32(p + 8)};
}

}  // namespace

std::shared_ptr<TriObject> mesh_object(const std::vector<Point3>& verts,
                                       const std::vector<TestFace>& faces) {
  auto object = std::make_shared<TriObject>();
  Mesh& mesh = object->mesh;
  mesh.verts = verts;
  mesh.setNumMaps(2);
  MeshMap* map = mesh.Map(1);
  for (const Point3& p : verts) map->tv.push_back(UVVert(p.x, p.y, 0));
  for (const TestFace& f : faces) {
    Face face;
    face.v[0] = f.a;
    face.v[1] = f.b;
    face.v[2] = f.c;
    face.smGroup = f.groups;
    face.matID = f.material;
    mesh.faces.push_back(face);
    TVFace tv;
    tv.t[0] = f.a;
    tv.t[1] = f.b;
    tv.t[2] = f.c;
    map->tf.push_back(tv);
  }
  return object;
}

std::shared_ptr<TriObject> cube_object(bool smooth) {
  auto object = std::make_shared<TriObject>();
  Mesh& mesh = object->mesh;
  for (uint32_t i = 0; i < 8; ++i) {
    const std::array<float, 3> p = cube_sides::corner(i);
    mesh.verts.push_back(Point3(p[0], p[1], p[2]));
  }
  for (int s = 0; s < cube_sides::kSides; ++s) {
    for (const std::array<uint32_t, 3>& tri : cube_sides::triangles(s)) {
      Face face;
      for (int k = 0; k < 3; ++k) face.v[k] = tri[size_t(k)];
      face.smGroup = smooth ? 1u : 1u << s;
      face.matID = s < 3 ? 0 : 1;
      mesh.faces.push_back(face);
    }
  }
  mesh.setNumMaps(2);
  mesh.Map(1)->tv = {UVVert(0.25f, 0.75f, 0)};
  mesh.Map(1)->tf.assign(mesh.faces.size(), TVFace{});
  return object;
}

std::shared_ptr<TriObject> sphere_object(int segments, int rings, float radius) {
  auto object = std::make_shared<TriObject>();
  Mesh& mesh = object->mesh;
  const double pi = std::numbers::pi;
  mesh.verts.push_back(Point3(0, 0, radius));
  for (int r = 1; r < rings; ++r) {
    const double theta = pi * r / rings;
    for (int s = 0; s < segments; ++s) {
      const double phi = 2 * pi * s / segments;
      mesh.verts.push_back(Point3(float(radius * std::sin(theta) * std::cos(phi)),
                                  float(radius * std::sin(theta) * std::sin(phi)),
                                  float(radius * std::cos(theta))));
    }
  }
  mesh.verts.push_back(Point3(0, 0, -radius));
  const uint32_t south = uint32_t(mesh.verts.size() - 1);
  auto vertex = [&](int r, int s) {
    if (r == 0) return 0u;
    if (r == rings) return south;
    return uint32_t(1 + (r - 1) * segments + s % segments);
  };
  mesh.setNumMaps(2);
  MeshMap& map = *mesh.Map(1);
  for (int r = 0; r <= rings; ++r)
    for (int s = 0; s <= segments; ++s)
      map.tv.push_back(UVVert(float(s) / float(segments), 1.0f - float(r) / float(rings), 0));
  auto map_vertex = [&](int r, int s) { return uint32_t(r * (segments + 1) + s); };
  auto add = [&](int r0, int s0, int r1, int s1, int r2, int s2) {
    Face f;
    f.v[0] = vertex(r0, s0);
    f.v[1] = vertex(r1, s1);
    f.v[2] = vertex(r2, s2);
    const int band = 4 * std::min(r0, r1) / rings;
    f.smGroup = 1u << band;
    f.matID = uint16_t(band % 3);
    mesh.faces.push_back(f);
    TVFace t;
    t.t[0] = map_vertex(r0, s0);
    t.t[1] = map_vertex(r1, s1);
    t.t[2] = map_vertex(r2, s2);
    map.tf.push_back(t);
  };
  for (int r = 0; r < rings; ++r) {
    for (int s = 0; s < segments; ++s) {
      if (r != 0) add(r, s, r + 1, s, r, s + 1);
      if (r != rings - 1) add(r, s + 1, r + 1, s, r + 1, s + 1);
    }
  }
  return object;
}

std::shared_ptr<host::StandardMaterial> textured_material(const std::string& name,
                                                          const std::string& bitmap) {
  auto material = std::make_shared<host::StandardMaterial>(name);
  material->diffuse = Color{0.5f, 0.5f, 0.5f};
  material->maps[ID_DI] = std::make_shared<host::BitmapMap>(bitmap);
  return material;
}

std::shared_ptr<Mtl> multi_material(const std::vector<std::string>& names) {
  std::vector<std::shared_ptr<Mtl>> subs;
  for (size_t i = 0; i < names.size(); ++i) {
    auto m = textured_material(names[i], names[i] + ".tga");
    m->diffuse = Color{0.1f * float(i), 0.2f, 0.3f};  // unequal, so not shared
    subs.push_back(m);
  }
  return std::make_shared<host::MaterialWithSubs>(MULTI_CLASS_ID, "Multi", subs);
}

std::shared_ptr<host::DerivedObject> with_modifiers(
    std::shared_ptr<Object> base, std::vector<std::shared_ptr<Modifier>> modifiers) {
  return std::make_shared<host::DerivedObject>(std::move(base), std::move(modifiers));
}

void bind_to_two_bones(host::PhysiqueModifier& physique, host::SceneNode& skinned, const Mesh& mesh,
                       host::SceneNode& lower, host::SceneNode& upper) {
  physique.init_tm[&lower] = TransMatrix(Point3(0, 0, -0.5f));
  physique.init_tm[&upper] = TransMatrix(Point3(0, 0, 0.5f));
  const Matrix3 to_lower = Inverse(physique.init_tm[&lower]);
  const Matrix3 to_upper = Inverse(physique.init_tm[&upper]);
  for (const Point3& p : mesh.verts) {
    const float w = std::clamp(0.5f + p.z * 2.5f, 0.0f, 1.0f);
    physique.vertices[&skinned].push_back(
        {RIGID_BLENDED_TYPE, {{&upper, w, p * to_upper}, {&lower, 1 - w, p * to_lower}}});
  }
}

model3da::Vec3 normal_of(const model3da::Model& m, const model3da::SurfaceView& s, uint32_t v) {
  return vec3_at(at(m, s.record.normalsOffset, v, 12));
}

model3da::Vec3 tangent_of(const model3da::Model& m, const model3da::SurfaceView& s, uint32_t v) {
  return vec3_at(at(m, s.record.tangentsOffset, v, 12));
}

uint32_t color_of(const model3da::Model& m, const model3da::SurfaceView& s, uint32_t v) {
  return model3da::read_u32(at(m, s.record.colorsOffset, v, 4));
}

model3da::Vec2 uv_of(const model3da::Model& m, const model3da::SurfaceView& s, int channel,
                     uint32_t v) {
  const std::byte* p = at(m, s.record.uvOffset[size_t(channel)], v, 8);
  return {model3da::read_f32(p), model3da::read_f32(p + 4)};
}

std::array<uint8_t, 12> skin_of(const model3da::Model& m, const model3da::SurfaceView& s,
                                uint32_t v) {
  std::array<uint8_t, 12> out{};
  const std::byte* p = at(m, s.record.skinOffset, v, 12);
  for (size_t k = 0; k < 12; ++k) out[k] = uint8_t(p[k]);
  return out;
}

std::vector<uint16_t> list_of(const model3da::Model& m, const model3da::SurfaceView& s) {
  std::vector<uint16_t> out;
  for (uint32_t k = 0; k < s.record.listIndexCount; ++k) out.push_back(m.list_index(s, k));
  return out;
}

std::array<model3da::Vec3, 3> triangle_of(const model3da::Model& m, const model3da::SurfaceView& s,
                                          uint32_t t) {
  return {m.position(s, m.list_index(s, 3 * t)), m.position(s, m.list_index(s, 3 * t + 1)),
          m.position(s, m.list_index(s, 3 * t + 2))};
}

int vertex_at(const model3da::Model& m, const model3da::SurfaceView& s, const model3da::Vec3& p) {
  for (uint32_t v = 0; v < s.record.vertexCount; ++v)
    if (m.position(s, v) == p) return int(v);
  return -1;
}

model3da::Vec3 cross(const model3da::Vec3& a, const model3da::Vec3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

model3da::Vec3 minus(const model3da::Vec3& a, const model3da::Vec3& b) {
  return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

float dot(const model3da::Vec3& a, const model3da::Vec3& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

}  // namespace scenepress::testing
