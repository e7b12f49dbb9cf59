// Random scenes from a byte string.
#include "random_scene.h"

#include <cmath>
#include <limits>
#include <vector>

#include "host/class_ids.h"
#include "model3da/byte_io.h"

namespace scenepress::testing {
namespace {

// A coordinate: a quarter step in -1..1, or in a wild scene now and then
// NaN, infinity, huge or tiny.
float value(ByteSource& in, bool wild) {
  if (wild) {
    switch (in.range(0, 9)) {
      case 0:
        return std::numeric_limits<float>::quiet_NaN();
      case 1:
        return std::numeric_limits<float>::infinity();
      case 2:
        return 3e38f;
      case 3:
        return 1e-30f;
      default:
        break;
    }
  }
  return (float(in.range(0, 8)) - 4.0f) * 0.25f;
}

Point3 point(ByteSource& in, bool wild) {
  const float x = value(in, wild), y = value(in, wild);
  return Point3(x, y, value(in, wild));
}

// A channel of `face_count` map faces (one more or less in a wild scene).
void random_map(ByteSource& in, bool wild, size_t face_count, MeshMap& map) {
  const uint32_t vertex_count = in.range(0, 6);
  for (uint32_t i = 0; i < vertex_count; ++i) map.tv.push_back(point(in, wild));
  size_t faces = face_count;
  if (wild && in.range(0, 3) == 0) faces = in.flag() ? faces + 1 : (faces > 0 ? faces - 1 : 0);
  for (size_t f = 0; f < faces; ++f) {
    TVFace t;
    for (uint32_t& index : t.t) index = in.range(0, vertex_count + (wild ? 1 : 0));
    map.tf.push_back(t);
  }
}

std::shared_ptr<Mtl> random_material(ByteSource& in) {
  switch (in.range(0, 3)) {
    case 0:
      return nullptr;
    case 1: {
      auto m = std::make_shared<host::StandardMaterial>("Plain");
      m->maps[ID_DI] = std::make_shared<host::BitmapMap>("plain.tga");
      return m;
    }
    default: {
      std::vector<std::shared_ptr<Mtl>> subs;
      const uint32_t count = in.range(1, 3);
      for (uint32_t i = 0; i < count; ++i) {
        auto m = std::make_shared<host::StandardMaterial>("Sub" + std::to_string(i));
        m->diffuse = Color{float(i), 0, 0};
        m->maps[ID_DI] = std::make_shared<host::BitmapMap>("sub" + std::to_string(i) + ".tga");
        subs.push_back(m);
      }
      return std::make_shared<host::MaterialWithSubs>(MULTI_CLASS_ID, "Multi", subs);
    }
  }
}

float offset_scale(ByteSource& in) {
  static constexpr float kScales[] = {1, 1, 1, -1, 2, 0};
  return kScales[in.range(0, 5)];
}

}  // namespace

uint32_t ByteSource::range(uint32_t lo, uint32_t hi) {
  const uint32_t span = hi - lo + 1;
  uint32_t raw = byte();
  if (span > 256) raw |= uint32_t(byte()) << 8;
  return lo + raw % span;
}

void build_random_scene(ByteSource& in, host::SceneBuilder& builder) {
  const bool wild = in.range(0, 3) == 0;
  std::vector<host::SceneNode*> bones;
  const uint32_t bone_count = in.range(0, 3);
  for (uint32_t i = 0; i < bone_count; ++i) {
    host::SceneNode& bone = builder.dummy("Bone" + std::to_string(i) + "_0");
    bone.hidden = wild && in.range(0, 7) == 0;
    bones.push_back(&bone);
  }

  auto object = std::make_shared<TriObject>();
  Mesh& mesh = object->mesh;
  const uint32_t vertex_count = in.range(0, 12);
  for (uint32_t i = 0; i < vertex_count; ++i) mesh.verts.push_back(point(in, wild));
  const uint32_t face_count = in.range(0, 16);
  for (uint32_t f = 0; f < face_count; ++f) {
    Face face;
    for (uint32_t& v : face.v) v = in.range(0, vertex_count + (wild ? 1 : 0));
    face.smGroup = in.byte();
    face.matID = uint16_t(in.range(0, 3));
    mesh.faces.push_back(face);
  }
  mesh.setNumMaps(int(in.range(0, 5)));
  for (int c = 0; c < mesh.getNumMaps(); ++c)
    if (in.flag()) random_map(in, wild, face_count, *mesh.Map(c));
  if (in.flag()) random_map(in, wild, face_count, *mesh.Map(MAP_ALPHA));

  std::shared_ptr<Object> top = object;
  std::shared_ptr<host::PhysiqueModifier> physique;
  if (!bones.empty() && in.range(0, 3) != 0) {
    physique = std::make_shared<host::PhysiqueModifier>();
    top = std::make_shared<host::DerivedObject>(object,
                                                std::vector<std::shared_ptr<Modifier>>{physique});
  }
  const char* name = in.range(0, 7) == 0 ? "lipMesh_0" : "Mesh_0";
  host::SceneNode& node = builder.node(name, top);
  node.material = random_material(in);
  node.offset_scale =
      ScaleValue{Point3(offset_scale(in), offset_scale(in), offset_scale(in)), Quat()};
  if (in.flag())
    node.offset_rotation = QFromAngAxis(0.5f * float(in.range(0, 12)), Point3(0, 0, 1));
  node.offset_position = point(in, false);

  if (physique) {
    for (host::SceneNode* bone : bones) {
      if (wild && in.range(0, 5) == 0) continue;  // no bind transform
      Matrix3 tm = TransMatrix(point(in, wild));
      if (wild && in.range(0, 5) == 0) tm.SetRow(2, Point3());  // singular
      physique->init_tm[bone] = tm;
    }
    uint32_t count = vertex_count;
    if (wild && in.range(0, 3) == 0) count = in.range(0, vertex_count + 1);
    std::vector<host::PhysiqueVertex>& vertices = physique->vertices[&node];
    for (uint32_t i = 0; i < count; ++i) {
      host::PhysiqueVertex v;
      static constexpr int kTypes[] = {RIGID_TYPE, RIGID_BLENDED_TYPE, RIGID_BLENDED_TYPE,
                                       FLOATING_TYPE};
      v.type = kTypes[in.range(0, wild ? 3 : 2)];
      const uint32_t links = in.range(wild && v.type != RIGID_TYPE ? 0 : 1, 3);
      for (uint32_t k = 0; k < links; ++k) {
        INode* bone = bones[in.range(0, uint32_t(bones.size() - 1))];
        if (wild && in.range(0, 7) == 0) bone = nullptr;
        v.links.push_back({bone, value(in, wild) + 1.0f, point(in, wild)});
      }
      vertices.push_back(v);
    }
  }
}

std::string check_exported_surfaces(const model3da::Model& model) {
  for (const model3da::NodeView& node : model.nodes) {
    for (const model3da::SurfaceView& s : node.surfaces) {
      const model3da::SurfaceRecord& r = s.record;
      if (r.vertexCount > 65535) return node.record.name + ": more than 65535 vertices";
      auto finite = [&](uint32_t offset, uint32_t floats_per_vertex) {
        if (offset == 0) return true;
        for (uint32_t i = 0; i < r.vertexCount * floats_per_vertex; ++i)
          if (!std::isfinite(model3da::read_f32(model.block.data() + offset + 4 * size_t(i))))
            return false;
        return true;
      };
      if (!finite(r.positionsOffset, 3) || !finite(r.normalsOffset, 3) ||
          !finite(r.tangentsOffset, 3)) {
        return node.record.name + ": a position, normal or tangent that is not finite";
      }
      for (uint32_t uv : r.uvOffset)
        if (!finite(uv, 2)) return node.record.name + ": a texture coordinate that is not finite";
    }
  }
  return {};
}

}  // namespace scenepress::testing
