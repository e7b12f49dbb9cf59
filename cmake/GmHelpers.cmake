# Small helpers shared by the modules' CMakeLists.

# gm_add_test(NAME SOURCES src... [LIBS lib...])
# One GoogleTest executable per module, named <module>_test, its cases
# registered with CTest. It links the shared test support (scratch folder,
# file helpers, program runner).
# The shared test data folder (../shared/testdata beside the checkout) is
# passed to the tests as GM_TESTDATA. Each case runs in the C locale and with
# Qt's offscreen platform.
function(gm_add_test name)
  if(NOT GM_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} gm_test_support GTest::gtest GTest::gtest_main
                        gm_warnings)
  get_filename_component(testdata "${PROJECT_SOURCE_DIR}/../shared/testdata" ABSOLUTE)
  target_compile_definitions(${name} PRIVATE
    GM_TESTDATA="${testdata}" GM_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  if(GM_WINDOWS_CROSS)
    # Under Wine each start of a program costs about a second, so a test
    # program runs whole as one test instead of once per case.
    # Wine maps Windows file names to the Linux ones through the locale's
    # character set: C.UTF-8 keeps names such as "Łódź.dds" (plain C cannot
    # hold them).
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "LANG=C.UTF-8;LC_ALL=C.UTF-8"
      FIXTURES_REQUIRED wine_prefix)
    return()
  endif()
  # The discovery script flattens a property's list: only its first element
  # would survive, so each property holds exactly one setting (LC_ALL
  # overrides LANG and every LC_ variable).
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "LC_ALL=C"
               ENVIRONMENT_MODIFICATION "QT_QPA_PLATFORM=set:offscreen")
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
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} gm_warnings)
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzzers)
  set_property(GLOBAL APPEND PROPERTY GM_FUZZERS ${name})
endfunction()

# gm_module_selection(MODULES ONLY OUT)
# Sets OUT to the modules of the list MODULES to build, in MODULES' order: all
# of them when ONLY is empty; else those that ONLY names, and again and again
# the modules that the variable gm_needs_<module> lists for a chosen one. A
# name in ONLY may also be a folder of modules ("wizard" chooses every
# wizard/ layer). An unknown name stops the configuration.
function(gm_module_selection modules only out)
  if(NOT only)
    set(${out} ${modules} PARENT_SCOPE)
    return()
  endif()
  set(wanted "")
  foreach(name IN LISTS only)
    set(found FALSE)
    foreach(module IN LISTS modules)
      if(module STREQUAL name OR module MATCHES "^${name}/")
        list(APPEND wanted ${module})
        set(found TRUE)
      endif()
    endforeach()
    if(NOT found)
      message(FATAL_ERROR "GM_ONLY_MODULES names ${name}, which is no module (${modules})")
    endif()
  endforeach()
  set(pending ${wanted})
  while(pending)
    list(POP_FRONT pending module)
    foreach(need IN LISTS gm_needs_${module})
      if(NOT need IN_LIST wanted)
        list(APPEND wanted ${need})
        list(APPEND pending ${need})
      endif()
    endforeach()
  endwhile()
  set(selected "")
  foreach(module IN LISTS modules)
    if(module IN_LIST wanted)
      list(APPEND selected ${module})
    endif()
  endforeach()
  set(${out} ${selected} PARENT_SCOPE)
endfunction()

# gm_add_layer_check(TEST name TARGET target HEADER header)
# A test that a layer cannot see a header of a layer above it: a source that
# includes HEADER, compiled with the include paths of TARGET, must fail for
# want of the header. The source is built only by the test, one such build at
# a time.
function(gm_add_layer_check)
  if(NOT GM_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "TEST;TARGET;HEADER" "" ${ARGN})
  string(MAKE_C_IDENTIFIER "layer_check_${ARG_TEST}" probe)
  set(source ${CMAKE_CURRENT_BINARY_DIR}/${probe}.cpp)
  file(CONFIGURE OUTPUT ${source} CONTENT "#include \"${ARG_HEADER}\"\n")
  add_library(${probe} OBJECT EXCLUDE_FROM_ALL ${source})
  target_link_libraries(${probe} PRIVATE ${ARG_TARGET})
  add_test(NAME ${ARG_TEST} COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target ${probe})
  string(REPLACE "." "\\." header_pattern "${ARG_HEADER}")
  set_tests_properties(${ARG_TEST} PROPERTIES
    RESOURCE_LOCK build_tree
    PASS_REGULAR_EXPRESSION "${header_pattern}'?:? (No such file or directory|file not found)")
endfunction()
