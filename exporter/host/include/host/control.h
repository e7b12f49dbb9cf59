// Controllers: transform (position/rotation/scale), Euler, float and Biped
// controllers, their values at a time and their key interface.
#pragma once

#include <string>
#include <vector>

#include "host/animatable.h"
#include "host/host_api.h"
#include "host/keys.h"
#include "host/matrix3.h"
#include "host/quat.h"

// Flags of GetKeyTimes: which keys to report.
inline constexpr uint32_t KEYAT_POSITION = 1;
inline constexpr uint32_t KEYAT_ROTATION = 2;
inline constexpr uint32_t KEYAT_SCALE = 4;

// The key interface of a keyframe controller.
class HOSTAPI IKeyControl {
 public:
  virtual ~IKeyControl();
  virtual int GetNumKeys() = 0;
  // Copies key i into `key`, whose type must be the controller's key type
  // (ITCBPoint3Key for a TCB position controller, ...). Returns false for an
  // index outside the keys or a key of another type.
  virtual bool GetKey(int i, IKey* key) = 0;
};

class HOSTAPI Control : public Animatable {
 public:
  ~Control() override;

  // Transform controllers: the position, rotation and scale sub-controllers.
  virtual Control* GetPositionController() { return nullptr; }
  virtual Control* GetRotationController() { return nullptr; }
  virtual Control* GetScaleController() { return nullptr; }
  // Euler controllers: the X, Y and Z angle controllers.
  virtual Control* GetXController() { return nullptr; }
  virtual Control* GetYController() { return nullptr; }
  virtual Control* GetZController() { return nullptr; }

  // The value at time t; false when the controller has no value of that type.
  virtual bool GetValue(TimeValue, float&) { return false; }
  virtual bool GetValue(TimeValue, Point3&) { return false; }
  virtual bool GetValue(TimeValue, Quat&) { return false; }
  virtual bool GetValue(TimeValue, ScaleValue&) { return false; }
  // Transform controllers: the node's transform relative to its parent.
  virtual bool GetValue(TimeValue, Matrix3&) { return false; }

  // The key interface, or null when the controller has none.
  virtual IKeyControl* GetKeyControlInterface() { return nullptr; }
  virtual int NumKeys() { return 0; }
  virtual TimeValue GetKeyTime(int) { return 0; }
  // Appends the times of the keys named by `flags` (KEYAT_...) that lie in
  // `range`; returns false when the controller keeps no such keys.
  virtual bool GetKeyTimes(std::vector<TimeValue>& times, Interval range, uint32_t flags);
};
