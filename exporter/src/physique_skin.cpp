// Physique skinning: bind-pose positions, skin data and inverse bind
// transforms.
#include "scenepress/physique_skin.h"

#include <fmt/printf.h>

#include <algorithm>
#include <map>
#include <optional>

#include "geometry/axes.h"
#include "geometry/skin.h"
#include "host/class_ids.h"
#include "host/physique.h"
#include "scenepress/record_plan.h"

namespace scenepress {
namespace {

// Skin data holds node indices in a byte; 255 is left unused.
constexpr int kMaxBoneIndex = 254;

// The context of one node, released when it goes out of scope.
class ContextHold {
 public:
  ContextHold(IPhysiqueExport* physique, IPhyContextExport* context)
      : physique_(physique), context_(context) {}
  ~ContextHold() {
    if (context_ != nullptr) physique_->ReleaseContextInterface(context_);
  }
  ContextHold(const ContextHold&) = delete;
  ContextHold& operator=(const ContextHold&) = delete;
  IPhyContextExport* get() const { return context_; }

 private:
  IPhysiqueExport* physique_;
  IPhyContextExport* context_;
};

// A vertex interface, released when it goes out of scope.
class VertexHold {
 public:
  VertexHold(IPhyContextExport* context, IPhyVertexExport* vertex)
      : context_(context), vertex_(vertex) {}
  ~VertexHold() {
    if (vertex_ != nullptr) context_->ReleaseVertexInterface(vertex_);
  }
  VertexHold(const VertexHold&) = delete;
  VertexHold& operator=(const VertexHold&) = delete;
  IPhyVertexExport* get() const { return vertex_; }

 private:
  IPhyContextExport* context_;
  IPhyVertexExport* vertex_;
};

struct Influence {
  INode* bone = nullptr;
  float weight = 1.0f;
  Point3 offset;
};

geometry::AffineTransform affine(const Matrix3& m) {
  geometry::AffineTransform t;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) t.linear[size_t(3 * i + j)] = m[i][j];
  t.translation = {m[3].x, m[3].y, m[3].z};
  return t;
}

// What is known of the bones met so far: their record index and initial
// transform.
class BoneTable {
 public:
  BoneTable(IPhysiqueExport* physique, INode* node, std::span<INode* const> records)
      : physique_(physique), node_(node), records_(records) {}

  struct Bone {
    uint8_t index = 0;
    Matrix3 init_tm;
  };

  // The bone's entry, or nothing with `error` set.
  std::optional<Bone> find(INode* bone, std::string& error) {
    if (const auto known = bones_.find(bone); known != bones_.end()) return known->second;
    const std::optional<int> index = record_index_by_name(records_, bone->GetName());
    if (!index) {
      error = fmt::sprintf("Bone '%s' of skinned node '%s' is not among the exported nodes",
                           bone->GetName(), node_->GetName());
      return std::nullopt;
    }
    if (*index > kMaxBoneIndex) {
      error = fmt::sprintf(
          "Bone '%s' of skinned node '%s' has node index %d; skin data holds node indices up "
          "to %d",
          bone->GetName(), node_->GetName(), *index, kMaxBoneIndex);
      return std::nullopt;
    }
    Bone entry;
    entry.index = uint8_t(*index);
    if (physique_->GetInitNodeTM(bone, entry.init_tm) != MATRIX_RETURNED) {
      error = fmt::sprintf("cant retrieve physique initial transform of bone '%s' for node '%s'",
                           bone->GetName(), node_->GetName());
      return std::nullopt;
    }
    bones_.emplace(bone, entry);
    return entry;
  }

