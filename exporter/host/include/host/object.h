// Objects of the scene: the base Object with its evaluated state, the
// triangle-mesh object, helper objects (the dummy with its box), derived
// objects with their modifiers.
#pragma once

#include <memory>

#include "host/animatable.h"
#include "host/box3.h"
#include "host/class_ids.h"
#include "host/host_api.h"
#include "host/matrix3.h"
#include "host/mesh.h"

class HOSTAPI Object : public Animatable {
 public:
  ~Object() override;
  virtual bool CanConvertToType(Class_ID) { return false; }
  // The object converted to the given class at time t, or null. The result
  // belongs to this object (it may be the object itself) and lives as long
  // as it does.
  virtual Object* ConvertToType(TimeValue, Class_ID) { return nullptr; }
  // The box of the object's points transformed by `tm` (when given).
  virtual void GetDeformBBox(TimeValue, Box3& box, Matrix3* = nullptr, bool = false) { box.Init(); }
};

// What a node evaluates to: the object at the end of its pipeline.
struct ObjectState {
  Object* obj = nullptr;
};

class HOSTAPI TriObject : public Object {
 public:
  ~TriObject() override;
  Class_ID ClassID() override { return TRIOBJ_CLASS_ID; }
  SClass_ID SuperClassID() override { return GEOMOBJECT_CLASS_ID; }
  bool CanConvertToType(Class_ID id) override { return id == TRIOBJ_CLASS_ID; }
  Object* ConvertToType(TimeValue, Class_ID id) override {
    return id == TRIOBJ_CLASS_ID ? this : nullptr;
  }
  void GetDeformBBox(TimeValue t, Box3& box, Matrix3* tm = nullptr, bool use_sel = false) override;
  Mesh& GetMesh() { return mesh; }

  Mesh mesh;
};

class HOSTAPI HelperObject : public Object {
 public:
  ~HelperObject() override;
  SClass_ID SuperClassID() override { return HELPER_CLASS_ID; }
};

class HOSTAPI Modifier : public Animatable {
 public:
  ~Modifier() override;
  SClass_ID SuperClassID() override { return OSM_CLASS_ID; }
};

// An object with a stack of modifiers above a base object.
class HOSTAPI IDerivedObject : public Object {
 public:
  ~IDerivedObject() override;
  Class_ID ClassID() override { return DERIVOB_CLASS_ID; }
  SClass_ID SuperClassID() override { return GEN_DERIVOB_CLASS_ID; }
  virtual int NumModifiers() = 0;
  virtual Modifier* GetModifier(int index) = 0;
  // The object below the modifiers (may itself be a derived object).
  virtual Object* GetObjRef() = 0;
};
