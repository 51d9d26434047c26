# The layers of src/, lowest first. Each folder is one library and may use only
# the layers named after it: its headers are included only from those
# folders, and its target links only their targets. The rule is checked when
# the build is configured (strumbo_check_layers) and again at every build
# (target strumbo_layers), so an include added to a source file later is
# caught too.
#
#   name        folder          target               may use
set(STRUMBO_LAYERS
  "files       | files        | strumbo_files       | "
  "music       | music        | strumbo_music       | "
  "library     | library      | strumbo_library     | music"
  "design      | design       | strumbo_design      | music library"
  "play        | play         | strumbo_play        | music library design"
  "pages       | pages        | strumbo_pages       | music library design play files"
  "state       | state        | strumbo_state       | music library design play pages files"
  "settings    | settings     | strumbo_settings    | music library design play pages files"
  "midi        | midi         | strumbo_midi        | music library design play"
  "output      | output       | strumbo_play_output | music library design play pages midi files"
  "render      | render       | strumbo_render      | music library design play pages files"
  "ui          | ui           | strumbo_ui          | music library design play pages state settings midi output render files"
  "app         | app          | strumbo             | music library design play pages state settings midi output render ui files"
)
# Layers that must not link anything outside this project (no Qt, no system
# library): the model and logic, so they can be tested and reused alone.
set(STRUMBO_STANDARD_LIBRARY_ONLY files music library design play pages state)
# Layers that must stay free of Qt.
set(STRUMBO_NO_QT settings midi output)

# Splits one row of STRUMBO_LAYERS into name, folder, target and uses.
macro(_strumbo_layer_row row)
  string(REPLACE "|" ";" _cells "${row}")
  list(GET _cells 0 _name)
  list(GET _cells 1 _folder)
  list(GET _cells 2 _target)
  list(GET _cells 3 _uses)
  string(STRIP "${_name}" _name)
  string(STRIP "${_folder}" _folder)
  string(STRIP "${_target}" _target)
  string(STRIP "${_uses}" _uses)
  string(REGEX REPLACE " +" ";" _uses "${_uses}")
endmacro()

# The layer a path under src/ belongs to: the one with the longest folder
# that starts the path; empty when none does.
function(_strumbo_layer_of path out)
  set(best "")
  set(best_length 0)
  foreach(row IN LISTS STRUMBO_LAYERS)
    _strumbo_layer_row("${row}")
    string(LENGTH "${_folder}" length)
    string(FIND "${path}" "${_folder}/" at)
    if(at EQUAL 0 AND length GREATER best_length)
      set(best "${_name}")
      set(best_length ${length})
    endif()
  endforeach()
  set(${out} "${best}" PARENT_SCOPE)
endfunction()

# Every quoted include of every source under `src` that reaches a layer its
# own layer may not use. Returns the offending lines, one per list item.
function(strumbo_upward_includes src out)
  set(found "")
  file(GLOB_RECURSE sources RELATIVE "${src}" "${src}/*.h" "${src}/*.cpp")
  foreach(file IN LISTS sources)
    _strumbo_layer_of("${file}" layer)
    if(NOT layer)
      continue()
    endif()
    set(uses "")
    foreach(row IN LISTS STRUMBO_LAYERS)
      _strumbo_layer_row("${row}")
      if(_name STREQUAL layer)
        set(uses ${_uses})
      endif()
    endforeach()
    file(STRINGS "${src}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" header "${line}")
      _strumbo_layer_of("${header}" reached)
      if(reached AND NOT reached STREQUAL layer AND NOT reached IN_LIST uses)
        list(APPEND found "src/${file} (${layer}) includes ${header} (${reached})")
      endif()
    endforeach()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

