# The window's widgets only show what the models decide: no mode or busy
# state is read back from a widget. These checks find such reads in src/:
#
#   - pointerShape() of a surface, anywhere but SurfaceView's own files (the
#     mode of a page is its model's: placing, moving or neither);
#   - QApplication::overrideCursor() read in ui/ (whether the program is busy
#     is BusyPointer's to say, not the cursor's shape);
#   - a button's checked state read by the busy guard (playback is the
#     engine's to say, not the Play and Pause buttons');
#   - the tool bar's Play, Loop or Bass Note toggle read anywhere (whether
#     Play is down is the engine's to say; Loop and Bass Note are saved with
#     the play page, so the state holds them);
#   - Show Intervals read from its button (the state holds it).
#
# Run alone:  cmake -DSRC=<src folder> -P cmake/CheckWidgetReads.cmake
# The configure (strumbo_check_layers) and every build (CheckIncludes.cmake)
# run it too.
if(CMAKE_SCRIPT_MODE_FILE)
  cmake_minimum_required(VERSION 3.25)
endif()
#
# Files whose reads are let pass, relative to src/: none. A file may be
# listed for a while when a read is being moved over to its model.
set(STRUMBO_WIDGET_READS_ALLOWED)

# Sets `out` to one line per file and rule broken under `src`, files in
# `allowed` (paths relative to src) left out.
function(strumbo_widget_reads src allowed out)
  set(found "")
  file(GLOB_RECURSE sources RELATIVE "${src}" "${src}/*.h" "${src}/*.cpp")
  list(SORT sources)
  foreach(source IN LISTS sources)
    if(source IN_LIST allowed)
      continue()
    endif()
    file(STRINGS "${src}/${source}" lines)
    set(code "")
    foreach(line IN LISTS lines)
      # Comments may name what they like.
      string(REGEX REPLACE "//.*$" "" line "${line}")
      string(APPEND code "${line}\n")
    endforeach()
    if(NOT source MATCHES "^ui/SurfaceView\\.(h|cpp)$" AND code MATCHES "pointerShape[ \t]*\\(")
      list(APPEND found "${source}: reads a surface's pointerShape(), ask the page's model for its mode")
    endif()
    if(source MATCHES "^ui/" AND code MATCHES "(^|[^A-Za-z0-9_])overrideCursor[ \t]*\\(")
      list(APPEND found "${source}: reads overrideCursor(), ask BusyPointer::showing()")
    endif()
    if(source MATCHES "^ui/BusyGuard\\.(h|cpp)$" AND code MATCHES "(isChecked|isOn)[ \t]*\\(")
      list(APPEND found "${source}: reads a button's checked state, ask the playback engine")
    endif()
    if(code MATCHES "isOn[ \t]*\\([^);]*Toggle::(Play|Loop|BassNote)[^A-Za-z0-9_]"
       OR code MATCHES "sbtn(Play|Loop|BassNote)[ \t]*->[ \t]*isChecked[ \t]*\\(")
      list(APPEND found "${source}: reads Play, Loop or Bass Note from the tool bar, ask the engine or the state")
    endif()
    if(code MATCHES "sbDisplayIntervals[ \t]*->[ \t]*isChecked[ \t]*\\(")
      list(APPEND found "${source}: reads Show Intervals from its button, ask the state")
    endif()
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE AND CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  get_filename_component(SRC "${SRC}" ABSOLUTE)
  strumbo_widget_reads("${SRC}" "${STRUMBO_WIDGET_READS_ALLOWED}" found)
  if(found)
    list(JOIN found "\n  " text)
    message(FATAL_ERROR "Modes read back from widgets in src/:\n  ${text}")
  endif()
endif()
