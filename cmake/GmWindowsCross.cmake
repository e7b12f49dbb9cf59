# What the Windows cross builds (presets windows-i686 and windows-x86_64) need beyond the
# compiler, made from Debian packages of the build machine, nothing downloaded:
#
# - CLI11, fmt (header-only mode) and nlohmann-json: header-only libraries
#   whose headers are taken from the build machine through a folder that
#   holds nothing else, so no Linux system header is ever seen;
# - GoogleTest, compiled from the sources of the Debian package googletest;
# - the generator of the embedded generic car (gm_assetgen), built for the
#   build machine by a nested native build, since its output is data;
# - Wine with one prefix under the build folder, to run the test programs.

set(gm_cross_include ${CMAKE_BINARY_DIR}/cross-include)
file(MAKE_DIRECTORY ${gm_cross_include})
foreach(folder CLI fmt nlohmann)
  if(NOT EXISTS /usr/include/${folder})
    message(FATAL_ERROR "/usr/include/${folder} is missing: run scripts/install-deps")
  endif()
  file(CREATE_LINK /usr/include/${folder} ${gm_cross_include}/${folder} SYMBOLIC)
endforeach()

# find_package(NAME) in the modules finds these files.
set(gm_cross_config ${CMAKE_BINARY_DIR}/cross-config)
function(_gm_cross_package name content)
  file(WRITE ${gm_cross_config}/${name}/${name}Config.cmake "${content}")
  set(${name}_DIR ${gm_cross_config}/${name} CACHE PATH "" FORCE)
endfunction()
_gm_cross_package(CLI11 "
if(NOT TARGET CLI11::CLI11)
  add_library(CLI11::CLI11 INTERFACE IMPORTED)
  set_target_properties(CLI11::CLI11 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${gm_cross_include})
endif()
")
_gm_cross_package(fmt "
if(NOT TARGET fmt::fmt)
  add_library(fmt::fmt INTERFACE IMPORTED)
  set_target_properties(fmt::fmt PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${gm_cross_include}
    INTERFACE_COMPILE_DEFINITIONS FMT_HEADER_ONLY=1)
endif()
")
_gm_cross_package(nlohmann_json "
if(NOT TARGET nlohmann_json::nlohmann_json)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${gm_cross_include})
endif()
")

# GoogleTest from source, with the targets' usual names.
macro(gm_cross_googletest)
  set(gm_gtest_source /usr/src/googletest)
  if(NOT EXISTS ${gm_gtest_source}/CMakeLists.txt)
    message(FATAL_ERROR "${gm_gtest_source} is missing: run scripts/install-deps windows")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(${gm_gtest_source} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  foreach(lib gtest gtest_main gmock gmock_main)
    if(NOT TARGET GTest::${lib})
      add_library(GTest::${lib} ALIAS ${lib})
    endif()
  endforeach()
endmacro()

# The asset generator for the build machine.
include(ExternalProject)
set(gm_host_build ${CMAKE_BINARY_DIR}/host-tools)
set(GM_HOST_ASSETGEN ${gm_host_build}/assets/gm_assetgen)
ExternalProject_Add(gm_host_tools
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${gm_host_build}
  CMAKE_ARGS -G Ninja -DCMAKE_BUILD_TYPE=Release -DGM_BUILD_TESTS=OFF -DGM_BUILD_UI=OFF
             -DGM_ONLY_MODULES=assets -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
             -DCMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER}
             -DCMAKE_TOOLCHAIN_FILE=
  BUILD_COMMAND ${CMAKE_COMMAND} --build ${gm_host_build} --target gm_assetgen
  BUILD_BYPRODUCTS ${GM_HOST_ASSETGEN}
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  EXCLUDE_FROM_ALL ON)

# Every Windows program of the build, tests included, runs under Wine in its
# own prefix below the build folder, quietly.
# 32-bit programs need Wine's 32-bit loader (wine32), 64-bit ones its 64-bit
# loader, which Debian keeps out of PATH.
set(GM_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  find_program(GM_WINE NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
  find_program(GM_WINE NAMES wine64)
else()
  find_program(GM_WINE NAMES wine)
endif()
if(NOT GM_WINE)
  set(GM_WINE wine)
  message(WARNING "Wine is missing: the tests cannot run (scripts/install-deps windows)")
endif()
set(GM_WINE_ENV WINEPREFIX=${GM_WINEPREFIX} WINEDEBUG=-all "WINEDLLOVERRIDES=mscoree,mshtml=")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env ${GM_WINE_ENV} ${GM_WINE})

# The fixture every test under Wine needs: the prefix made once, by wineboot,
# before any test program starts (the first start of Wine takes long).
function(gm_cross_wine_fixture)
  add_test(NAME wine.prefix COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} wineboot --init)
  set_tests_properties(wine.prefix PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 1800)
endfunction()
