# Build-time step of gm_add_resource_table: turns the entry list of one table
# into an assembler file that embeds each file with .incbin and a C++ table
# that registers the entries with the resource store.
#
# The assembler file serves ELF (Linux) and PE/COFF (Windows) objects: only
# the section directive and the symbol visibility differ, chosen by the
# preprocessor. The C++ table names each symbol with an assembler label, so
# the platform's prefix for C names (an underscore on 32-bit Windows) never
# comes between the two files.
#
# Input:  ENTRIES  file with one "TYPE|NAME|pad4 or -|absolute path" per line
#         TABLE    table name (used in symbol names)
# Output: OUT_ASM, OUT_TABLE

cmake_minimum_required(VERSION 3.25)

foreach(var ENTRIES TABLE OUT_ASM OUT_TABLE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "GmResourceGen: ${var} is not set")
  endif()
endforeach()

string(MAKE_C_IDENTIFIER "${TABLE}" table_id)
file(STRINGS "${ENTRIES}" lines)

function(c_string_literal text out)
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\\\"" text "${text}")
  set(${out} "\"${text}\"" PARENT_SCOPE)
endfunction()

set(asm "/* Generated from the resource list of ${TABLE}; do not edit. */\n")
string(APPEND asm "#if defined(__ELF__)\n"
                 "#define GM_RESOURCE_SECTION .section .rodata.gm_resources.${table_id},\"a\"\n"
                 "#define GM_LOCAL(sym) .hidden sym\n"
                 "#elif defined(_WIN32)\n"
                 "#define GM_RESOURCE_SECTION .section .rdata$gm_resources_${table_id},\"dr\"\n"
                 "#define GM_LOCAL(sym)\n"
                 "#else\n"
                 "#error \"embedded resources are written for ELF and PE/COFF targets\"\n"
                 "#endif\n")
string(APPEND asm "\tGM_RESOURCE_SECTION\n")
set(decls "")
set(records "")
set(seen "")
set(index 0)
foreach(line IN LISTS lines)
  if(line STREQUAL "")
    continue()
  endif()
  string(REPLACE "|" ";" fields "${line}")
  list(LENGTH fields field_count)
  if(NOT field_count EQUAL 4)
    message(FATAL_ERROR "${ENTRIES}: bad entry '${line}'")
  endif()
  list(GET fields 0 res_type)
  list(GET fields 1 res_name)
  list(GET fields 2 res_pad)
  list(GET fields 3 res_path)
  if(NOT EXISTS "${res_path}" OR IS_DIRECTORY "${res_path}")
    message(FATAL_ERROR "Resource ${res_type} ${res_name}: no file ${res_path}")
  endif()
  string(TOUPPER "${res_type}|${res_name}" key)
  if(key IN_LIST seen)
    message(FATAL_ERROR "Resource ${res_type} ${res_name} is listed twice in ${TABLE}")
  endif()
  list(APPEND seen "${key}")

  set(sym "gm_res_${table_id}_${index}")
  string(REPLACE "\\" "\\\\" asm_path "${res_path}")
  string(REPLACE "\"" "\\\"" asm_path "${asm_path}")
  string(APPEND asm "\t.balign 16\n\t.globl ${sym}\n\tGM_LOCAL(${sym})\n${sym}:\n")
  string(APPEND asm "\t.incbin \"${asm_path}\"\n")
  if(res_pad STREQUAL "pad4")
    string(APPEND asm "\t.balign 4, 0\n")
  endif()
  string(APPEND asm "\t.globl ${sym}_end\n\tGM_LOCAL(${sym}_end)\n${sym}_end:\n")

  string(APPEND decls "extern const unsigned char ${sym}[] __asm__(\"${sym}\");\n"
                      "extern const unsigned char ${sym}_end[] __asm__(\"${sym}_end\");\n")
  c_string_literal("${res_type}" type_literal)
  c_string_literal("${res_name}" name_literal)
  string(APPEND records "    {${type_literal}, ${name_literal}, ${sym}, ${sym}_end},\n")
  math(EXPR index "${index} + 1")
endforeach()
string(APPEND asm "#if defined(__ELF__)\n\t.section .note.GNU-stack,\"\",%progbits\n#endif\n")

set(cpp "// Generated from the resource list of ${TABLE}; do not edit.\n")
string(APPEND cpp "#include \"base/resource_store.h\"\n\n")
if(index GREATER 0)
  string(APPEND cpp "extern \"C\" {\n${decls}}\n\n")
  string(APPEND cpp "namespace {\n\nconst wizard::ResourceRecord kRecords[] = {\n${records}};\n\n")
  string(APPEND cpp "[[maybe_unused]] const bool kRegistered = wizard::RegisterResourceTable(kRecords, ${index});\n\n")
  string(APPEND cpp "}  // namespace\n")
else()
  string(APPEND cpp "// The table is empty.\n")
endif()

file(WRITE "${OUT_ASM}" "${asm}")
file(WRITE "${OUT_TABLE}" "${cpp}")
