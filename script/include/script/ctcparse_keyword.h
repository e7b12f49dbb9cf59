// One statement of a parsed script: a call with its values, its nested block
// and the statements after it. Also used for a constant (one value).
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "script/ctcparse_param.h"

class CTCPARSE_KEYWORD {
 public:
  // Names hold at most 39 characters (a 40-byte field in the engine).
  static constexpr std::size_t kNameCapacity = 40;

  CTCPARSE_KEYWORD() = default;
  // Copies name, parameters, child list, the whole next chain and root flag.
  CTCPARSE_KEYWORD(const CTCPARSE_KEYWORD& other);
  CTCPARSE_KEYWORD& operator=(const CTCPARSE_KEYWORD&) = delete;

  // Destroys the parameters, the child list and the whole next chain; the
  // next chain is released without recursion.
  virtual ~CTCPARSE_KEYWORD();

  // Writes this statement and every statement after it in the binary form:
  // per keyword u32 16, u32 name length, name; per parameter u32 type, the
  // 4 value bytes (int, float) or u32 length and bytes (string), u32 length of
  // the variable name and its bytes; u32 32 and the child list when there is
  // one; u32 0xFFFFFFFF after the last keyword of each list. All numbers are
  // little-endian. Returns false when a write failed.
  virtual bool write_binary(std::FILE* file) const;

  // Returns true when the name equals `text` without regard to case.
  bool is(std::string_view text) const;

  std::string name;  // lower-cased
  std::unique_ptr<CTCPARSE_PARAM> parameters;
  std::unique_ptr<CTCPARSE_KEYWORD> next;
  std::unique_ptr<CTCPARSE_KEYWORD> child;
  bool root = false;  // set on the first statement of a top-level parse result
};
