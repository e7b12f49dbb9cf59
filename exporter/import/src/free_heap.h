// Gives the C heap's free pages back to the system. Assimp frees its whole
// model at the end of an import, but the C heap keeps the freed pages
// resident; returned, they are no longer counted against the export that
// follows. A no-op where the C library offers no way to do it.
#pragma once

namespace scene_import {

void return_free_heap();

}  // namespace scene_import
