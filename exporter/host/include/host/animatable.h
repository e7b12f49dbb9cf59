// Animatable: the base of every scene entity that has a class (controllers,
// objects, modifiers, materials, maps), with its sub-animatables and the
// interfaces it offers.
#pragma once

#include <string>

#include "host/host_api.h"
#include "host/types.h"

// The base of the interfaces that GetInterface hands out.
class HOSTAPI BaseInterface {
 public:
  virtual ~BaseInterface();
};

class HOSTAPI Animatable {
 public:
  virtual ~Animatable();
  virtual Class_ID ClassID() = 0;
  virtual SClass_ID SuperClassID() = 0;
  // The class name shown to the user, e.g. "Euler XYZ".
  virtual void GetClassName(std::string& name) { name.clear(); }
  virtual int NumSubs() { return 0; }
  virtual Animatable* SubAnim(int) { return nullptr; }
  // The interface with that id, or null.
  virtual BaseInterface* GetInterface(uint32_t) { return nullptr; }
};
