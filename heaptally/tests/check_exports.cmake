# Fails unless LIBRARY defines exactly the symbols memAlloc, memFree, memSize
# and Heaptally in its dynamic symbol table. Run with cmake -P.
execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY}
  OUTPUT_VARIABLE listing RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${listing}")
set(names "")
foreach(line ${lines})
  # "<address> <type> <name>"; absolute version nodes (type A) are not code.
  if(line MATCHES "^[0-9a-fA-F]+ ([A-Za-z]) ([^ ]+)$" AND NOT CMAKE_MATCH_1 STREQUAL "A")
    list(APPEND names ${CMAKE_MATCH_2})
  endif()
endforeach()
list(SORT names)
set(expected Heaptally memAlloc memFree memSize)
if(NOT names STREQUAL expected)
  message(FATAL_ERROR "exported: ${names}; expected: ${expected}")
endif()
