# Carwright's wizard logic without a screen: the model, its view interface,
# page order and LocalizeForm. Included from this folder's CMakeLists.txt.

add_library(wizard_core
  src/wizard_model.cpp
  src/wizard_controls.cpp
  src/wizard_pages.cpp
  src/localize.cpp)
target_include_directories(wizard_core PUBLIC ${CMAKE_CURRENT_LIST_DIR}/include)
target_link_libraries(wizard_core PUBLIC wizard_base)

gm_add_test(wizard_core_tests
  SOURCES
    tests/wizard_navigation_test.cpp
    tests/wizard_controls_test.cpp
    tests/localize_test.cpp
    tests/test_folder.cpp
  LIBS wizard_core)
