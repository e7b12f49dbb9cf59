// The readable listing of a statement tree.
#include "script/statement_tree.h"

#include <charconv>
#include <cstdio>

namespace {

void append_quoted(std::string& out, const std::string& text) {
  out += '"';
  for (const char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
          char escaped[8];
          std::snprintf(escaped, sizeof(escaped), "\\x%02X", static_cast<unsigned char>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

void append_param(std::string& out, const CTCPARSE_PARAM& param) {
  switch (param.type) {
    case CTCPARSE_PARAM::kInt:
      out += "int ";
      out += std::to_string(static_cast<const CTCPARSE_INT&>(param).value);
      break;
    case CTCPARSE_PARAM::kFloat: {
      char number[32];
      const auto result = std::to_chars(number, number + sizeof(number),
                                        static_cast<const CTCPARSE_FLOAT&>(param).value);
      out += "float ";
      out.append(number, result.ptr);
      break;
    }
    default:
      out += "string ";
      append_quoted(out, static_cast<const CTCPARSE_STRING&>(param).value);
      break;
  }
  if (!param.name.empty()) {
    out += " from %";
    out += param.name;
  }
}

void append_list(std::string& out, const CTCPARSE_KEYWORD* first, int depth) {
  for (const CTCPARSE_KEYWORD* k = first; k != nullptr; k = k->next.get()) {
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
    out += k->name;
    out += '(';
    for (const CTCPARSE_PARAM* p = k->parameters.get(); p != nullptr; p = p->next.get()) {
      if (p != k->parameters.get()) out += ", ";
      append_param(out, *p);
    }
    out += ")\n";
    if (k->child) append_list(out, k->child.get(), depth + 1);
  }
}

}  // namespace

std::string format_statement_tree(const CTCPARSE_KEYWORD* first) {
  std::string out;
  append_list(out, first, 0);
  return out;
}
