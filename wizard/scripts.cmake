# Carwright's embedded resources and its car scripts: the resource store, the
# table of templates (wizard_resources), the five script writers and the
# registration in the game's master scripts. Included by wizard/CMakeLists.txt.

include(GmResources)

add_library(wizard_resource_store STATIC src/resource_store.cpp)
target_include_directories(wizard_resource_store PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include)

# The 56 group pieces of PARTS.SCR are made at build time from seven slot
# templates and the table of group values in group_pieces.cmake.
set(group_source ${CMAKE_CURRENT_SOURCE_DIR}/resources/scripts/parts/group)
set(group_dir ${CMAKE_CURRENT_BINARY_DIR}/group_pieces)
set(group_files "")
set(group_entries "")
foreach(g RANGE 1 8)
  foreach(k RANGE 1 7)
    list(APPEND group_files ${group_dir}/${g}${k}.scr)
    list(APPEND group_entries ${g}${k} ${group_dir}/${g}${k}.scr)
  endforeach()
endforeach()
file(GLOB group_templates CONFIGURE_DEPENDS ${group_source}/*.scr.in)
add_custom_command(
  OUTPUT ${group_files}
  COMMAND ${CMAKE_COMMAND} -DOUT_DIR=${group_dir} -P ${group_source}/group_pieces.cmake
  DEPENDS ${group_source}/group_pieces.cmake ${group_templates}
  COMMENT "Making the group part pieces"
  VERBATIM)
add_custom_target(wizard_group_pieces DEPENDS ${group_files})

# Every resource Carwright carries; the asset writers add theirs with
# gm_add_resources(wizard_resources ...). Libraries do not link the table:
# the programs and tests that need the templates do (Quorvex, which only
# registers cars, carries none of them).
gm_add_resource_table(wizard_resources LISTING resources/scripts.list)
gm_add_resources(wizard_resources TYPE PARTS.SCR FILES ${group_entries} PAD4
  DEPENDS wizard_group_pieces)

# The five script writers and the registration in the game's master scripts.
add_library(wizard_scripts STATIC
  src/template_text.cpp
  src/script_output.cpp
  src/cars_script.cpp
  src/parts_script.cpp
  src/model_script.cpp
  src/texts_icons_scripts.cpp
  src/registration.cpp)
target_include_directories(wizard_scripts PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include)
target_link_libraries(wizard_scripts PUBLIC wizard_base wizard_resource_store)

# The tests join the module's test program.
if(TARGET wizard_test)
  target_sources(wizard_test PRIVATE
    tests/resource_store_test.cpp
    tests/template_text_test.cpp
    tests/cars_script_test.cpp
    tests/parts_model_scripts_test.cpp
    tests/texts_icons_scripts_test.cpp
    tests/script_writers_test.cpp
    tests/registration_test.cpp)
  target_link_libraries(wizard_test PRIVATE wizard_scripts wizard_resources)
endif()
