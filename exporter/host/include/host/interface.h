// Interface: what the host offers a plug-in during an export: its main
// window, the progress display and cancel, the animation range, the scene's
// root node, its folders and the open scene file's name.
#pragma once

#include <string>

#include "host/host_api.h"
#include "host/node.h"
#include "host/types.h"
#include "host/ui.h"

// GetDir: the plug-in configuration folder.
inline constexpr int APP_PLUGCFG_DIR = 9;

// The work routine a progress display may run (the host may ignore it).
using ProgressRoutine = unsigned long (*)(void* arg);

class HOSTAPI Interface {
 public:
  virtual ~Interface();
  // The parent window of the plug-in's dialogs and message boxes.
  virtual HWND GetMAXHWnd() = 0;
  virtual bool ProgressStart(const char* title, bool dispBar, ProgressRoutine fn, void* arg) = 0;
  virtual void ProgressUpdate(int pct, bool showPct = true, const char* title = nullptr) = 0;
  virtual void ProgressEnd() = 0;
  // True when the user asked to cancel.
  virtual bool GetCancel() = 0;
  // The animation range in ticks.
  virtual Interval GetAnimRange() = 0;
  virtual INode* GetRootNode() = 0;
  // A folder of the host, without a trailing separator.
  virtual std::string GetDir(int which) = 0;
  // The open scene file's name, and its full path.
  virtual std::string GetCurFileName() = 0;
  virtual std::string GetCurFilePath() = 0;
};

// The export interface handed to DoExport beside Interface.
class HOSTAPI ExpInterface {
 public:
  virtual ~ExpInterface();
};
