cmake_minimum_required(VERSION 3.25)
# cmake -DSRC=<src folder> -P CheckIncludes.cmake
# Fails when a source under SRC includes a header of a layer above its own.
include(${CMAKE_CURRENT_LIST_DIR}/CheckLayers.cmake)
strumbo_upward_includes("${SRC}" found)
if(found)
  list(JOIN found "\n  " text)
  message(FATAL_ERROR "Upward includes in src/:\n  ${text}")
endif()
