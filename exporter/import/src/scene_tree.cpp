// The host scene as text: nodes with their kinds, meshes, materials, skins
// and controllers.
#include <algorithm>
#include <bit>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "host/class_ids.h"
#include "host/memory_objects.h"
#include "import/scene_import.h"

namespace scene_import {
namespace {

// Numbers as %g, without the sign of a negative zero.
float shown(float f) {
  return f == 0.0f ? 0.0f : f;
}

std::string point(const Point3& p) {
  return fmt::format("({:g}, {:g}, {:g})", shown(p.x), shown(p.y), shown(p.z));
}

std::string quat(const Quat& q) {
  return fmt::format("({:g}, {:g}, {:g}, {:g})", shown(q.x), shown(q.y), shown(q.z), shown(q.w));
}

std::string channels(const Mesh& mesh) {
  std::string out;
  for (int c = 0; c < mesh.getNumMaps(); ++c) {
    if (mesh.mapSupport(c)) out += fmt::format(" {}", c);
  }
  if (mesh.mapSupport(MAP_ALPHA)) out += " alpha";
  return out.empty() ? " none" : out;
}

std::string mesh_line(const Mesh& mesh) {
  uint32_t groups = 0;
  std::vector<int> ids;
  for (const Face& f : mesh.faces) {
    groups |= f.smGroup;
    if (std::find(ids.begin(), ids.end(), f.matID) == ids.end()) ids.push_back(f.matID);
  }
  std::sort(ids.begin(), ids.end());
  std::string id_list;
  for (int id : ids) id_list += fmt::format(" {}", id);
  return fmt::format("{} vertices, {} faces, material ids{}, map channels{}, {} smoothing groups",
                     mesh.getNumVerts(), mesh.getNumFaces(), id_list.empty() ? " none" : id_list,
                     channels(mesh), std::popcount(groups));
}

std::string map_text(Texmap* map) {
  if (map == nullptr) return "no diffuse map";
  auto* bitmap = dynamic_cast<BitmapTex*>(map);
  if (bitmap == nullptr) return "a diffuse map that is not a bitmap";
  Bitmap* image = bitmap->GetBitmap(0);
  return fmt::format("diffuse {} on channel {}{}", bitmap->GetMapName(), bitmap->GetMapChannel(),
                     image == nullptr ? " (not found)" : (image->HasAlpha() ? " with alpha" : ""));
}

std::string standard_text(Mtl* m) {
  if (m == nullptr) return "none";
  if (m->ClassID() != DMTL_CLASS_ID)
    return fmt::format("{} (not a standard material)", m->GetName());
  auto* standard = dynamic_cast<StdMat*>(m);
  const Color d = m->GetDiffuse();
  return fmt::format("{}  standard, diffuse colour ({:g}, {:g}, {:g}){}, {}", m->GetName(), d.r,
                     d.g, d.b, standard != nullptr && standard->GetTwoSided() ? ", two-sided" : "",
                     map_text(m->GetSubTexmap(ID_DI)));
}

template <class Key>
std::string keys_text(Control* control, const char* what) {
  auto* keyed = dynamic_cast<host::KeyframeControl<Key>*>(control);
  if (keyed == nullptr) return fmt::format("{} {}", what, control ? "of another kind" : "none");
  typename host::KeyTraits<Key>::Value value;
  keyed->GetValue(0, value);
  std::string shown;
  if constexpr (std::is_same_v<decltype(value), Quat>) {
    shown = quat(value);
  } else if constexpr (std::is_same_v<decltype(value), ScaleValue>) {
    shown = point(value.s);
  } else {
    shown = point(value);
  }
  const int n = keyed->NumKeys();
  if (n == 0) return fmt::format("{} {}", what, shown);
  return fmt::format("{} {} keys from tick {} to {}, at start {}", what, n, keyed->GetKeyTime(0),
                     keyed->GetKeyTime(n - 1), shown);
}

class TreeWriter {
 public:
  std::string write(host::Scene& scene) {
    const Interval range = scene.GetAnimRange();
    out_ += fmt::format("{}  animation from tick {} to {}\n", scene.root().name, range.Start(),
                        range.End());
    for (auto& child : scene.root().children) node(*child, 1);
    return out_;
  }

 private:
  void line(int depth, const std::string& text) {
    out_ += std::string(size_t(depth) * 2, ' ') + text + "\n";
  }

  void node(host::SceneNode& n, int depth) {
    Object* reference = n.GetObjectRef();
    Object* object = n.EvalWorldState(0).obj;
    auto* derived = dynamic_cast<host::DerivedObject*>(reference);
    host::PhysiqueModifier* physique = nullptr;
    if (derived != nullptr) {
      for (auto& m : derived->modifiers) {
        if (auto* p = dynamic_cast<host::PhysiqueModifier*>(m.get())) physique = p;
      }
    }
    std::string kind = "no object";
    if (auto* tri = dynamic_cast<TriObject*>(object)) {
      kind = fmt::format("{}: {}", physique ? "skinned mesh" : "mesh", mesh_line(tri->mesh));
    } else if (auto* dummy = dynamic_cast<host::DummyObject*>(object)) {
      kind = fmt::format("dummy: box {} to {}", point(dummy->box.pmin), point(dummy->box.pmax));
    } else if (object != nullptr && object->SuperClassID() == CAMERA_CLASS_ID) {
      kind = "camera (not exported)";
    } else if (object != nullptr && object->SuperClassID() == LIGHT_CLASS_ID) {
      kind = "light (not exported)";
    } else if (object != nullptr) {
      kind = "object";
    }
    line(depth, fmt::format("{}  {}", n.name, kind));
    if (n.material) {
      if (n.material->ClassID() == MULTI_CLASS_ID) {
        line(depth + 2, fmt::format("material {}  multi/sub-object", n.material->GetName()));
        for (int i = 0; i < n.material->NumSubMtls(); ++i) {
          line(depth + 3, fmt::format("id {}: {}", i, standard_text(n.material->GetSubMtl(i))));
        }
      } else {
        line(depth + 2, "material " + standard_text(n.material.get()));
      }
    }
    if (physique != nullptr) {
      std::vector<std::string> bones;
      for (const auto& vertex : physique->vertices[&n]) {
        for (const auto& link : vertex.links) {
          const std::string name = link.bone->GetName();
          if (std::find(bones.begin(), bones.end(), name) == bones.end()) bones.push_back(name);
        }
      }
      std::string list;
      for (const std::string& b : bones) list += (list.empty() ? "" : ", ") + b;
      line(depth + 2, fmt::format("skin  Physique, {} vertices, rigid-blended, bones {}",
                                  physique->vertices[&n].size(), list));
    }
    if (!n.object_offset().IsIdentity()) {
      line(depth + 2, fmt::format("object offset  position {}, rotation {}, scale {} along {}",
                                  point(n.offset_position), quat(n.offset_rotation),
                                  point(n.offset_scale.s), quat(n.offset_scale.q)));
    }
    if (Control* c = n.GetTMController()) {
      line(depth + 2, keys_text<ILinPoint3Key>(c->GetPositionController(), "position"));
      line(depth + 2, keys_text<ILinRotKey>(c->GetRotationController(), "rotation"));
      line(depth + 2, keys_text<ILinScaleKey>(c->GetScaleController(), "scale"));
    }
    for (auto& child : n.children) node(*child, depth + 1);
  }

  std::string out_;
};

}  // namespace

std::string scene_tree(host::Scene& scene) {
  return TreeWriter().write(scene);
}

}  // namespace scene_import
