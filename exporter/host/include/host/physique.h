// The Physique export interfaces: a Physique modifier hands out, per node,
// a context whose vertices name the bones that move them.
//
// IPhysiqueExport comes from the modifier's GetInterface(I_PHYINTERFACE).
// Contexts and vertex interfaces are released through the interface that
// gave them.
#pragma once

#include "host/animatable.h"
#include "host/host_api.h"
#include "host/matrix3.h"

class INode;

inline constexpr int RIGID_TYPE = 1;
inline constexpr int DEFORMABLE_TYPE = 2;
inline constexpr int RIGID_BLENDED_TYPE = 3;
inline constexpr int DEFORMABLE_BLENDED_TYPE = 4;
inline constexpr int FLOATING_TYPE = 5;

// GetInitNodeTM results.
inline constexpr int MATRIX_RETURNED = 0;
inline constexpr int NODE_NOT_FOUND = 1;

class HOSTAPI IPhyVertexExport {
 public:
  virtual ~IPhyVertexExport();
  virtual int GetVertexType() = 0;
};

class HOSTAPI IPhyRigidVertex : public IPhyVertexExport {
 public:
  ~IPhyRigidVertex() override;
  virtual INode* GetNode() = 0;
  // The vertex in the bone's space.
  virtual Point3 GetOffsetVector() = 0;
};

class HOSTAPI IPhyBlendedRigidVertex : public IPhyVertexExport {
 public:
  ~IPhyBlendedRigidVertex() override;
  virtual int GetNumberNodes() = 0;
  virtual INode* GetNode(int i) = 0;
  virtual float GetWeight(int i) = 0;
  virtual Point3 GetOffsetVector(int i) = 0;
};

class HOSTAPI IPhyContextExport {
 public:
  virtual ~IPhyContextExport();
  virtual void ConvertToRigid(bool on) = 0;
  virtual void AllowBlending(bool on) = 0;
  virtual int GetNumberVertices() = 0;
  // The vertex's interface, or null.
  virtual IPhyVertexExport* GetVertexInterface(int i) = 0;
  virtual void ReleaseVertexInterface(IPhyVertexExport* vertex) = 0;
};

class HOSTAPI IPhysiqueExport : public BaseInterface {
 public:
  ~IPhysiqueExport() override;
  // The context of `node`, or null.
  virtual IPhyContextExport* GetContextInterface(INode* node) = 0;
  virtual void ReleaseContextInterface(IPhyContextExport* context) = 0;
  // The bone's transform at binding time: MATRIX_RETURNED with `tm` set, or
  // NODE_NOT_FOUND.
  virtual int GetInitNodeTM(INode* bone, Matrix3& tm) = 0;
};
