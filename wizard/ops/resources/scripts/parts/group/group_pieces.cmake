# Writes the 56 group part pieces of PARTS.SCR: for car group g (0..7) and
# slot k (1..7) the piece number (g + 1) * 10 + k, made from the slot's
# template by filling in the group's values. Run with
#   cmake -DOUT_DIR=<folder> -P group_pieces.cmake

cmake_minimum_required(VERSION 3.25)

if(NOT DEFINED OUT_DIR)
  message(FATAL_ERROR "group_pieces.cmake: OUT_DIR is not set")
endif()

set(slots springs clutch cooler dampers filter flywheel gearbox)

# One row per group, P1 P2 P3 O1 O2 O3,R1 W1,R2 B1:
#   springs repair | clutch repair, power | cooler repair | dampers repair |
#   filter repair, power | flywheel repair, power | gearbox repair, gears
set(group_0 "100|20|-0.7|50|100|70|-7|20|-3.5|200|5")
set(group_1 "150|20|-1|75|150|105|-10|30|-5|300|5")
set(group_2 "200|40|-1.8|100|200|140|-18|40|-9|400|6")
set(group_3 "250|50|-2.2|125|250|175|-22|50|-11|500|6")
set(group_4 "300|60|-1.5|150|300|210|-15|60|-7.5|600|6")
set(group_5 "350|70|-2|175|350|245|-20|70|-10|700|6")
set(group_6 "400|80|-2.5|250|400|280|-25|80|-12.5|800|6")
set(group_7 "500|100|-3|200|500|350|-30|100|-15|1000|6")

file(MAKE_DIRECTORY "${OUT_DIR}")
foreach(g RANGE 0 7)
  string(REPLACE "|" ";" row "${group_${g}}")
  list(GET row 0 springs_repair)
  list(GET row 1 clutch_repair)
  list(GET row 2 clutch_power)
  list(GET row 3 cooler_repair)
  list(GET row 4 dampers_repair)
  list(GET row 5 filter_repair)
  list(GET row 6 filter_power)
  list(GET row 7 flywheel_repair)
  list(GET row 8 flywheel_power)
  list(GET row 9 gearbox_repair)
  list(GET row 10 gearbox_gears)
  set(k 0)
  foreach(slot IN LISTS slots)
    math(EXPR k "${k} + 1")
    math(EXPR number "(${g} + 1) * 10 + ${k}")
    set(template "${CMAKE_CURRENT_LIST_DIR}/slot${k}_${slot}.scr.in")
    set(REPAIR "${${slot}_repair}")
    set(POWERADDMIN "${${slot}_power}")
    set(GEARS "${${slot}_gears}")
    file(STRINGS "${template}" placeholders REGEX "@[A-Z]+@")
    foreach(line IN LISTS placeholders)
      string(REGEX MATCH "@([A-Z]+)@" found "${line}")
      if("${${CMAKE_MATCH_1}}" STREQUAL "")
        message(FATAL_ERROR "${template}: no value for @${CMAKE_MATCH_1}@ in piece ${number}")
      endif()
    endforeach()
    # configure_file keeps the CR LF line ends (file(READ) would drop the CRs).
    configure_file("${template}" "${OUT_DIR}/${number}.scr" @ONLY NEWLINE_STYLE CRLF)
    file(TOUCH "${OUT_DIR}/${number}.scr")
  endforeach()
endforeach()
