// The host around an export run by the program: the imported scene behind
// the host interface, the progress display on the terminal, Ctrl+C as the
// user's cancel, and the plug-in configuration folder.
#pragma once

#include <string>

#include "host/interface.h"
#include "host/scene.h"
#include "progress_bar.h"

namespace scenepress_app {

// Installs the Ctrl+C handler: the first Ctrl+C asks to cancel, the second
// ends the program as usual.
void catch_interrupts();
// True once Ctrl+C was pressed.
bool interrupted();

class ProgramHost final : public Interface {
 public:
  ProgramHost(host::Scene& scene, ProgressBar& progress, std::string plugin_config_dir,
              int node_total);

  HWND GetMAXHWnd() override { return scene_.GetMAXHWnd(); }
  bool ProgressStart(const char* title, bool dispBar, ProgressRoutine fn, void* arg) override;
  void ProgressUpdate(int pct, bool showPct = true, const char* title = nullptr) override;
  void ProgressEnd() override;
  bool GetCancel() override;
  Interval GetAnimRange() override { return scene_.GetAnimRange(); }
  INode* GetRootNode() override { return scene_.GetRootNode(); }
  std::string GetDir(int which) override;
  std::string GetCurFileName() override { return scene_.GetCurFileName(); }
  std::string GetCurFilePath() override { return scene_.GetCurFilePath(); }

  // True when the export polled a cancel that was asked for.
  bool cancel_seen() const { return cancel_seen_; }

 private:
  host::Scene& scene_;
  ProgressBar& progress_;
  std::string plugin_config_dir_;
  int node_total_;
  bool cancel_seen_ = false;
};

}  // namespace scenepress_app
