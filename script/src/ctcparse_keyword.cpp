// Statements: copying, destruction, the name test and the binary form.
#include "script/ctcparse_keyword.h"

#include <cstdint>
#include <cstring>

#include "ctcparse_chars.h"

namespace {

constexpr std::uint32_t kKeywordMark = 16;
constexpr std::uint32_t kChildMark = 32;
constexpr std::uint32_t kEndOfList = 0xFFFFFFFFu;

bool put_u32(std::FILE* file, std::uint32_t value) {
  const unsigned char bytes[4] = {
      static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
      static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
  return std::fwrite(bytes, 1, 4, file) == 4;
}

bool put_text(std::FILE* file, const std::string& text) {
  if (!put_u32(file, static_cast<std::uint32_t>(text.size()))) return false;
  return text.empty() || std::fwrite(text.data(), 1, text.size(), file) == text.size();
}

bool put_param(std::FILE* file, const CTCPARSE_PARAM& param) {
  if (!put_u32(file, static_cast<std::uint32_t>(param.type))) return false;
  switch (param.type) {
    case CTCPARSE_PARAM::kInt:
      if (!put_u32(file,
                   static_cast<std::uint32_t>(static_cast<const CTCPARSE_INT&>(param).value))) {
        return false;
      }
      break;
    case CTCPARSE_PARAM::kFloat: {
      std::uint32_t bits = 0;
      const float value = static_cast<const CTCPARSE_FLOAT&>(param).value;
      std::memcpy(&bits, &value, sizeof(bits));
      if (!put_u32(file, bits)) return false;
      break;
    }
    default:
      if (!put_text(file, static_cast<const CTCPARSE_STRING&>(param).value)) return false;
      break;
  }
  return put_text(file, param.name);
}

}  // namespace

CTCPARSE_KEYWORD::CTCPARSE_KEYWORD(const CTCPARSE_KEYWORD& other)
    : name(other.name),
      parameters(copy_param_list(other.parameters.get())),
      child(other.child ? std::make_unique<CTCPARSE_KEYWORD>(*other.child) : nullptr),
      root(other.root) {
  std::unique_ptr<CTCPARSE_KEYWORD>* tail = &next;
  for (const CTCPARSE_KEYWORD* k = other.next.get(); k != nullptr; k = k->next.get()) {
    auto copy = std::make_unique<CTCPARSE_KEYWORD>();
    copy->name = k->name;
    copy->parameters = copy_param_list(k->parameters.get());
    if (k->child) copy->child = std::make_unique<CTCPARSE_KEYWORD>(*k->child);
    copy->root = k->root;
    *tail = std::move(copy);
    tail = &(*tail)->next;
  }
}

CTCPARSE_KEYWORD::~CTCPARSE_KEYWORD() {
  std::unique_ptr<CTCPARSE_KEYWORD> rest = std::move(next);
  while (rest) rest = std::move(rest->next);
}

bool CTCPARSE_KEYWORD::is(std::string_view text) const {
  if (text.size() != name.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (ctcparse_chars::lower(text[i]) != ctcparse_chars::lower(name[i])) return false;
  }
  return true;
}

bool CTCPARSE_KEYWORD::write_binary(std::FILE* file) const {
  for (const CTCPARSE_KEYWORD* k = this; k != nullptr; k = k->next.get()) {
    if (!put_u32(file, kKeywordMark) || !put_text(file, k->name)) return false;
    for (const CTCPARSE_PARAM* p = k->parameters.get(); p != nullptr; p = p->next.get()) {
      if (!put_param(file, *p)) return false;
    }
    if (k->child && (!put_u32(file, kChildMark) || !k->child->write_binary(file))) return false;
  }
  return put_u32(file, kEndOfList);
}
