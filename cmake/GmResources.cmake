# Embedded resources: files compiled into a program and looked up at run time
# by (type, name), as a Windows program finds its custom resources.
#
# The bytes are never turned into source text: a generated assembler file pulls
# each file in with .incbin, and a generated C++ table names them. Builds stay
# fast with megabytes of meshes and textures.
#
# gm_add_resource_table(NAME [LISTING file...])
#   Defines the library NAME. Linking it (directly or through another library)
#   puts its resources into the program; the lookup functions of
#   base/resource_store.h find them. Several tables may be linked into one
#   program. A listing file holds one resource per line:
#       TYPE NAME PATH [pad4]
#   PATH is relative to the listing's folder; "pad4" pads the stored bytes with
#   NULs to a multiple of four; "#" starts a comment line. Names and types
#   hold no blanks.
#
# gm_add_resources(NAME TYPE type FILES name path [name path...] [PAD4]
#                  [DEPENDS target...])
#   Adds resources to the table NAME; usable from any folder, before or after
#   gm_add_resource_table. PATH is absolute or relative to the calling folder
#   and may be produced at build time: name the targets that produce it in
#   DEPENDS (for an output of add_custom_command in the same folder, its
#   add_custom_target).

set(GM_RESOURCE_GEN_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/GmResourceGen.cmake)

function(_gm_resource_holder name out)
  set(${out} ${name}_embedded PARENT_SCOPE)
endfunction()

function(_gm_ensure_resource_holder name)
  _gm_resource_holder(${name} holder)
  if(NOT TARGET ${holder})
    # The property holder exists before the table so that entries may be added
    # from folders processed earlier or later.
    add_custom_target(${holder})
  endif()
endfunction()

function(gm_add_resources name)
  cmake_parse_arguments(ARG "PAD4" "TYPE" "FILES;DEPENDS" ${ARGN})
  if(NOT ARG_TYPE)
    message(FATAL_ERROR "gm_add_resources(${name}): TYPE is required")
  endif()
  list(LENGTH ARG_FILES count)
  math(EXPR odd "${count} % 2")
  if(count EQUAL 0 OR odd)
    message(FATAL_ERROR "gm_add_resources(${name}): FILES takes name/path pairs")
  endif()
  _gm_ensure_resource_holder(${name})
  _gm_resource_holder(${name} holder)
  set(pad "-")
  if(ARG_PAD4)
    set(pad "pad4")
  endif()
  math(EXPR last "${count} - 1")
  foreach(i RANGE 0 ${last} 2)
    math(EXPR j "${i} + 1")
    list(GET ARG_FILES ${i} res_name)
    list(GET ARG_FILES ${j} res_path)
    get_filename_component(res_path "${res_path}" ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    set_property(TARGET ${holder} APPEND PROPERTY GM_RESOURCE_ENTRIES
      "${ARG_TYPE}|${res_name}|${pad}|${res_path}")
    set_property(TARGET ${holder} APPEND PROPERTY GM_RESOURCE_FILES "${res_path}")
  endforeach()
  if(ARG_DEPENDS)
    add_dependencies(${holder} ${ARG_DEPENDS})
  endif()
endfunction()

function(gm_add_resource_table name)
  cmake_parse_arguments(ARG "" "" "LISTING" ${ARGN})
  _gm_ensure_resource_holder(${name})
  _gm_resource_holder(${name} holder)

  foreach(listing IN LISTS ARG_LISTING)
    get_filename_component(listing "${listing}" ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    get_filename_component(listing_dir "${listing}" DIRECTORY)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${listing}")
    file(STRINGS "${listing}" lines)
    foreach(line IN LISTS lines)
      string(STRIP "${line}" line)
      if(line STREQUAL "" OR line MATCHES "^#")
        continue()
      endif()
      string(REGEX REPLACE "[ \t]+" ";" fields "${line}")
      list(LENGTH fields field_count)
      if(field_count LESS 3 OR field_count GREATER 4)
        message(FATAL_ERROR "${listing}: bad resource line '${line}'")
      endif()
      list(GET fields 0 res_type)
      list(GET fields 1 res_name)
      list(GET fields 2 res_path)
      set(pad_flag "")
      if(field_count EQUAL 4)
        list(GET fields 3 res_flag)
        if(NOT res_flag STREQUAL "pad4")
          message(FATAL_ERROR "${listing}: unknown flag '${res_flag}' in '${line}'")
        endif()
        set(pad_flag PAD4)
      endif()
      gm_add_resources(${name} TYPE ${res_type} FILES ${res_name} "${listing_dir}/${res_path}"
        ${pad_flag})
    endforeach()
  endforeach()

  set(gen_dir ${CMAKE_CURRENT_BINARY_DIR}/${name}_resources)
  set(entries_file ${gen_dir}/entries.txt)
  set(out_asm ${gen_dir}/resources.S)
  set(out_table ${gen_dir}/table.cpp)
  # Evaluated at generation time, after every folder has added its entries.
  file(GENERATE OUTPUT ${entries_file}
    CONTENT "$<JOIN:$<TARGET_PROPERTY:${holder},GM_RESOURCE_ENTRIES>,\n>\n")
  add_custom_command(
    OUTPUT ${out_asm} ${out_table}
    COMMAND ${CMAKE_COMMAND} -DENTRIES=${entries_file} -DTABLE=${name}
            -DOUT_ASM=${out_asm} -DOUT_TABLE=${out_table} -P ${GM_RESOURCE_GEN_SCRIPT}
    DEPENDS ${entries_file} ${GM_RESOURCE_GEN_SCRIPT}
            "$<TARGET_PROPERTY:${holder},GM_RESOURCE_FILES>"
    COMMENT "Embedding the resources of ${name}"
    VERBATIM)
  # The step rewrites the assembler file whenever a resource file changes, so
  # its object is assembled again and picks up the new bytes.

  add_library(${name}_objects STATIC ${out_asm} ${out_table})
  add_dependencies(${name}_objects ${holder})
  target_link_libraries(${name}_objects PRIVATE wizard_base)
  # The table registers itself when the program starts; nothing refers to it
  # by name, so the whole archive is linked.
  add_library(${name} INTERFACE)
  target_link_libraries(${name} INTERFACE
    "$<LINK_LIBRARY:WHOLE_ARCHIVE,${name}_objects>" wizard_base)
endfunction()
