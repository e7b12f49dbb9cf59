// The key records of keyframe controllers: TCB, linear and Bezier keys for
// float, point, rotation and scale values. Key times are in ticks.
//
// TCB rotation keys hold the rotation relative to the previous key as an
// AngAxis; Bezier rotation keys hold the relative rotation as a Quat; linear
// rotation keys hold the absolute rotation. Bezier tangents are slopes per
// tick; the in tangent points towards the previous key.
#pragma once

#include "host/host_api.h"
#include "host/point3.h"
#include "host/quat.h"
#include "host/types.h"

struct HOSTAPI IKey {
  virtual ~IKey();
  TimeValue time = 0;
  uint32_t flags = 0;
};

struct HOSTAPI ITCBKey : IKey {
  float tens = 0.0f, cont = 0.0f, bias = 0.0f, easeIn = 0.0f, easeOut = 0.0f;
};

struct HOSTAPI ITCBFloatKey : ITCBKey {
  float val = 0.0f;
};
struct HOSTAPI ITCBPoint3Key : ITCBKey {
  Point3 val;
};
struct HOSTAPI ITCBRotKey : ITCBKey {
  AngAxis val;
};
struct HOSTAPI ITCBScaleKey : ITCBKey {
  ScaleValue val;
};

struct HOSTAPI ILinFloatKey : IKey {
  float val = 0.0f;
};
struct HOSTAPI ILinPoint3Key : IKey {
  Point3 val;
};
struct HOSTAPI ILinRotKey : IKey {
  Quat val;
};
struct HOSTAPI ILinScaleKey : IKey {
  ScaleValue val;
};

struct HOSTAPI IBezFloatKey : IKey {
  float intan = 0.0f, outtan = 0.0f, val = 0.0f;
};
struct HOSTAPI IBezPoint3Key : IKey {
  Point3 intan, outtan, val;
};
struct HOSTAPI IBezQuatKey : IKey {
  Quat val;
};
struct HOSTAPI IBezScaleKey : IKey {
  Point3 intan, outtan;
  ScaleValue val;
};
