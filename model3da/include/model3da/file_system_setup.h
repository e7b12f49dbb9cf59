// Once-per-process set-up of the engine's file system for the plug-in.
#pragma once

namespace fs {

// Calls FS_init and then FS_add_source(".", 0, 0, 0) the first time it runs
// in the process, making the current folder the file system's source; later
// calls do nothing.
void set_up_file_system();

}  // namespace fs
