cmake_minimum_required(VERSION 3.25)
# cmake -DSOURCE=<project> -DWORK=<scratch folder> -P PlantedWidgetReads.cmake
# Runs the widget-read check on src/ as it is, then on copies of a small tree
# with one offender planted each time, and fails unless every planted
# offender, and only it, is named.

set(check "${SOURCE}/cmake/CheckWidgetReads.cmake")

# Runs the check on `src`; sets `rc` and `text` in the caller.
macro(run_check src)
  execute_process(COMMAND ${CMAKE_COMMAND} -DSRC=${src} -P ${check}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE text)
  string(APPEND text "${out}")
endmacro()

run_check("${SOURCE}/src")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "src/ as it stands fails the check:\n${text}")
endif()

# A tree that passes: SurfaceView may read its own shape, other folders may
# read the cursor, comments may name anything, and setters are no reads.
function(clean_tree root)
  file(REMOVE_RECURSE "${root}")
  file(WRITE "${root}/ui/SurfaceView.h" "int pointerShape() const { return Shape; }\n")
  file(WRITE "${root}/ui/SurfaceView.cpp" "int n = pointerShape();\n")
  file(WRITE "${root}/ui/Tab.cpp"
       "// pointerShape() and overrideCursor() were read here once.\n"
       "void f(SurfaceView* s) { s->setPointerShape(5); }\n"
       "void g() { QApplication::setOverrideCursor(Qt::WaitCursor); }\n"
       "void h() { QApplication::restoreOverrideCursor(); }\n"
       "void k(ToolBarPanel* t) { t->setOn(ToolBarPanel::Toggle::Loop, true); }\n"
       "bool c = Tools.isOn(Toggle::Pause) || Tools.isOn(Toggle::ShowArp);\n")
  file(WRITE "${root}/ui/BusyGuard.cpp" "bool BusyGuard::active() const { return Engine->busy(); }\n")
  file(WRITE "${root}/app/Start.cpp" "auto* c = QGuiApplication::overrideCursor();\n")
endfunction()

set(tree "${WORK}/clean")
clean_tree("${tree}")
run_check("${tree}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "a clean tree fails the check:\n${text}")
endif()

# Each planted offender: the file, the line, and what the failure must say.
set(plants
  "ui/ChordsTab.cpp|bool p = imgChordPage->pointerShape() == 5@|ui/ChordsTab.cpp: reads a surface's pointerShape()"
  "app/Main.cpp|int n = surface.pointerShape ()@|app/Main.cpp: reads a surface's pointerShape()"
  "ui/MainWindow.cpp|const QCursor* c = QApplication::overrideCursor()@|ui/MainWindow.cpp: reads overrideCursor()"
  "ui/BusyGuard.cpp|return Play->isChecked()@|ui/BusyGuard.cpp: reads a button's checked state"
  "ui/BusyGuard.h|bool b = Tools.isOn(Toggle::Pause)@|ui/BusyGuard.h: reads a button's checked state"
  "ui/PageFilesController.cpp|h.Loop = P.ToolBar.isOn(ToolBarPanel::Toggle::Loop)@|ui/PageFilesController.cpp: reads Play, Loop or Bass Note"
  "ui/MainWindow.cpp|return pnlTop->isOn(ToolBarPanel::Toggle::Play)@|ui/MainWindow.cpp: reads Play, Loop or Bass Note"
  "ui/ToolBarPanel.cpp|o.BassNote = sbtnBassNote->isChecked()@|ui/ToolBarPanel.cpp: reads Play, Loop or Bass Note"
  "ui/ChordDesignTab.cpp|return sbDisplayIntervals->isChecked()@|ui/ChordDesignTab.cpp: reads Show Intervals"
)
set(n 0)
foreach(plant IN LISTS plants)
  string(REPLACE "|" ";" parts "${plant}")
  list(GET parts 0 file)
  list(GET parts 1 line)
  list(GET parts 2 expected)
  string(REPLACE "@" ";" line "${line}")
  math(EXPR n "${n} + 1")
  set(tree "${WORK}/planted-${n}")
  clean_tree("${tree}")
  file(APPEND "${tree}/${file}" "${line}\n")
  run_check("${tree}")
  if(rc EQUAL 0)
    message(FATAL_ERROR "the check let pass: ${file}: ${line}")
  endif()
  string(FIND "${text}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the check did not name '${expected}':\n${text}")
  endif()
  # Only the planted file is named.
  string(REGEX MATCHALL "[a-z]+/[A-Za-z]+\\.(h|cpp): reads" named "${text}")
  list(REMOVE_DUPLICATES named)
  list(LENGTH named count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "the check named more than ${file}:\n${text}")
  endif()
endforeach()

# No file is let pass any more, not even the tab that was listed last.
set(tree "${WORK}/allowed")
clean_tree("${tree}")
file(APPEND "${tree}/ui/PlayPageTab.cpp" "bool p = imgPlayPage->pointerShape() != 0;\n")
run_check("${tree}")
if(rc EQUAL 0)
  message(FATAL_ERROR "the check let pass the tab that was listed last")
endif()
file(REMOVE_RECURSE "${WORK}")