# Files of src/ that include each other, directly or through others. A unit
# is a header with its source file (a.h and a.cpp are one unit). Returns the
# units that sit on an include cycle, or nothing.
function(strumbo_include_cycles src out)
  file(GLOB_RECURSE sources RELATIVE "${src}" "${src}/*.h" "${src}/*.cpp")
  set(units "")
  foreach(file IN LISTS sources)
    string(REGEX REPLACE "\\.(h|cpp)$" "" unit "${file}")
    string(MAKE_C_IDENTIFIER "${unit}" id)
    if(NOT unit IN_LIST units)
      list(APPEND units "${unit}")
      set(deps_${id} "")
    endif()
    file(STRINGS "${src}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" header "${line}")
      string(REGEX REPLACE "\\.(h|cpp)$" "" target "${header}")
      if(EXISTS "${src}/${header}" AND NOT target STREQUAL unit)
        list(APPEND deps_${id} "${target}")
      endif()
    endforeach()
  endforeach()
  # Peel off units whose includes are all peeled already; what cannot be
  # peeled lies on a cycle or includes one.
  set(left ${units})
  set(done "")
  set(progress TRUE)
  while(progress)
    set(progress FALSE)
    set(still "")
    foreach(unit IN LISTS left)
      string(MAKE_C_IDENTIFIER "${unit}" id)
      set(ready TRUE)
      foreach(dep IN LISTS deps_${id})
        if(NOT dep IN_LIST done)
          set(ready FALSE)
          break()
        endif()
      endforeach()
      if(ready)
        list(APPEND done "${unit}")
        set(progress TRUE)
      else()
        list(APPEND still "${unit}")
      endif()
    endforeach()
    set(left ${still})
  endwhile()
  # Then peel off what no remaining unit includes: what is left is the cycles.
  set(progress TRUE)
  while(progress)
    set(progress FALSE)
    set(needed "")
    foreach(unit IN LISTS left)
      string(MAKE_C_IDENTIFIER "${unit}" id)
      list(APPEND needed ${deps_${id}})
    endforeach()
    set(still "")
    foreach(unit IN LISTS left)
      if(unit IN_LIST needed)
        list(APPEND still "${unit}")
      else()
        set(progress TRUE)
      endif()
    endforeach()
    set(left ${still})
  endwhile()
  set(${out} "${left}" PARENT_SCOPE)
endfunction()

function(_strumbo_link_closure target out)
  set(seen "")
  set(queue ${target})
  while(queue)
    list(POP_FRONT queue t)
    if(t IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${t})
    if(TARGET ${t})
      get_target_property(kind ${t} TYPE)
      set(libs "")
      if(NOT kind STREQUAL "INTERFACE_LIBRARY")
        get_target_property(libs ${t} LINK_LIBRARIES)
      endif()
      get_target_property(ilibs ${t} INTERFACE_LINK_LIBRARIES)
      foreach(l IN LISTS libs ilibs)
        string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" l "${l}")
        if(l AND NOT l MATCHES "-NOTFOUND$")
          list(APPEND queue ${l})
        endif()
      endforeach()
    endif()
  endwhile()
  list(REMOVE_ITEM seen ${target})
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# Checks every layer's links and every source's includes; any breach stops
# the configure with the list of what is wrong.
function(strumbo_check_layers)
  set(errors "")
  set(project_targets "")
  foreach(row IN LISTS STRUMBO_LAYERS)
    _strumbo_layer_row("${row}")
    list(APPEND project_targets ${_target})
  endforeach()
  foreach(row IN LISTS STRUMBO_LAYERS)
    _strumbo_layer_row("${row}")
    set(name ${_name})
    set(target ${_target})
    set(allowed "")
    foreach(used IN LISTS _uses)
      foreach(other IN LISTS STRUMBO_LAYERS)
        _strumbo_layer_row("${other}")
        if(_name STREQUAL used)
          list(APPEND allowed ${_target})
        endif()
      endforeach()
    endforeach()
    _strumbo_link_closure(${target} closure)
    foreach(l IN LISTS closure)
      if(l IN_LIST project_targets AND NOT l IN_LIST allowed)
        list(APPEND errors "${target} (${name}) links ${l}, a layer it may not use")
      elseif(name IN_LIST STRUMBO_STANDARD_LIBRARY_ONLY AND NOT l IN_LIST project_targets)
        list(APPEND errors "${target} (${name}) links ${l}: model and logic use the standard library only")
      elseif(name IN_LIST STRUMBO_NO_QT AND l MATCHES "Qt")
        list(APPEND errors "${target} (${name}) links ${l}: this layer is free of Qt")
      endif()
    endforeach()
  endforeach()
  strumbo_upward_includes("${CMAKE_SOURCE_DIR}/src" includes)
  list(APPEND errors ${includes})
  strumbo_include_cycles("${CMAKE_SOURCE_DIR}/src" cycles)
  if(cycles)
    list(JOIN cycles ", " cycles)
    list(APPEND errors "files including each other in a cycle: ${cycles}")
  endif()
  include(${CMAKE_SOURCE_DIR}/cmake/CheckWidgetReads.cmake)
  strumbo_widget_reads("${CMAKE_SOURCE_DIR}/src" "${STRUMBO_WIDGET_READS_ALLOWED}" reads)
  list(APPEND errors ${reads})
  if(errors)
    list(JOIN errors "\n  " text)
    message(FATAL_ERROR "The layers of src/ are broken:\n  ${text}")
  endif()
  # The same include checks at every build, for includes added since the configure.
  add_custom_target(strumbo_layers ALL
    COMMAND ${CMAKE_COMMAND} -DSRC=${CMAKE_SOURCE_DIR}/src -P ${CMAKE_SOURCE_DIR}/cmake/CheckIncludes.cmake
    COMMENT "Checking that src/ includes only downward and reads no mode from a widget"
    VERBATIM)
endfunction()
