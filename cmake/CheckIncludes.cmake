cmake_minimum_required(VERSION 3.25)
# cmake -DSRC=<src folder> -P CheckIncludes.cmake
# Fails when a source under SRC includes a header of a layer above its own,
# or when files include each other in a cycle, or when the window reads a
# mode back from a widget (CheckWidgetReads.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/CheckLayers.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/CheckWidgetReads.cmake)
get_filename_component(SRC "${SRC}" ABSOLUTE)
strumbo_upward_includes("${SRC}" found)
if(found)
  list(JOIN found "\n  " text)
  message(FATAL_ERROR "Upward includes in src/:\n  ${text}")
endif()
strumbo_include_cycles("${SRC}" cycles)
if(cycles)
  list(JOIN cycles "\n  " text)
  message(FATAL_ERROR "Files including each other in a cycle:\n  ${text}")
endif()
strumbo_widget_reads("${SRC}" "${STRUMBO_WIDGET_READS_ALLOWED}" reads)
if(reads)
  list(JOIN reads "\n  " text)
  message(FATAL_ERROR "Modes read back from widgets in src/:\n  ${text}")
endif()
