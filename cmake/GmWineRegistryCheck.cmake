# Test step of the Windows build, under Wine: carwright finds the game folder
# in the registry value DestinationDir of HKLM\SOFTWARE\Ferrovane\Gravelmoor,
# as the game's installer leaves it. Without the key, list fails for want of
# a game folder; with it (written by Wine's reg tool), create and list work
# without --game-folder and without GRAVELMOOR_DIR.
#
# Input: WINE (the words that start carwright.exe under Wine, separated by |;
#        the last is the program), GAME (the demo game), WORK (a scratch
#        folder, emptied first).

cmake_minimum_required(VERSION 3.25)

foreach(var WINE GAME WORK)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "GmWineRegistryCheck: ${var} is not set")
  endif()
endforeach()

string(REPLACE "|" ";" carwright "${WINE}")
set(wine "${carwright}")
list(POP_BACK wine)
set(key "HKLM\\SOFTWARE\\Ferrovane\\Gravelmoor")
unset(ENV{GRAVELMOOR_DIR})

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(COPY "${GAME}/" DESTINATION "${WORK}/game")
string(REPLACE "/" "\\" folder "Z:${WORK}/game/")

function(run expect_ok)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(expect_ok AND NOT result EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${result}):\n${out}\n${err}")
  endif()
  if(NOT expect_ok AND result EQUAL 0)
    message(FATAL_ERROR "${ARGN} succeeded, but should have failed:\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

# A key left by an earlier run goes; there may be none.
execute_process(COMMAND ${wine} reg delete "${key}" /f OUTPUT_QUIET ERROR_QUIET)
run(FALSE ${carwright} list)
# Called directly: the folder ends in a backslash, which would escape the
# list separator after it in a function's arguments.
execute_process(COMMAND ${wine} reg add "${key}" /v DestinationDir /t REG_SZ /d "${folder}" /f
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "wine reg add failed (${result}):\n${out}\n${err}")
endif()
run(TRUE ${carwright} create --id RG1)
run(TRUE ${carwright} list)
string(REPLACE "\r" "" out "${out}")
if(NOT out STREQUAL "RG1\n")
  message(FATAL_ERROR "carwright list printed '${out}', not the car made through the registry")
endif()
if(NOT EXISTS "${WORK}/game/Data/Cars/RG1/RG1.scr" AND NOT IS_DIRECTORY "${WORK}/game/Data/Cars/RG1")
  message(FATAL_ERROR "no car folder Data/Cars/RG1 in the game folder of the registry")
endif()
run(TRUE ${wine} reg delete "${key}" /f)
file(REMOVE_RECURSE "${WORK}")
