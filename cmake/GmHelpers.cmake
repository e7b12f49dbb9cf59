# Small helpers shared by the modules' CMakeLists.

# gm_add_test(NAME SOURCES src... [LIBS lib...] [ENV VAR=value...])
# One GoogleTest executable per module, its cases registered with CTest.
# The shared test data folder (../shared/testdata beside the checkout) is
# passed to the tests as GM_TESTDATA.
function(gm_add_test name)
  if(NOT GM_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  get_filename_component(testdata "${PROJECT_SOURCE_DIR}/../shared/testdata" ABSOLUTE)
  target_compile_definitions(${name} PRIVATE
    GM_TESTDATA="${testdata}" GM_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "LANG=C;LC_ALL=C;QT_QPA_PLATFORM=offscreen;${ARG_ENV}")
endfunction()

# gm_add_fuzzer(NAME SOURCES src... [LIBS lib...])
# A libFuzzer target, built only with GM_BUILD_FUZZ and clang, into
# build-fuzz/fuzzers/. NAME starts with fuzz_; its seed corpus, if any, is the
# folder <module>/fuzz/NAME_corpus.
function(gm_add_fuzzer name)
  if(NOT GM_BUILD_FUZZ OR NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzzers)
  set_property(GLOBAL APPEND PROPERTY GM_FUZZERS ${name})
endfunction()
