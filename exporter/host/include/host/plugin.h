// The plug-in side of the host: class descriptors, the scene exporter base
// class and the library entry points a plug-in exports with C linkage:
//   const char* LibDescription();
//   int LibNumberClasses();
//   ClassDesc* LibClassDesc(int i);
//   unsigned long LibVersion();   // HOST_API_VERSION
#pragma once

#include "host/host_api.h"
#include "host/interface.h"
#include "host/types.h"
#include "host/ui.h"

// The host release, API and SDK revision a plug-in is built for.
inline constexpr unsigned long HOST_API_VERSION = 0x17700D00;

// DoExport options: export only the selected nodes.
inline constexpr uint32_t SCENE_EXPORT_SELECTED = 1;

class HOSTAPI ClassDesc {
 public:
  virtual ~ClassDesc();
  virtual int IsPublic() = 0;
  // A new object of the class; the caller owns it (a SceneExport for
  // SCENE_EXPORT_CLASS_ID).
  virtual void* Create(bool loading = false) = 0;
  virtual int BeginCreate(Interface*) { return 0; }
  virtual int EndCreate(Interface*) { return 0; }
  virtual const char* ClassName() = 0;
  virtual SClass_ID SuperClassID() = 0;
  virtual Class_ID ClassID() = 0;
  virtual const char* Category() = 0;
  virtual bool OkToCreate(Interface*) { return true; }
  virtual bool HasClassParams() { return false; }
  virtual void EditClassParams(HWND) {}
};

class HOSTAPI ClassDesc2 : public ClassDesc {
 public:
  ~ClassDesc2() override;
  virtual const char* InternalName() { return nullptr; }
  virtual HINSTANCE HInstance() { return nullptr; }
};

class HOSTAPI SceneExport {
 public:
  virtual ~SceneExport();
  virtual int ExtCount() = 0;
  virtual const char* Ext(int n) = 0;
  virtual const char* LongDesc() = 0;
  virtual const char* ShortDesc() = 0;
  virtual const char* AuthorName() = 0;
  virtual const char* CopyrightMessage() = 0;
  virtual const char* OtherMessage1() = 0;
  virtual const char* OtherMessage2() = 0;
  virtual unsigned int Version() = 0;
  virtual void ShowAbout(HWND parent) = 0;
  // Exports the scene to `name`; 1 on success, 0 on failure or cancel.
  virtual int DoExport(const char* name, ExpInterface* ei, Interface* i, bool suppressPrompts,
                       uint32_t options) = 0;
  virtual bool SupportsOptions(int ext, uint32_t options) = 0;
};

using LibDescriptionFn = const char* (*)();
using LibNumberClassesFn = int (*)();
using LibClassDescFn = ClassDesc* (*)(int);
using LibVersionFn = unsigned long (*)();
