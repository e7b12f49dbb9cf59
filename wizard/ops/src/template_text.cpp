#include "ops/template_text.h"

#include <algorithm>

#include "base/resource_store.h"

namespace wizard {

std::string ApplySubstitutions(std::string_view text, std::span<const Substitution> passes) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::string_view rest = text.substr(pos);
    const auto match = std::find_if(passes.begin(), passes.end(), [&](const Substitution& pass) {
      return !pass.token.empty() && rest.starts_with(pass.token);
    });
    if (match == passes.end()) {
      out.push_back(text[pos]);
      ++pos;
    } else {
      out.append(match->value);
      pos += match->token.size();
    }
  }
  return out;
}

void ReplaceNuls(std::string& text) {
  std::replace(text.begin(), text.end(), '\0', ' ');
}

std::optional<std::string> LoadTemplate(std::string_view type, std::string_view name) {
  const auto bytes = FindEmbeddedResource(type, name);
  if (!bytes) return std::nullopt;
  return std::string(reinterpret_cast<const char*>(bytes->data()), bytes->size());
}

}  // namespace wizard
