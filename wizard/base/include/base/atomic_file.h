// Replacing a file so that it is never left half-written.
//
// The new bytes go to a temporary file beside the target, which is flushed to
// disk and then renamed over the target. On any failure the temporary file is
// removed and the target keeps its old bytes.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace wizard {

// Replaces (or creates) the file at the native path `target` by `bytes`; true
// when done. An existing target keeps its permission bits; a symbolic link is
// followed and the file it points to is replaced. On failure `error` (when
// given) receives a message naming the file and the step that failed.
bool ReplaceFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                           std::string* error = nullptr);

// The steps of a replacement, for tests that make one of them fail.
enum class AtomicWriteStep { kNone, kCreate, kWrite, kFlush, kRename };

// Test seam: the next ReplaceFileAtomically fails at `step` as if the system
// had refused it (kNone clears a pending failure). Not for production use.
void FailNextAtomicWriteAt(AtomicWriteStep step);

}  // namespace wizard
