// The program's host interface.
#include "program_host.h"

#include <csignal>

namespace scenepress_app {
namespace {

volatile std::sig_atomic_t interrupt_count = 0;

extern "C" void on_interrupt(int signal_number) {
  if (interrupt_count > 0) {
    std::signal(signal_number, SIG_DFL);
    std::raise(signal_number);
    return;
  }
  interrupt_count = 1;
}

}  // namespace

void catch_interrupts() {
  std::signal(SIGINT, on_interrupt);
}

bool interrupted() {
  return interrupt_count > 0;
}

ProgramHost::ProgramHost(host::Scene& scene, ProgressBar& progress, std::string plugin_config_dir,
                         int node_total)
    : scene_(scene),
      progress_(progress),
      plugin_config_dir_(std::move(plugin_config_dir)),
      node_total_(node_total) {}

bool ProgramHost::ProgressStart(const char* title, bool, ProgressRoutine, void*) {
  progress_.start(title != nullptr ? title : "", node_total_);
  return true;
}

// The exporter reports the number of nodes written so far.
void ProgramHost::ProgressUpdate(int pct, bool, const char*) {
  progress_.update(pct);
}

void ProgramHost::ProgressEnd() {
  progress_.end();
}

bool ProgramHost::GetCancel() {
  if (interrupted()) cancel_seen_ = true;
  return interrupted();
}

std::string ProgramHost::GetDir(int which) {
  return which == APP_PLUGCFG_DIR ? plugin_config_dir_ : std::string();
}

}  // namespace scenepress_app
