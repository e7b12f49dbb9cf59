// The self-extracting package: the extractor program's bytes, a complete
// DEVUZA package unchanged, and a 4-byte trailer holding the 1-based position
// of the package's first byte (extractor length + 1).
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace devuza {

// Writes `extractor`, the package file `input` and the trailer as `output`.
// The output is written to a temporary file beside it, made executable for
// everyone who may read it, and replaces `output` only when complete; `input` is removed afterwards when `remove_input` is
// set. Returns true on success; otherwise `error` (when given) says why, and
// `output` and `input` are left as they were. Refuses an extractor so long
// that the trailer's signed 32-bit position cannot hold it, and an input that
// is the output itself.
bool WriteSFXPackage(const std::filesystem::path& output, const std::filesystem::path& input,
                     bool remove_input, std::span<const std::uint8_t> extractor,
                     std::string* error = nullptr);

}  // namespace devuza
