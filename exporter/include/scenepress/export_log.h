// The export log: what an export wrote, node by node, with the exporter's
// version, build, clock, computer and user.
#pragma once

#include <string>
#include <vector>

#include "model3da/model.h"
#include "model3da/platform.h"

namespace scenepress {

struct ExportLogInputs {
  unsigned version = 0;
  std::string build_time, build_date;  // the compiler's strings
  platform::LocalTime started;
  std::string computer, user;
  std::string scene_path;  // the open scene file
  uint32_t animation_data_size = 0;
  // Notes of the export (the strip builder's messages), listed after the
  // nodes under "notes:" when there are any.
  std::vector<std::string> notes;
};

// The log's text with "\n" line ends. Surfaces name their material from
// `materials` (the exporter's table): its record name, or "no material".
std::string export_log_text(const ExportLogInputs& in, const model3da::Model& model,
                            const std::vector<model3da::MaterialRecord>& materials);

}  // namespace scenepress
