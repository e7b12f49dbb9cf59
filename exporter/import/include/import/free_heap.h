// Gives the C heap's free pages back to the system. Assimp frees its whole
// model at the end of an import, but the C heap keeps the freed pages
// resident; a program that imports one scene and exports it calls this
// between the two, so that the export does not sit on top of them. A loop of
// imports should not: each import would then take its pages anew. A no-op
// where the C library offers no way to do it.
#pragma once

namespace scene_import {

void return_free_heap();

}  // namespace scene_import
