# Test step: installs the build into a fresh prefix and checks that every
# expected file arrived.
#
# Input: BUILD (the build folder), PREFIX (a folder to install into; emptied
# first), FILES (;-list of paths relative to the prefix).

cmake_minimum_required(VERSION 3.25)

foreach(var BUILD PREFIX FILES)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "GmInstallCheck: ${var} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(file IN LISTS FILES)
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
file(REMOVE_RECURSE "${PREFIX}")
