# The headless exports onto a real file system that is full: each fails with
# one line of ours and a failure status, leaves no file (nor any temporary)
# behind, and an earlier file of that name is byte for byte as it was.
# Mounts a small tmpfs, so it needs root; elsewhere it is skipped.
# Called with -DSTRUMBO=<program> -DWRITER=<write_export_pages> -DWORK=<dir>.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/full)
execute_process(COMMAND ${WRITER} ${WORK} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "could not write the test pages")
endif()
execute_process(COMMAND mount -t tmpfs -o size=64k tmpfs ${WORK}/full
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
if(NOT rc EQUAL 0)
  message("skipped: no tmpfs could be mounted (not root?)")
  return()
endif()

set(earlier "an earlier export, to be kept\n")
foreach(name earlier.pdf earlier.mid earlier.wav earlier.musicxml)
  file(WRITE ${WORK}/full/${name} "${earlier}")
endforeach()
# Fill what is left; dd stops at the first write that finds no room.
execute_process(COMMAND dd if=/dev/zero of=${WORK}/full/filler bs=1024
                OUTPUT_QUIET ERROR_QUIET)

set(failures "")
function(fails out)
  execute_process(COMMAND ${STRUMBO} ${ARGN} full/${out} WORKING_DIRECTORY ${WORK}
                  RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_QUIET TIMEOUT 120)
  string(REGEX MATCHALL "(^|\n)strumbo: " lines "${err}")
  list(LENGTH lines count)
  set(kept TRUE)
  if(out MATCHES "^earlier")
    file(READ ${WORK}/full/${out} now)
    if(NOT now STREQUAL "${earlier}")
      set(kept FALSE)
    endif()
  elseif(EXISTS ${WORK}/full/${out})
    set(kept FALSE)
  endif()
  if(rc EQUAL 0 OR NOT count EQUAL 1 OR NOT err MATCHES "Could not write" OR NOT kept)
    set(failures "${failures}\n  ${ARGN} full/${out}: status ${rc}, ${count} lines, file kept ${kept}: ${err}"
        PARENT_SCOPE)
  endif()
endfunction()

fails(earlier.pdf --export-pdf song.ppf)
fails(new.pdf --export-pdf chord.cpf)
fails(earlier.mid --export-midi song.ppf)
fails(new.mid --export-midi song.ppf)
fails(earlier.wav --export-audio song.ppf)
fails(new.wav --export-audio song.ppf)
fails(earlier.musicxml --export-musicxml song.ppf)
fails(new.musicxml --export-musicxml song.ppf)
fails(new.cho --export-chordpro song.ppf)

file(GLOB left RELATIVE ${WORK}/full ${WORK}/full/*)
list(SORT left)
if(NOT left STREQUAL "earlier.mid;earlier.musicxml;earlier.pdf;earlier.wav;filler")
  string(APPEND failures "\n  files left on the full disk: ${left}")
endif()
execute_process(COMMAND umount ${WORK}/full)

if(failures)
  message(FATAL_ERROR "exports onto a full disk:${failures}")
endif()
file(REMOVE_RECURSE ${WORK})
