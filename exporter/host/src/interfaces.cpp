// Out-of-line destructors of the interface classes, so that their type
// information lives once, in the host library.
#include "host/animatable.h"
#include "host/control.h"
#include "host/interface.h"
#include "host/keys.h"
#include "host/material.h"
#include "host/node.h"
#include "host/object.h"
#include "host/physique.h"
#include "host/plugin.h"

BaseInterface::~BaseInterface() = default;
Animatable::~Animatable() = default;
IKey::~IKey() = default;
IKeyControl::~IKeyControl() = default;
Control::~Control() = default;
Object::~Object() = default;
TriObject::~TriObject() = default;
HelperObject::~HelperObject() = default;
Modifier::~Modifier() = default;
IDerivedObject::~IDerivedObject() = default;
MtlBase::~MtlBase() = default;
Mtl::~Mtl() = default;
StdMat::~StdMat() = default;
Texmap::~Texmap() = default;
Bitmap::~Bitmap() = default;
BitmapTex::~BitmapTex() = default;
INode::~INode() = default;
Interface::~Interface() = default;
ExpInterface::~ExpInterface() = default;
IPhyVertexExport::~IPhyVertexExport() = default;
IPhyRigidVertex::~IPhyRigidVertex() = default;
IPhyBlendedRigidVertex::~IPhyBlendedRigidVertex() = default;
IPhyContextExport::~IPhyContextExport() = default;
IPhysiqueExport::~IPhysiqueExport() = default;
ClassDesc::~ClassDesc() = default;
ClassDesc2::~ClassDesc2() = default;
SceneExport::~SceneExport() = default;

bool Control::GetKeyTimes(std::vector<TimeValue>&, Interval, uint32_t) {
  return false;
}

void TriObject::GetDeformBBox(TimeValue, Box3& box, Matrix3* tm, bool) {
  box.Init();
  for (const Point3& p : mesh.verts) box += tm != nullptr ? p * *tm : p;
}