 private:
  IPhysiqueExport* physique_;
  INode* node_;
  std::span<INode* const> records_;
  std::map<INode*, Bone> bones_;
};

// The influences of one vertex, or an error message.
std::string vertex_influences(IPhyVertexExport* vertex, int i, INode* node,
                              std::vector<Influence>& out) {
  out.clear();
  const int type = vertex->GetVertexType();
  if (type == RIGID_TYPE) {
    auto* rigid = dynamic_cast<IPhyRigidVertex*>(vertex);
    if (rigid != nullptr) out.push_back({rigid->GetNode(), 1.0f, rigid->GetOffsetVector()});
  } else if (type == RIGID_BLENDED_TYPE) {
    auto* blended = dynamic_cast<IPhyBlendedRigidVertex*>(vertex);
    if (blended != nullptr) {
      for (int k = 0; k < blended->GetNumberNodes(); ++k) {
        out.push_back({blended->GetNode(k), blended->GetWeight(k), blended->GetOffsetVector(k)});
      }
    }
  } else {
    return "Physique export error: unsoported vertex assignment type\nYou can use only Rigid and "
           "RigidBlended assignments...";
  }
  bool bones = !out.empty();
  for (const Influence& influence : out) bones = bones && influence.bone != nullptr;
  if (!bones)
    return fmt::sprintf("Physique vertex(%d) of node '%s' names no bone", i, node->GetName());
  return {};
}

// Step 9: the inverse bind transforms of every record Physique knows.
std::string fill_node_matrices(IPhysiqueExport* physique, std::span<INode* const> records,
                               std::vector<model3da::Matrix4>& node_matrices) {
  for (size_t k = 0; k < records.size() && k < node_matrices.size(); ++k) {
    Matrix3 tm;
    if (physique->GetInitNodeTM(records[k], tm) != MATRIX_RETURNED) continue;
    const std::optional<model3da::Matrix4> inverse = geometry::inverse_bind_matrix(affine(tm));
    if (!inverse) {
      return fmt::sprintf("Bone '%s': its physique initial transform cannot be inverted",
                          records[k]->GetName());
    }
    node_matrices[k] = *inverse;
  }
  return {};
}

}  // namespace

Modifier* find_physique_modifier(INode* node) {
  Object* object = node->GetObjectRef();
  while (object != nullptr && object->SuperClassID() == GEN_DERIVOB_CLASS_ID) {
    auto* derived = dynamic_cast<IDerivedObject*>(object);
    if (derived == nullptr) break;
    for (int m = 0; m < derived->NumModifiers(); ++m) {
      Modifier* modifier = derived->GetModifier(m);
      if (modifier != nullptr && modifier->ClassID() == PHYSIQUE_CLASS_ID) return modifier;
    }
    object = derived->GetObjRef();
  }
  return nullptr;
}

std::string read_physique_skin(Modifier* modifier, INode* node, int vertex_count,
                               std::span<INode* const> records,
                               std::vector<model3da::Matrix4>& node_matrices, PhysiqueSkin& out) {
  out = PhysiqueSkin{};
  const char* name = node->GetName();
  if (modifier->ClassID() != PHYSIQUE_CLASS_ID) {
    return fmt::sprintf("unknown physique modifier for node '%s'", name);
  }
  auto* physique = dynamic_cast<IPhysiqueExport*>(modifier->GetInterface(I_PHYINTERFACE));
  if (physique == nullptr) {
    return fmt::sprintf("cant retrieve physique interface for node '%s'!", name);
  }
  const ContextHold context(physique, physique->GetContextInterface(node));
  if (context.get() == nullptr) {
    return fmt::sprintf("cant retrieve physique context interface for node '%s'", name);
  }
  context.get()->ConvertToRigid(true);
  context.get()->AllowBlending(true);
  if (context.get()->GetNumberVertices() != vertex_count) {
    return "unknown error: mesh.numVerts != physique.numVerts!";
  }

  BoneTable bones(physique, node, records);
  std::vector<Influence> influences;
  std::vector<geometry::BoneWeight> weights;
  out.positions.reserve(size_t(vertex_count));
  out.skin.reserve(size_t(vertex_count));
  for (int i = 0; i < vertex_count; ++i) {
    const VertexHold vertex(context.get(), context.get()->GetVertexInterface(i));
    if (vertex.get() == nullptr) {
      return fmt::sprintf("cant retrieve physique vertex(%d) interface for node '%s'", i, name);
    }
    if (std::string error = vertex_influences(vertex.get(), i, node, influences); !error.empty()) {
      return error;
    }
    Point3 position;
    weights.clear();
    for (const Influence& influence : influences) {
      std::string error;
      const std::optional<BoneTable::Bone> bone = bones.find(influence.bone, error);
      if (!bone) return error;
      position += (influence.offset * bone->init_tm) * influence.weight;
      weights.push_back({bone->index, influence.weight});
      out.max_bone_index = std::max(out.max_bone_index, int(bone->index));
    }
    out.positions.push_back(position);
    out.skin.push_back(*geometry::skin_record(weights));
  }
  return fill_node_matrices(physique, records, node_matrices);
}

}  // namespace scenepress
