// A readable listing of a parsed script: one line per statement with its
// keyword name and typed values, nested blocks indented by two spaces.
#pragma once

#include <string>

#include "script/ctcparse_keyword.h"

// Returns the listing of `first` and every statement after it, for example
//   car(string "AB1", int 3 from %variant)
//     wheel(float 0.35)
// Strings are quoted with \\, \", \r, \n, \t and \xNN escapes; floats use the
// shortest text that reads back as the same value. nullptr gives "".
std::string format_statement_tree(const CTCPARSE_KEYWORD* first);
