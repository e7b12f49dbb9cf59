// Filling the embedded script templates: placeholder substitution and the
// NUL padding of stored templates.
//
// A template is bytes (one character per byte). Tokens ("TMP", "#CARID#",
// ...) are replaced case-sensitively, left to right, without overlap, and text
// inserted for a token is never scanned again.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace wizard {

// One substitution pass: every occurrence of `token` becomes `value`.
struct Substitution {
  std::string_view token;
  std::string value;
};

// Returns `text` with the passes applied in their order. One scan does all of
// them: at each position the first pass (in list order) whose token starts
// there is applied. On template text this gives what running the passes one
// after another gives; unlike separate passes it never rewrites a value that
// an earlier pass inserted (a car ID "TMP", or a name holding a token, stays
// as typed). Empty tokens are ignored.
std::string ApplySubstitutions(std::string_view text, std::span<const Substitution> passes);

// Replaces every NUL byte of `text` by a blank (the padding of stored
// templates becomes trailing blanks in the written file).
void ReplaceNuls(std::string& text);

// The template `name` of `type` from the program's resources, or nothing when
// the program does not hold it.
std::optional<std::string> LoadTemplate(std::string_view type, std::string_view name);

}  // namespace wizard
