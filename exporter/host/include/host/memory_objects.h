// The in-memory scene's objects, materials, maps and the Physique modifier:
// plain data behind the host interfaces.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/class_ids.h"
#include "host/host_api.h"
#include "host/material.h"
#include "host/node.h"
#include "host/object.h"
#include "host/physique.h"

namespace host {

// A dummy helper with its box.
class HOSTAPI DummyObject final : public HelperObject {
 public:
  explicit DummyObject(const Box3& box) : box(box) {}
  ~DummyObject() override;
  Class_ID ClassID() override { return DUMMY_CLASS_ID; }
  void GetDeformBBox(TimeValue t, Box3& out, Matrix3* tm = nullptr, bool use_sel = false) override;
  Box3 box;
};

// Any other object: a helper, light, camera, shape or a geometry object that
// cannot become a triangle mesh, told apart by its ids only.
class HOSTAPI PlainObject final : public Object {
 public:
  PlainObject(Class_ID id, SClass_ID super) : id_(id), super_(super) {}
  ~PlainObject() override;
  Class_ID ClassID() override { return id_; }
  SClass_ID SuperClassID() override { return super_; }

 private:
  Class_ID id_;
  SClass_ID super_;
};

// An object with modifiers (the first is the top of the stack).
class HOSTAPI DerivedObject final : public IDerivedObject {
 public:
  DerivedObject(std::shared_ptr<Object> base, std::vector<std::shared_ptr<Modifier>> modifiers)
      : base(std::move(base)), modifiers(std::move(modifiers)) {}
  ~DerivedObject() override;
  int NumModifiers() override { return int(modifiers.size()); }
  Modifier* GetModifier(int i) override;
  Object* GetObjRef() override { return base.get(); }

  std::shared_ptr<Object> base;
  std::vector<std::shared_ptr<Modifier>> modifiers;
};

// A modifier known by its class id only.
class HOSTAPI PlainModifier final : public Modifier {
 public:
  explicit PlainModifier(Class_ID id) : id_(id) {}
  ~PlainModifier() override;
  Class_ID ClassID() override { return id_; }

 private:
  Class_ID id_;
};

// One bone's hold on a Physique vertex.
struct PhysiqueLink {
  INode* bone = nullptr;
  float weight = 1.0f;
  Point3 offset;  // the vertex in the bone's space
};

struct PhysiqueVertex {
  int type = RIGID_TYPE;  // RIGID_TYPE: the first link only
  std::vector<PhysiqueLink> links;
};

// The Physique modifier: per node its vertices, per bone its binding
// transform. Counts the contexts and vertex interfaces handed out and not
// released yet.
class HOSTAPI PhysiqueModifier final : public Modifier, public IPhysiqueExport {
 public:
  explicit PhysiqueModifier(Class_ID id = PHYSIQUE_CLASS_ID) : id_(id) {}
  ~PhysiqueModifier() override;
  Class_ID ClassID() override { return id_; }
  BaseInterface* GetInterface(uint32_t id) override;
  IPhyContextExport* GetContextInterface(INode* node) override;
  void ReleaseContextInterface(IPhyContextExport* context) override;
  int GetInitNodeTM(INode* bone, Matrix3& tm) override;

  std::map<INode*, std::vector<PhysiqueVertex>> vertices;
  std::map<INode*, Matrix3> init_tm;
  bool offers_interface = true;
  int open_interfaces = 0;  // contexts and vertices not released yet

 private:
  Class_ID id_;
};

// The standard material: colours, shininess, two-sided, and its maps by slot
// (the diffuse map in slot ID_DI).
class HOSTAPI StandardMaterial final : public StdMat {
 public:
  explicit StandardMaterial(std::string name) : name(std::move(name)) {}
  ~StandardMaterial() override;
  std::string GetName() override { return name; }
  int NumSubTexmaps() override { return int(maps.size()); }
  Texmap* GetSubTexmap(int i) override;
  Color GetAmbient(int, bool) override { return ambient; }
  Color GetDiffuse(int, bool) override { return diffuse; }
  Color GetSpecular(int, bool) override { return specular; }
  float GetShininess(int, bool) override { return shininess; }
  float GetShinStr(int, bool) override { return shine_strength; }
  Color GetSelfIllumColor(int, bool) override { return self_illum; }
  bool GetTwoSided() override { return two_sided; }

  std::string name;
  Color ambient, diffuse, specular, self_illum;
  float shininess = 0.0f, shine_strength = 0.0f;
  bool two_sided = false;
  std::vector<std::shared_ptr<Texmap>> maps = std::vector<std::shared_ptr<Texmap>>(12);
};

// Any other material class (for example a multi/sub-object material) with
// its sub-materials.
class HOSTAPI MaterialWithSubs final : public Mtl {
 public:
  MaterialWithSubs(Class_ID id, std::string name, std::vector<std::shared_ptr<Mtl>> subs = {})
      : name(std::move(name)), subs(std::move(subs)), id_(id) {}
  ~MaterialWithSubs() override;
  Class_ID ClassID() override { return id_; }
  std::string GetName() override { return name; }
  int NumSubMtls() override { return int(subs.size()); }
  Mtl* GetSubMtl(int i) override;

  std::string name;
  std::vector<std::shared_ptr<Mtl>> subs;

 private:
  Class_ID id_;
};

class HOSTAPI PlainBitmap final : public Bitmap {
 public:
  explicit PlainBitmap(bool alpha) : alpha_(alpha) {}
  ~PlainBitmap() override;
  bool HasAlpha() override { return alpha_; }

 private:
  bool alpha_;
};

// A bitmap map: its file name, coordinates and whether the image has alpha.
class HOSTAPI BitmapMap final : public BitmapTex {
 public:
  explicit BitmapMap(std::string file_name, bool alpha = false)
      : file_name(std::move(file_name)), bitmap(std::make_unique<PlainBitmap>(alpha)) {}
  ~BitmapMap() override;
  std::string GetName() override { return name; }
  std::string GetMapName() override { return file_name; }
  Bitmap* GetBitmap(TimeValue) override { return bitmap.get(); }
  int GetUVWSource() override { return uvw_source; }
  int GetMapChannel() override { return map_channel; }

  std::string name = "Map";
  std::string file_name;
  std::unique_ptr<PlainBitmap> bitmap;  // null: the image could not be loaded
  int uvw_source = UVWSRC_EXPLICIT;
  int map_channel = 1;
};

// Any other map class (composite, RGB multiply, checker, noise ...) with its
// sub-maps; an empty slot is null.
class HOSTAPI MapWithSubs final : public Texmap {
 public:
  MapWithSubs(Class_ID id, std::vector<std::shared_ptr<Texmap>> subs = {})
      : subs(std::move(subs)), id_(id) {}
  ~MapWithSubs() override;
  Class_ID ClassID() override { return id_; }
  std::string GetName() override { return "Map"; }
  int NumSubTexmaps() override { return int(subs.size()); }
  Texmap* GetSubTexmap(int i) override;

  std::vector<std::shared_ptr<Texmap>> subs;

 private:
  Class_ID id_;
};

}  // namespace host
