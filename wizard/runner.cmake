# The operation runner (create, delete, pack, install) and the wiring of the
# wizard model to it and to the package layer. Included by
# wizard/CMakeLists.txt; the devuza target comes from its own folder.

add_library(wizard_runner STATIC
  src/car_layout.cpp
  src/asset_writer.cpp
  src/operation_run.cpp
  src/create_car_run.cpp
  src/package_run.cpp
  src/model_runner.cpp
  src/variants_file.cpp)
target_include_directories(wizard_runner PUBLIC ${CMAKE_CURRENT_LIST_DIR}/include)
target_link_libraries(wizard_runner PUBLIC wizard_core wizard_scripts wizard_assets devuza)

gm_add_test(wizard_runner_tests
  SOURCES
    tests/test_folder.cpp
    tests/run_test_support.cpp
    tests/car_layout_test.cpp
    tests/create_car_run_test.cpp
    tests/delete_car_run_test.cpp
    tests/package_run_test.cpp
    tests/model_runner_test.cpp
    tests/variants_file_test.cpp
    tests/embedded_create_run_test.cpp
  LIBS wizard_runner wizard_resources)

# The sub-commands over the runner are tested as a user runs them.
if(TARGET wizard_runner_tests)
  target_sources(wizard_runner_tests PRIVATE tests/carwright_commands_test.cpp)
  add_dependencies(wizard_runner_tests carwright)
  target_compile_definitions(wizard_runner_tests PRIVATE CARWRIGHT_PATH="$<TARGET_FILE:carwright>")
endif()
