# Test step: creates car AB1 with two paintings in a copy of the demo game
# with the carwright program given, and compares every file of the game
# folder afterwards (the car's folder, the master scripts, Carwright.ini) with
# the SHA-256 list EXPECTED. The Linux and the Windows build are held to the
# same list, so a car made on either is byte for byte the same.
#
# Input: RUN (the command that starts carwright, its words separated by |),
#        GAME (the demo game), WORK (a scratch folder, emptied first),
#        EXPECTED (the list), WINDOWS_PATHS (ON: the game folder is handed
#        over as a Windows path on drive Z:, as Wine maps the root),
#        UPDATE (ON: write the list instead of comparing).

cmake_minimum_required(VERSION 3.25)

foreach(var RUN GAME WORK EXPECTED)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "GmCarTreeCheck: ${var} is not set")
  endif()
endforeach()

string(REPLACE "|" ";" run "${RUN}")
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(COPY "${GAME}/" DESTINATION "${WORK}/game")

set(folder "${WORK}/game")
if(WINDOWS_PATHS)
  string(REPLACE "/" "\\" folder "Z:${folder}")
endif()
execute_process(
  COMMAND ${run} create --game-folder "${folder}" --id AB1 --paintings 2 --name "Gravel Star"
  WORKING_DIRECTORY "${WORK}"
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "carwright create failed (${result}):\n${out}\n${err}")
endif()

file(GLOB_RECURSE files RELATIVE "${WORK}/game" "${WORK}/game/*")
list(SORT files)
set(listing "")
foreach(name IN LISTS files)
  file(SHA256 "${WORK}/game/${name}" hash)
  string(APPEND listing "${hash}  ${name}\n")
endforeach()

if(UPDATE)
  file(WRITE "${EXPECTED}" "${listing}")
  message(STATUS "wrote ${EXPECTED}")
  return()
endif()
file(READ "${EXPECTED}" expected)
if(NOT listing STREQUAL expected)
  file(WRITE "${WORK}/actual.txt" "${listing}")
  execute_process(COMMAND diff -u "${EXPECTED}" "${WORK}/actual.txt" OUTPUT_VARIABLE difference)
  message(FATAL_ERROR "the game folder differs from ${EXPECTED}:\n${difference}")
endif()
file(REMOVE_RECURSE "${WORK}")
