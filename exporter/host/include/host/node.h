// INode: one node of the scene tree, with its children, flags, evaluated
// object, transforms, transform controller and material.
#pragma once

#include "host/control.h"
#include "host/host_api.h"
#include "host/material.h"
#include "host/matrix3.h"
#include "host/object.h"

class HOSTAPI INode {
 public:
  virtual ~INode();
  virtual int NumberOfChildren() = 0;
  virtual INode* GetChildNode(int i) = 0;
  virtual const char* GetName() = 0;
  virtual bool Selected() = 0;
  // The node's own hidden flag.
  virtual bool IsHidden() = 0;
  // True when the node is hidden in any way (its own flag, its layer).
  virtual bool IsNodeHidden(bool forRenderer = false) = 0;
  virtual INode* GetParentNode() = 0;
  virtual bool IsRootNode() = 0;
  // The object at the end of the node's pipeline at time t.
  virtual ObjectState EvalWorldState(TimeValue t, bool evalHidden = true) = 0;
  // The object's world transform: the object offset times the node transform.
  virtual Matrix3 GetObjectTM(TimeValue t) = 0;
  // The node's world transform.
  virtual Matrix3 GetNodeTM(TimeValue t) = 0;
  // The parent's node transform (the identity for children of the root).
  virtual Matrix3 GetParentTM(TimeValue t) = 0;
  virtual Point3 GetObjOffsetPos() = 0;
  virtual Quat GetObjOffsetRot() = 0;
  virtual ScaleValue GetObjOffsetScale() = 0;
  virtual Control* GetTMController() = 0;
  virtual Mtl* GetMtl() = 0;
  // The object the node references (a derived object when it has modifiers).
  virtual Object* GetObjectRef() = 0;
};
