// Materials and maps: Mtl (standard and multi/sub-object), Texmap (bitmap,
// composite, RGB multiply and others) and the bitmap behind a bitmap map.
#pragma once

#include <string>

#include "host/animatable.h"
#include "host/class_ids.h"
#include "host/host_api.h"
#include "host/point3.h"

class Texmap;

class HOSTAPI MtlBase : public Animatable {
 public:
  ~MtlBase() override;
  virtual std::string GetName() = 0;
  virtual int NumSubTexmaps() { return 0; }
  virtual Texmap* GetSubTexmap(int) { return nullptr; }
};

class HOSTAPI Mtl : public MtlBase {
 public:
  ~Mtl() override;
  SClass_ID SuperClassID() override { return MATERIAL_CLASS_ID; }
  virtual int NumSubMtls() { return 0; }
  virtual Mtl* GetSubMtl(int) { return nullptr; }
  virtual Color GetAmbient(int = 0, bool = false) { return {}; }
  virtual Color GetDiffuse(int = 0, bool = false) { return {}; }
  virtual Color GetSpecular(int = 0, bool = false) { return {}; }
  virtual float GetShininess(int = 0, bool = false) { return 0.0f; }
  virtual float GetShinStr(int = 0, bool = false) { return 0.0f; }
  virtual Color GetSelfIllumColor(int = 0, bool = false) { return {}; }
};

// The standard material: adds the two-sided switch.
class HOSTAPI StdMat : public Mtl {
 public:
  ~StdMat() override;
  Class_ID ClassID() override { return DMTL_CLASS_ID; }
  virtual bool GetTwoSided() = 0;
};

// Where a map takes its coordinates from.
inline constexpr int UVWSRC_EXPLICIT = 0;
inline constexpr int UVWSRC_OBJXYZ = 1;
inline constexpr int UVWSRC_EXPLICIT2 = 2;
inline constexpr int UVWSRC_WORLDXYZ = 3;

class HOSTAPI Texmap : public MtlBase {
 public:
  ~Texmap() override;
  SClass_ID SuperClassID() override { return TEXMAP_CLASS_ID; }
  virtual int GetUVWSource() { return UVWSRC_EXPLICIT; }
  virtual int GetMapChannel() { return 1; }
};

class HOSTAPI Bitmap {
 public:
  virtual ~Bitmap();
  virtual bool HasAlpha() = 0;
};

class HOSTAPI BitmapTex : public Texmap {
 public:
  ~BitmapTex() override;
  Class_ID ClassID() override { return BMTEX_CLASS_ID; }
  // The bitmap's file name as the user chose it (a full path, any separators).
  virtual std::string GetMapName() = 0;
  // The loaded bitmap, or null when it could not be loaded.
  virtual Bitmap* GetBitmap(TimeValue t) = 0;
};
