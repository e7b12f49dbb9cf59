// Text the exporter writes: .mat scripts and the export log. Their line
// ends are CR LF, as in every text file of the game; texts are built with
// "\n" and turned into CR LF when written.
#pragma once

#include <string>
#include <string_view>

#include "model3da/records.h"

namespace scenepress {

// `text` with every "\n" written as "\r\n".
std::string crlf_text(std::string_view text);

// Writes `text` (with CR LF line ends) to `path`, replacing it; false when
// the file cannot be created or written.
bool write_text_file(const std::string& path, std::string_view text);

// The .mat script of a material table entry; `lighting_type` 1 (per vertex)
// adds the Lighting() line; `scene_file` is the open scene's file name.
std::string material_script(const model3da::MaterialRecord& record, int lighting_type,
                            const std::string& scene_file);

}  // namespace scenepress
