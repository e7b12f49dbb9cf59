// The path of the running program's own file, where a self-extracting package
// keeps its package: found by the running name, so a renamed file still works.
#pragma once

#include <filesystem>

namespace quorvex {

// The running program's file (/proc/self/exe, or GetModuleFileName on
// Windows); empty when the system does not tell.
std::filesystem::path OwnProgramPath();

}  // namespace quorvex
