// Material names as file names: a material's name with ".mat" names its
// .mat script, written into the output's folder, and the material the game
// loads. A name can do that only when it is a plain file name on every
// system the game and the exporter run on.
#pragma once

#include <string>
#include <string_view>

namespace scenepress {

// Why `name` (a material name, with or without ".mat") cannot be a file name
// in the output folder, "" when it can: it holds a folder separator ('/' or
// '\'), a drive or stream colon, one of < > " | ? *, or a control
// character, or it names a Windows device (CON, NUL, COM1, ... with any
// extension, in any case). Empty names and names of dots stay inside the
// folder once ".mat" is added and pass.
std::string material_file_name_fault(std::string_view name);

}  // namespace scenepress
