// The in-memory scene's objects, materials, maps and Physique.
#include "host/memory_objects.h"

namespace host {
namespace {

template <class List>
auto* slot(List& list, int i) {
  return i >= 0 && i < int(list.size()) ? list[size_t(i)].get() : nullptr;
}

class RigidVertex final : public IPhyRigidVertex {
 public:
  explicit RigidVertex(const PhysiqueVertex& v) : v_(v) {}
  int GetVertexType() override { return RIGID_TYPE; }
  INode* GetNode() override { return v_.links.empty() ? nullptr : v_.links[0].bone; }
  Point3 GetOffsetVector() override { return v_.links.empty() ? Point3() : v_.links[0].offset; }

 private:
  const PhysiqueVertex& v_;
};

class BlendedVertex final : public IPhyBlendedRigidVertex {
 public:
  explicit BlendedVertex(const PhysiqueVertex& v) : v_(v) {}
  int GetVertexType() override { return RIGID_BLENDED_TYPE; }
  int GetNumberNodes() override { return int(v_.links.size()); }
  INode* GetNode(int i) override { return link(i).bone; }
  float GetWeight(int i) override { return link(i).weight; }
  Point3 GetOffsetVector(int i) override { return link(i).offset; }

 private:
  const PhysiqueLink& link(int i) {
    static const PhysiqueLink none;
    return i >= 0 && i < int(v_.links.size()) ? v_.links[size_t(i)] : none;
  }
  const PhysiqueVertex& v_;
};

class OtherVertex final : public IPhyVertexExport {
 public:
  explicit OtherVertex(int type) : type_(type) {}
  int GetVertexType() override { return type_; }

 private:
  int type_;
};

class Context final : public IPhyContextExport {
 public:
  Context(const std::vector<PhysiqueVertex>& vertices, int& open)
      : vertices_(vertices), open_(open) {}
  void ConvertToRigid(bool on) override { rigid = on; }
  void AllowBlending(bool on) override { blending = on; }
  int GetNumberVertices() override { return int(vertices_.size()); }
  IPhyVertexExport* GetVertexInterface(int i) override {
    if (i < 0 || i >= int(vertices_.size())) return nullptr;
    const PhysiqueVertex& v = vertices_[size_t(i)];
    ++open_;
    if (v.type == RIGID_TYPE) return new RigidVertex(v);
    if (v.type == RIGID_BLENDED_TYPE) return new BlendedVertex(v);
    return new OtherVertex(v.type);
  }
  void ReleaseVertexInterface(IPhyVertexExport* vertex) override {
    if (vertex == nullptr) return;
    --open_;
    delete vertex;
  }
  bool rigid = false, blending = false;

 private:
  const std::vector<PhysiqueVertex>& vertices_;
  int& open_;
};

}  // namespace

DummyObject::~DummyObject() = default;
PlainObject::~PlainObject() = default;
DerivedObject::~DerivedObject() = default;
PlainModifier::~PlainModifier() = default;
PhysiqueModifier::~PhysiqueModifier() = default;
StandardMaterial::~StandardMaterial() = default;
MaterialWithSubs::~MaterialWithSubs() = default;
PlainBitmap::~PlainBitmap() = default;
BitmapMap::~BitmapMap() = default;
MapWithSubs::~MapWithSubs() = default;

void DummyObject::GetDeformBBox(TimeValue, Box3& out, Matrix3* tm, bool) {
  out = tm != nullptr ? box * *tm : box;
}

Modifier* DerivedObject::GetModifier(int i) {
  return slot(modifiers, i);
}

BaseInterface* PhysiqueModifier::GetInterface(uint32_t id) {
  return id == I_PHYINTERFACE && offers_interface ? static_cast<IPhysiqueExport*>(this) : nullptr;
}

IPhyContextExport* PhysiqueModifier::GetContextInterface(INode* node) {
  const auto found = vertices.find(node);
  if (found == vertices.end()) return nullptr;
  ++open_interfaces;
  return new Context(found->second, open_interfaces);
}

void PhysiqueModifier::ReleaseContextInterface(IPhyContextExport* context) {
  if (context == nullptr) return;
  --open_interfaces;
  delete context;
}

int PhysiqueModifier::GetInitNodeTM(INode* bone, Matrix3& tm) {
  const auto found = init_tm.find(bone);
  if (found == init_tm.end()) return NODE_NOT_FOUND;
  tm = found->second;
  return MATRIX_RETURNED;
}

Texmap* StandardMaterial::GetSubTexmap(int i) {
  return slot(maps, i);
}

Mtl* MaterialWithSubs::GetSubMtl(int i) {
  return slot(subs, i);
}

Texmap* MapWithSubs::GetSubTexmap(int i) {
  return slot(subs, i);
}

}  // namespace host
